#include "app/SingleInstance.h"

#include "foundation/Logger.h"

#include <cwchar>

namespace {

// Joins the calling thread's input to another thread's for one scope: the system lets a thread
// that shares the foreground thread's input set the foreground window.
class InputAttachment {
public:
    InputAttachment(DWORD thread, DWORD target) noexcept
        : thread_(thread), target_(target), attached_(AttachThreadInput(thread, target, TRUE) != FALSE)
    {
    }
    ~InputAttachment()
    {
        if (attached_)
            AttachThreadInput(thread_, target_, FALSE);
    }
    InputAttachment(const InputAttachment&) = delete;
    InputAttachment& operator=(const InputAttachment&) = delete;

private:
    DWORD thread_;
    DWORD target_;
    bool attached_;
};

struct MainWindowSearch {
    const std::wstring* caption;
    HWND found = nullptr;
};

BOOL CALLBACK matchMainWindow(HWND window, LPARAM data)
{
    auto& search = *reinterpret_cast<MainWindowSearch*>(data);
    wchar_t className[8]{};
    if (GetWindow(window, GW_OWNER) || !GetClassNameW(window, className, 8) || std::wcscmp(className, L"#32770") != 0)
        return TRUE;
    const int length = GetWindowTextLengthW(window);
    std::wstring caption(static_cast<std::size_t>(length) + 1, L'\0');
    caption.resize(static_cast<std::size_t>(GetWindowTextW(window, caption.data(), length + 1)));
    if (caption != *search.caption)
        return TRUE;
    search.found = window;
    return FALSE;
}

} // namespace

bool SingleInstance::isAnotherRunning()
{
    if (name_.empty() || mutex_)
        return false;
    Kestrel::UniqueHandle mutex(CreateMutexW(nullptr, TRUE, name_.c_str()));
    const DWORD error = GetLastError();
    if (mutex && error != ERROR_ALREADY_EXISTS) {
        mutex_ = std::move(mutex);
        return false;
    }
    Kestrel::Logger::instance().log(Kestrel::LogLevel::Error, L"I am running.");
    return true;
}

HWND SingleInstance::findMainWindow(const std::wstring& caption)
{
    MainWindowSearch search{&caption};
    EnumWindows(matchMainWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

bool SingleInstance::bringToFront(HWND window) noexcept
{
    if (!IsWindow(window))
        return false;
    if (IsIconic(window))
        ShowWindow(window, SW_RESTORE);
    // A window hidden while closing (its worker never reported) would otherwise keep the first
    // instance alive unseen, and every later start would end without showing anything.
    if (!IsWindowVisible(window))
        ShowWindow(window, SW_SHOW);
    const DWORD foregroundThread = GetWindowThreadProcessId(GetForegroundWindow(), nullptr);
    const InputAttachment attachment(GetCurrentThreadId(), foregroundThread);
    // A window with a box open in front of it is disabled: the box comes forward, as the taskbar
    // brings it.
    SetForegroundWindow(GetLastActivePopup(window));
    return true;
}
