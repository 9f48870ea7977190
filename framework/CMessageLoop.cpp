#include "framework/CMessageLoop.h"

#include "framework/HandlerFailure.h"

#include <algorithm>

namespace Kestrel {

namespace {

constexpr UINT kSystemTimerMessage = 0x118;

template <typename Object>
void removeFirst(std::vector<Object*>& objects, Object* object, bool walking) noexcept
{
    const auto found = std::find(objects.begin(), objects.end(), object);
    if (found == objects.end())
        return;
    if (walking)
        *found = nullptr;
    else
        objects.erase(found);
}

// Counts a walk over the registered objects for as long as it runs.
class WalkScope {
public:
    explicit WalkScope(int& walks) noexcept : walks_(walks) { ++walks_; }
    ~WalkScope() { --walks_; }
    WalkScope(const WalkScope&) = delete;
    WalkScope& operator=(const WalkScope&) = delete;

private:
    int& walks_;
};

} // namespace

void CMessageLoop::addMessageFilter(CMessageFilter* filter)
{
    filters_.push_back(filter);
}

void CMessageLoop::removeMessageFilter(CMessageFilter* filter) noexcept
{
    removeFirst(filters_, filter, walks_ > 0);
}

void CMessageLoop::addIdleHandler(CIdleHandler* handler)
{
    idleHandlers_.push_back(handler);
}

void CMessageLoop::removeIdleHandler(CIdleHandler* handler) noexcept
{
    removeFirst(idleHandlers_, handler, walks_ > 0);
}

int CMessageLoop::run()
{
    bool idle = true;
    for (;;) {
        while (idle && !PeekMessageW(&message_, nullptr, 0, 0, PM_NOREMOVE)) {
            runIdleHandlers();
            idle = false;
        }

        const BOOL got = GetMessageW(&message_, nullptr, 0, 0);
        if (got == -1)
            continue;
        if (!got)
            break;

        if (!preTranslateMessage(message_)) {
            TranslateMessage(&message_);
            DispatchMessageW(&message_);
        }
        rethrowHandlerFailure();

        if (rearmsIdleWork(message_))
            idle = true;
    }
    return static_cast<int>(message_.wParam);
}

// Both walks see the objects registered when they began, in that order: one added meanwhile waits
// for the next walk, one that left is skipped.
bool CMessageLoop::preTranslateMessage(MSG& message)
{
    bool consumed = false;
    {
        const WalkScope walk(walks_);
        for (std::size_t index = filters_.size(); index > 0 && !consumed; --index) {
            CMessageFilter* filter = filters_[index - 1];
            consumed = filter != nullptr && filter->preTranslateMessage(message);
        }
    }
    compact();
    return consumed;
}

void CMessageLoop::runIdleHandlers()
{
    {
        const WalkScope walk(walks_);
        const std::size_t count = idleHandlers_.size();
        for (std::size_t index = 0; index < count; ++index) {
            if (CIdleHandler* handler = idleHandlers_[index])
                static_cast<void>(handler->onIdle());
        }
    }
    compact();
}

void CMessageLoop::compact() noexcept
{
    if (walks_ > 0)
        return;
    std::erase(filters_, nullptr);
    std::erase(idleHandlers_, nullptr);
}

bool CMessageLoop::rearmsIdleWork(const MSG& message) noexcept
{
    switch (message.message) {
    case WM_MOUSEMOVE:
    case WM_NCMOUSEMOVE:
    case WM_PAINT:
    case kSystemTimerMessage:
        return false;
    default:
        return true;
    }
}

} // namespace Kestrel
