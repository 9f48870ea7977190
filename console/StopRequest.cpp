#include "console/StopRequest.h"

#include "console/ExitCode.h"
#include "foundation/NeverDestroyed.h"
#include "foundation/UniqueHandle.h"

#include <atomic>

namespace {

// What the handlers share with the run. It lives as long as the process: a handler may still
// wait on it while the main thread leaves the run.
struct StopSignals {
    std::atomic<bool> requested{false};
    Kestrel::UniqueHandle stop{CreateEventW(nullptr, TRUE, FALSE, nullptr)};
    Kestrel::UniqueHandle runEnded{CreateEventW(nullptr, TRUE, FALSE, nullptr)};
};

StopSignals& signals()
{
    static Kestrel::NeverDestroyed<StopSignals> shared;
    return shared.get();
}

// Windows' allowance when the handler or window procedure does not return, 5 s for each event
// unless the system's setting was changed (Microsoft's HandlerRoutine page).
constexpr UINT kUsualAllowance = 5000; // milliseconds

void requestStop() noexcept
{
    signals().requested.store(true);
    SetEvent(signals().stop.get());
}

// The item stops within one chunk and its Aborted line follows at once, far inside the allowance;
// the tenth kept back is for the process's end, which must come before Windows' own.
[[noreturn]] void stopBeforeTheEnd(UINT allowanceSetting) noexcept
{
    requestStop();
    UINT allowance = 0;
    if (!SystemParametersInfoW(allowanceSetting, 0, &allowance, 0) || allowance == 0)
        allowance = kUsualAllowance;
    WaitForSingleObject(signals().runEnded.get(), allowance - allowance / 10);
    ExitProcess(static_cast<UINT>(ExitCode::Stopped));
}

void onSessionEnd() noexcept
{
    stopBeforeTheEnd(SPI_GETWAITTOKILLTIMEOUT);
}

BOOL WINAPI onControl(DWORD event) noexcept
{
    switch (event) {
    case CTRL_C_EVENT:
    case CTRL_BREAK_EVENT:
        requestStop();
        // Handled: the process goes on and ends the running item itself.
        return TRUE;
    case CTRL_CLOSE_EVENT:
        stopBeforeTheEnd(SPI_GETHUNGAPPTIMEOUT);
    case CTRL_LOGOFF_EVENT:
    case CTRL_SHUTDOWN_EVENT:
        stopBeforeTheEnd(SPI_GETWAITTOKILLTIMEOUT);
    }
    return FALSE;
}

} // namespace

StopRequest::StopRequest() : sessionEnd_(onSessionEnd)
{
    signals().requested.store(false);
    ResetEvent(signals().stop.get());
    ResetEvent(signals().runEnded.get());
    installed_ = SetConsoleCtrlHandler(onControl, TRUE) != FALSE;
}

StopRequest::~StopRequest()
{
    // First: a handler may be waiting for it, and Wine runs handlers holding the lock that
    // removing one takes.
    SetEvent(signals().runEnded.get());
    if (installed_)
        SetConsoleCtrlHandler(onControl, FALSE);
}

bool StopRequest::requested() const noexcept
{
    return signals().requested.load();
}

HANDLE StopRequest::event() const noexcept
{
    return signals().stop.get();
}
