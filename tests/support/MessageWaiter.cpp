#include "tests/support/MessageWaiter.h"

#include "tests/support/MessagePump.h"

#include <stdexcept>

namespace KestrelTest {

namespace {

const wchar_t kClassName[] = L"KestrelTestMessageWaiter";

void registerClassOnce(WNDPROC procedure)
{
    WNDCLASSEXW existing{};
    existing.cbSize = sizeof existing;
    if (GetClassInfoExW(GetModuleHandleW(nullptr), kClassName, &existing))
        return;
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = kClassName;
    if (!RegisterClassExW(&windowClass))
        throw std::runtime_error("cannot register the message waiter's window class");
}

} // namespace

MessageWaiter::MessageWaiter(UINT message) : message_(message)
{
    registerClassOnce(&MessageWaiter::windowProcedure);
    window_ = CreateWindowExW(0, kClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, GetModuleHandleW(nullptr),
                              this);
    if (!window_)
        throw std::runtime_error("cannot create the message waiter's window");
}

MessageWaiter::~MessageWaiter()
{
    DestroyWindow(window_);
}

std::optional<WPARAM> MessageWaiter::waitFor(DWORD timeoutMilliseconds)
{
    if (!pumpUntil([this] { return arrivals_ > collected_; }, timeoutMilliseconds))
        return std::nullopt;
    ++collected_;
    return lastWParam_;
}

LRESULT CALLBACK MessageWaiter::windowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        const auto* creation = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(creation->lpCreateParams));
    } else if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    }
    auto* waiter = reinterpret_cast<MessageWaiter*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (waiter && message == waiter->message_) {
        ++waiter->arrivals_;
        waiter->lastWParam_ = wParam;
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

} // namespace KestrelTest
