#pragma once

#include "erase/EraseTask.h"

#include <string>

class FailureReason;
class ProgressLine;
class StopRequest;

// How one item ended, as its result line tells it.
struct ItemOutcome {
    EraseStatus status = EraseStatus::Failed;
    std::wstring reason;  // the first error line written while it ran; may be empty
    std::wstring warning; // the task's warning (what stays elsewhere); may be empty
};

// "Done: C:\x", followed by the reason and the warning, each in brackets, when there are any.
[[nodiscard]] std::wstring resultLine(const std::wstring& path, const ItemOutcome& outcome);

// Runs one item through the erase engine, as the window runs a row: the task's worker is started
// with a message-only window of this thread as its owner, the start, a stop and the outcome are
// logged with the window's lines, and this thread waits for the worker's finished message,
// showing progress meanwhile. A stop request asks the worker to stop after its current chunk; the
// record is released only after the finished message has come, as the worker never outlives it.
class TaskRun {
public:
    TaskRun(StopRequest& stop, ProgressLine& progress, FailureReason& reason) noexcept
        : stop_(stop), progress_(progress), reason_(reason)
    {
    }

    [[nodiscard]] ItemOutcome run(ItemKind kind, const std::wstring& path);

private:
    // Waits for the finished message; false when it could not be waited for.
    bool waitForFinish(EraseTask& task, HWND owner);

    StopRequest& stop_;
    ProgressLine& progress_;
    FailureReason& reason_;
};
