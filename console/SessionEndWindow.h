#pragma once

#include "foundation/UniqueHandle.h"

#include <windows.h>

// A hidden top-level window on a thread of its own, through which kww hears that the session
// ends. Windows sends CTRL_LOGOFF_EVENT and CTRL_SHUTDOWN_EVENT only to console programs that
// never loaded user32.dll or gdi32.dll (Microsoft's SetConsoleCtrlHandler page); kww loads them,
// so a logoff or a shutdown reaches it only as WM_QUERYENDSESSION and WM_ENDSESSION, which go to
// top-level windows (a message-only window gets none). Windows ends the process once
// WM_ENDSESSION has been answered: `ending` is called before that, on the window's thread, and
// may keep the process for as long as Windows allows. Without a window (none could be made) the
// program runs on as before.
class SessionEndWindow {
public:
    using Ending = void (*)() noexcept;

    explicit SessionEndWindow(Ending ending);
    // Closes the window and waits for its thread.
    ~SessionEndWindow();
    SessionEndWindow(const SessionEndWindow&) = delete;
    SessionEndWindow& operator=(const SessionEndWindow&) = delete;

private:
    static DWORD WINAPI threadMain(LPVOID parameter) noexcept;
    static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept;
    void pumpMessages() noexcept;

    Ending ending_;
    Kestrel::UniqueHandle ready_; // set once the thread has its window, or knows it has none
    DWORD threadId_ = 0;
    Kestrel::UniqueHandle thread_;
};
