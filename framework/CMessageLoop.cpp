#include "framework/CMessageLoop.h"

#include "framework/HandlerFailure.h"

#include <algorithm>

namespace Kestrel {

namespace {

constexpr UINT kSystemTimerMessage = 0x118;

template <typename Object>
void removeFirst(std::vector<Object*>& objects, Object* object) noexcept
{
    const auto found = std::find(objects.begin(), objects.end(), object);
    if (found != objects.end())
        objects.erase(found);
}

template <typename Object>
bool isRegistered(const std::vector<Object*>& objects, Object* object) noexcept
{
    return std::find(objects.begin(), objects.end(), object) != objects.end();
}

} // namespace

void CMessageLoop::addMessageFilter(CMessageFilter* filter)
{
    filters_.push_back(filter);
}

void CMessageLoop::removeMessageFilter(CMessageFilter* filter) noexcept
{
    removeFirst(filters_, filter);
}

void CMessageLoop::addIdleHandler(CIdleHandler* handler)
{
    idleHandlers_.push_back(handler);
}

void CMessageLoop::removeIdleHandler(CIdleHandler* handler) noexcept
{
    removeFirst(idleHandlers_, handler);
}

int CMessageLoop::run()
{
    bool idle = true;
    int idleCount = 0;
    for (;;) {
        while (idle && !PeekMessageW(&message_, nullptr, 0, 0, PM_NOREMOVE)) {
            runIdleHandlers();
            ++idleCount;
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

        if (isIdleMessage(message_)) {
            idle = true;
            idleCount = 0;
        }
    }
    return static_cast<int>(message_.wParam);
}

// Both walks run over a copy and skip objects that left in the meantime: a filter that destroys
// its window unregisters itself (and perhaps others) in the middle of the walk.
bool CMessageLoop::preTranslateMessage(MSG& message)
{
    const std::vector<CMessageFilter*> filters = filters_;
    for (auto it = filters.rbegin(); it != filters.rend(); ++it) {
        if (isRegistered(filters_, *it) && (*it)->preTranslateMessage(message))
            return true;
    }
    return false;
}

void CMessageLoop::runIdleHandlers()
{
    const std::vector<CIdleHandler*> handlers = idleHandlers_;
    for (CIdleHandler* handler : handlers) {
        if (isRegistered(idleHandlers_, handler))
            static_cast<void>(handler->onIdle());
    }
}

bool CMessageLoop::isIdleMessage(const MSG& message) noexcept
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
