#pragma once

#include "erase/EraseTask.h"

#include <windows.h>

#include <functional>
#include <string>

// What a test sees of one task run to its end.
struct TaskOutcome {
    bool finished = false;                     // the finished message arrived within the bound
    EraseStatus status = EraseStatus::Waiting; // the record's status when it arrived
    WPARAM messageStatus = 0;                  // the status the message carried
    double progress = 0.0;
    ReadBackExtent readBack = ReadBackExtent::None;
    DWORD failureCode = ERROR_SUCCESS; // the code of the failure the task carries
};

// Runs one task the way the main dialog does: a heap record In Progress owned by a window of this
// thread, started, then the finished message awaited (with a bound) before the record is
// destroyed. whileRunning runs on this thread right after the start, for stop requests.
TaskOutcome runTask(const std::wstring& path, ItemKind kind = ItemKind::File,
                    const std::function<void(EraseTask&)>& whileRunning = {});

// The same with the stop requested before the worker has taken a single step: the worker is held
// at its thread's start (every new thread takes the loader lock for its attach notifications, and
// this thread holds it) until the request is made.
TaskOutcome runTaskStoppedAtItsStart(const std::wstring& path);

// The bound on one task's run in these tests; a task that takes longer is stopped and failed.
inline constexpr DWORD kTaskBoundMilliseconds = 120000;
