#include "tests/app/DialogDriver.h"

namespace KestrelTest {

namespace {

struct Search {
    const std::wstring* caption;
    const std::wstring* windowClass;
    HWND found = nullptr;
};

BOOL CALLBACK matchDialog(HWND window, LPARAM data)
{
    auto& search = *reinterpret_cast<Search*>(data);
    wchar_t className[64]{};
    GetClassNameW(window, className, 64);
    // Read without a message: GetWindowTextW would send one to the window's thread and wait
    // for it, for ever once that thread waits for this one.
    wchar_t caption[256]{};
    InternalGetWindowText(window, caption, 256);
    if (IsWindowVisible(window) && *search.windowClass == className && *search.caption == caption) {
        search.found = window;
        return FALSE;
    }
    return TRUE;
}

constexpr DWORD kPollMilliseconds = 10;

} // namespace

DialogDriver::DialogDriver(std::wstring caption, std::function<void(HWND)> action, DWORD boundMilliseconds,
                           std::wstring windowClass)
    : threadId_(GetCurrentThreadId()), caption_(std::move(caption)), windowClass_(std::move(windowClass)),
      action_(std::move(action)),
      stop_(CreateEventW(nullptr, TRUE, FALSE, nullptr)), thread_([this, boundMilliseconds] { drive(boundMilliseconds); })
{
}

DialogDriver::~DialogDriver()
{
    SetEvent(stop_);
    if (thread_.joinable())
        thread_.join();
    CloseHandle(stop_);
}

bool DialogDriver::finish()
{
    if (thread_.joinable())
        thread_.join();
    return acted_;
}

// Another thread's windows announce nothing to this one: look for the dialog again at each tick
// until it shows, the bound passes or the test stops waiting.
void DialogDriver::drive(DWORD boundMilliseconds)
{
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < boundMilliseconds) {
        Search search{&caption_, &windowClass_};
        EnumThreadWindows(threadId_, matchDialog, reinterpret_cast<LPARAM>(&search));
        if (search.found) {
            action_(search.found);
            acted_ = true;
            return;
        }
        if (WaitForSingleObject(stop_, kPollMilliseconds) == WAIT_OBJECT_0)
            return;
    }
}

std::wstring messageBoxText(HWND box)
{
    wchar_t text[512]{};
    GetDlgItemTextW(box, 0xFFFF, text, 512);
    return text;
}

void pressButton(HWND dialog, int id)
{
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

} // namespace KestrelTest
