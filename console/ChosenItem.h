#pragma once

#include "erase/EraseTask.h"

#include <windows.h>

#include <string>
#include <vector>

// One item a command would destroy, found on the disk before anything is asked or changed; or an
// argument that names nothing, with the reason.
struct ChosenItem {
    ItemKind kind = ItemKind::File;
    // The whole path as the user knows it ("C:\\data\\x.txt", "D:\\" for a drive's free space,
    // "Recycle Bin" for the bin); for an argument that names nothing, the argument made whole as
    // far as it could be.
    std::wstring path;
    DWORD attributes = 0;  // of its directory entry
    std::wstring problem;  // why the argument names nothing ("File not found: C:\\x"); empty when found

    [[nodiscard]] bool found() const noexcept { return problem.empty(); }
};

// The items the paths of erase name, in the order given. A relative path is made whole against
// the current folder; `*` and `?` in the last component match the names in that folder (every
// name, hidden ones too, in name order), never in deeper folders, each long name as nameMatches
// reads the pattern. An item named twice is taken once. Nothing is opened for writing and
// nothing is logged.
[[nodiscard]] std::vector<ChosenItem> chooseItems(const std::vector<std::wstring>& arguments);

// The free space of the drive whose root ("D:\\") is given; the wipe's own refusal as the problem
// when its free space cannot be wiped (no drive there, one of another type, a subst letter).
[[nodiscard]] ChosenItem chooseFreeSpace(const std::wstring& root);

// This user's Recycle Bin on every fixed drive, found anew by the erase when it runs.
[[nodiscard]] ChosenItem chooseRecycleBin();
