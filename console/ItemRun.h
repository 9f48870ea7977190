#pragma once

#include "erase/EraseTask.h"

#include <optional>
#include <string>

class ProgressLine;
class StopRequest;

// How one item ended, as its result line tells it.
struct ItemOutcome {
    EraseStatus status = EraseStatus::Failed;
    std::wstring reason;  // why it failed, as the log said it; may be empty
    std::wstring warning; // the task's warning (what stays elsewhere); may be empty
    std::optional<DWORD> errorCode;                 // the code of the failure it carries, if any
    ReadBackExtent readBack = ReadBackExtent::None; // how much of what it wrote was read back
};

// "Done: C:\x", followed by the reason and the warning, each in brackets, when there are any;
// the reason without a second copy of the path.
[[nodiscard]] std::wstring resultLine(const std::wstring& path, const ItemOutcome& outcome);

// Runs one item through the task runner, as the window runs a row, its owner a message-only
// window of this thread, showing progress meanwhile. A stop request asks the worker to stop after
// its current chunk; the outcome then says what stays of a file or folder. A folder kept only for
// the links it holds is said to be so. What it overwrites is read back as `verify` says.
[[nodiscard]] ItemOutcome runItem(ItemKind kind, const std::wstring& path, StopRequest& stop, ProgressLine& progress,
                                  VerifyMode verify = VerifyMode::Sample);
