#include "bench/TimedRun.h"

#include "erase/TaskRunner.h"
#include "framework/UserObject.h"

namespace {

// Fine enough to split a run of a second or more into its parts, coarse enough that the waking
// thread takes no noticeable share of a 2-core machine from the worker.
constexpr DWORD kWatchMilliseconds = 5;

double processCpuSeconds()
{
    FILETIME creation{}, exit{}, kernel{}, user{};
    if (!GetProcessTimes(GetCurrentProcess(), &creation, &exit, &kernel, &user))
        return 0;
    const auto value = [](const FILETIME& time) {
        return static_cast<double>((static_cast<ULONGLONG>(time.dwHighDateTime) << 32) | time.dwLowDateTime) / 1e7;
    };
    return value(kernel) + value(user);
}

} // namespace

std::optional<TimedRun> runTimed(ItemKind kind, const std::wstring& path, const TaskWatcher& watcher,
                                 VerifyMode verify)
{
    const Kestrel::OwnedWindow owner(CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                                     GetModuleHandleW(nullptr), nullptr));
    if (!owner)
        return std::nullopt;
    TaskRunner runner;
    const double cpuStarted = processCpuSeconds();
    const LONGLONG started = counterNow();
    EraseTask task(kind, path, EraseStatus::InProgress, 0.0, owner.get());
    task.setVerifyMode(verify);
    const EraseTask* ended = runner.run(task, kWatchMilliseconds, nullptr, [&](const EraseTask& task) {
                                            watcher(task, secondsOf(counterNow() - started));
                                        });
    if (!ended)
        return std::nullopt;
    return TimedRun{ended->status(), secondsOf(counterNow() - started), processCpuSeconds() - cpuStarted};
}

LONGLONG counterNow() noexcept
{
    LARGE_INTEGER counter;
    QueryPerformanceCounter(&counter);
    return counter.QuadPart;
}

double secondsOf(LONGLONG ticks) noexcept
{
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(ticks) / static_cast<double>(frequency.QuadPart);
}
