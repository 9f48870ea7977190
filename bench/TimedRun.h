#pragma once

#include "erase/EraseTask.h"

#include <functional>
#include <optional>
#include <string>

// One task run through the task runner, as the window runs a row, and timed. Meanwhile the
// thread wakes every few milliseconds and hands the running task and the seconds since its start
// to a watcher, which may note when something happened (the last write, a fill file appearing).
struct TimedRun {
    EraseStatus status = EraseStatus::Failed;
    // From just before the task's start to the arrival of its finished message.
    double seconds = 0;
    // This process's processor time meanwhile, every thread, kernel and user: what the erase
    // cost besides waiting for the disk.
    double cpuSeconds = 0;
};

// The performance counter now, and the seconds a span of its ticks lasts.
[[nodiscard]] LONGLONG counterNow() noexcept;
[[nodiscard]] double secondsOf(LONGLONG ticks) noexcept;

using TaskWatcher = std::function<void(const EraseTask& task, double seconds)>;

// Nothing when the worker could not be started or waited for.
[[nodiscard]] std::optional<TimedRun> runTimed(ItemKind kind, const std::wstring& path, const TaskWatcher& watcher,
                                               VerifyMode verify = VerifyMode::Sample);
