#pragma once

#include "console/ChosenItem.h"

#include <cstdint>
#include <string>
#include <vector>

// What a chosen item holds, read without changing anything: a file's size; a folder's files and
// bytes, counted without entering links (the erase never follows one either); a drive's free
// bytes. And the warnings the user should read before saying yes.
struct ItemSurvey {
    std::uint64_t files = 0;
    std::uint64_t bytes = 0;
    std::uint64_t linksInside = 0; // links inside a folder: never followed, they stay
    bool unreadable = false;       // a folder inside could not be listed: the counts are short
    std::vector<std::wstring> warnings;
};

[[nodiscard]] ItemSurvey surveyItem(const ChosenItem& item);

// The lines that show the items ("File: C:\\x.txt (12 bytes)", "  Warning: ..."), one block per
// item in the given order, and for erase a last line with the totals.
[[nodiscard]] std::vector<std::wstring> describeItems(const std::vector<ChosenItem>& items);
