#include "console/SessionEndWindow.h"

#include "framework/UserObject.h"

namespace {

constexpr const wchar_t* kClassName = L"KestrelWipewellSessionEnd";

} // namespace

SessionEndWindow::SessionEndWindow(Ending ending)
    : ending_(ending), ready_(CreateEventW(nullptr, TRUE, FALSE, nullptr))
{
    if (!ready_)
        return;
    thread_.reset(CreateThread(nullptr, 0, threadMain, this, 0, &threadId_));
    if (!thread_)
        return;
    // Until the window exists a logoff would pass kww by; and the end of this object posts to
    // the thread's queue, which must exist by then.
    const HANDLE started[] = {ready_.get(), thread_.get()};
    WaitForMultipleObjects(2, started, FALSE, INFINITE);
}

SessionEndWindow::~SessionEndWindow()
{
    if (!thread_)
        return;
    PostThreadMessageW(threadId_, WM_QUIT, 0, 0);
    WaitForSingleObject(thread_.get(), INFINITE);
}

DWORD WINAPI SessionEndWindow::threadMain(LPVOID parameter) noexcept
{
    static_cast<SessionEndWindow*>(parameter)->pumpMessages();
    return 0;
}

void SessionEndWindow::pumpMessages() noexcept
{
    // Registered once for the process, by the first thread that gets here.
    static const ATOM windowClass = [] {
        WNDCLASSEXW description{};
        description.cbSize = sizeof description;
        description.lpfnWndProc = procedure;
        description.hInstance = GetModuleHandleW(nullptr);
        description.lpszClassName = kClassName;
        return RegisterClassExW(&description);
    }();
    // The queue exists from here on, for the WM_QUIT of the destructor.
    MSG message;
    PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE);
    const Kestrel::OwnedWindow window(windowClass == 0 ? nullptr
                                              : CreateWindowExW(0, kClassName, L"kww", WS_POPUP, 0, 0, 0, 0, nullptr,
                                                                nullptr, GetModuleHandleW(nullptr), this));
    SetEvent(ready_.get());
    while (GetMessageW(&message, nullptr, 0, 0) > 0)
        DispatchMessageW(&message);
}

LRESULT CALLBACK SessionEndWindow::procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept
{
    if (message == WM_NCCREATE) {
        const auto& creation = *reinterpret_cast<const CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(creation.lpCreateParams));
    } else if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    } else if (message == WM_ENDSESSION && wParam != FALSE) {
        if (const auto* self = reinterpret_cast<const SessionEndWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA)))
            self->ending_();
        return 0;
    }
    // WM_QUERYENDSESSION is answered yes: the stop comes once the session really ends.
    return DefWindowProcW(window, message, wParam, lParam);
}
