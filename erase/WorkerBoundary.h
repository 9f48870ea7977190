#pragma once

#include "erase/EraseTask.h"

#include <windows.h>

// How a worker routine ended: the task's final status and the thread's exit code.
struct WorkerOutcome {
    EraseStatus status;
    DWORD exitCode;
};

// The exit code of a worker that stopped before it changed anything (open or listing failed).
inline constexpr DWORD kEarlyFailureExitCode = static_cast<DWORD>(-1);

// The body of a worker thread procedure: runs the routine on the task and then the task's last
// steps. Nothing may leave a thread procedure, so a routine that throws (out of memory, a path
// that does not parse) ends the task Failed. A Failed task carries the first failure the routine
// reported.
template <typename Routine>
DWORD runWorker(LPVOID parameter, Routine routine) noexcept
{
    EraseTask& task = *static_cast<EraseTask*>(parameter);
    WorkerOutcome outcome{EraseStatus::Failed, kEarlyFailureExitCode};
    const Kestrel::FailureCollector failures;
    try {
        outcome = routine(task);
    } catch (...) {
        // Nothing logged here: the owner writes the line of every task that ended Failed.
    }
    try {
        task.setFailure(outcome.status == EraseStatus::Failed ? failures.first() : std::nullopt);
    } catch (...) {
        // Without the memory for its reason the task fails without one.
    }
    task.finish(outcome.status);
    return outcome.exitCode;
}
