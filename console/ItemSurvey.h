#pragma once

#include "console/ChosenItem.h"

#include <cstdint>
#include <string>
#include <vector>

// What a chosen item holds, read without changing anything: a file's size; a folder's files and
// bytes and every item its erase takes, from the erase engine's own listing (which never enters
// a link); a drive's free bytes. And the warnings the user should read before saying yes.
struct ItemSurvey {
    std::uint64_t files = 0;       // for the Recycle Bin, its deleted items
    std::uint64_t bytes = 0;
    // The links inside a folder, as the user knows them: never followed, they stay, and so does
    // each folder that holds one.
    std::vector<std::wstring> links;
    bool unreadable = false;       // not everything inside could be listed: the counts are short
    std::vector<std::wstring> warnings;
    // A folder's content, one line per item in the order the erase takes them (deepest first, the
    // folder itself last unless it is a drive's root), and in their places the listing's lines
    // about what it leaves ("Skipped link: C:\\x\\link"), a folder that stays for a link it holds
    // marked so ("Folder: C:\\x (kept: it holds a link)"); the Recycle Bin's deleted items. Empty
    // for a file, a link and free space.
    std::vector<std::wstring> contents;
    // The files the erase takes, by their extended-length paths; empty for free space and the bin.
    std::vector<std::wstring> filePaths;
    // Whether shadow copies hold earlier versions of those files; empty when that is not asked.
    std::wstring earlierVersions;
};

[[nodiscard]] ItemSurvey surveyItem(const ChosenItem& item);

// How much describeItems tells of each item: its own lines, or also a folder's whole content.
enum class ItemDetail { Items, Contents };

// The lines that show the items ("File: C:\\x.txt (12 bytes)", "  Warning: ...", for a folder's
// content "  File: C:\\x\\a.txt", the Recycle Bin's items at either detail), one block per item in
// the given order, and for erase a last line with the totals.
[[nodiscard]] std::vector<std::wstring> describeItems(const std::vector<ChosenItem>& items, ItemDetail detail);
