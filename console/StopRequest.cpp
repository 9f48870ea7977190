#include "console/StopRequest.h"

#include <atomic>

namespace {

// The handler is a plain function the system calls: it reaches the one request through these.
std::atomic<bool> stopRequested{false};
std::atomic<HANDLE> stopEvent{nullptr};

BOOL WINAPI onControl(DWORD event) noexcept
{
    if (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT)
        return FALSE;
    stopRequested.store(true);
    if (const HANDLE signal = stopEvent.load())
        SetEvent(signal);
    // Handled: the process goes on and ends the running item itself.
    return TRUE;
}

} // namespace

StopRequest::StopRequest() : event_(CreateEventW(nullptr, TRUE, FALSE, nullptr))
{
    stopRequested.store(false);
    stopEvent.store(event_.get());
    installed_ = SetConsoleCtrlHandler(onControl, TRUE) != FALSE;
}

StopRequest::~StopRequest()
{
    if (installed_)
        SetConsoleCtrlHandler(onControl, FALSE);
    stopEvent.store(nullptr);
}

bool StopRequest::requested() const noexcept
{
    return stopRequested.load();
}
