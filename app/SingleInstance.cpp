#include "app/SingleInstance.h"

#include "foundation/Logger.h"
#include "foundation/UniqueHandle.h"

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

} // namespace

bool SingleInstance::isAnotherRunning()
{
    if (name_.empty())
        return false;
    Kestrel::UniqueHandle mutex(CreateMutexW(nullptr, TRUE, name_.c_str()));
    const DWORD error = GetLastError();
    if (mutex && error != ERROR_ALREADY_EXISTS) {
        // Kept open on purpose until the process ends: the open handle marks this instance.
        static_cast<void>(mutex.release());
        return false;
    }
    Kestrel::Logger::instance().log(Kestrel::LogLevel::Error, L"I am running.");
    return true;
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
    SetForegroundWindow(window);
    return true;
}
