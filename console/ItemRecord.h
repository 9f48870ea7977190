#pragma once

#include "console/ChosenItem.h"
#include "console/ItemRun.h"
#include "erase/EraseTask.h"

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// One item's line of the record.
struct ItemRecord {
    ItemKind kind = ItemKind::File;
    std::wstring path;
    std::uint64_t files = 0;
    std::uint64_t bytes = 0;
    // "erased", "erased_with_warnings", "failed", "aborted", "skipped" or, for a preview,
    // "would_erase".
    std::wstring result;
    std::wstring warning;                     // the task's warning: sentences joined by blanks
    std::optional<DWORD> errorCode;           // a failed item's code, when it has one
    std::wstring errorMessage;                // a failed or skipped item's reason
    std::optional<bool> verified;             // null when nothing was read back
    ReadBackExtent readBack = ReadBackExtent::None;
    FILETIME started{};
    FILETIME ended{};
    std::optional<std::vector<std::wstring>> contents; // a folder's content in a preview
};

// An item's record before it runs, or as a preview shows it: what it holds (a folder's content
// too), when it was looked at; an argument that names nothing is skipped, with the reason.
[[nodiscard]] ItemRecord recordOf(const ChosenItem& item);
// The record of an item that ran, from how it ended, in the record's words.
void completeRecord(ItemRecord& record, const ItemOutcome& outcome);

[[nodiscard]] FILETIME timeNow() noexcept;
