#pragma once

#include <windows.h>

#include <optional>
#include <string>

// The item a task names, found on the disk: its extended-length path with the name the file
// system holds, the folder that holds it, and what its directory entry says.
struct TaskItem {
    std::wstring path;
    std::wstring folder;   // empty for a drive or share root
    DWORD attributes = 0;  // from the directory entry, as for every listed item
    DWORD reparseTag = 0;  // the entry's, for a reparse point
    bool isRoot = false;

    [[nodiscard]] bool isFolder() const noexcept { return (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0; }
    [[nodiscard]] std::wstring name() const { return path.substr(folder.size() + (folder.back() == L'\\' ? 0 : 1)); }
};

// The item at an extended-length path as its folder's listing holds it, or the Win32 error that
// says why there is none. A name with wildcards is refused (ERROR_INVALID_NAME): the search would
// find other items. A root, which no listing holds, is only asked whether it is there. Nothing is
// logged.
struct TaskItemLookup {
    std::optional<TaskItem> item;
    DWORD error = ERROR_SUCCESS;
};
[[nodiscard]] TaskItemLookup lookUpTaskItem(const std::wstring& extended);
// The attributes of the item at an extended-length path as its own directory entry gives them (a
// link's, never its target's), read with one attribute query; nothing when no item is there. For
// a caller that only needs to know whether an item is there and whether it is a folder, at the
// pace of a drop: under Wine the listing's search handle costs three calls to its server, 0.1 ms
// or more a path, the query none. The path reads as lookUpTaskItem reads it, at any length, with
// trailing dots and blanks; the names that lookUpTaskItem refuses name nothing here either, nor
// does a name with a ':' (on NTFS a named stream of a file, which no listing holds). A root is
// a folder.
[[nodiscard]] std::optional<DWORD> taskItemAttributes(const std::wstring& extended);
// The reparse tag of the item's entry in that listing; 0 when it has none or is not found.
[[nodiscard]] DWORD reparseTagAt(const std::wstring& extended);

// Looks the task's path up in its folder's listing; nothing (the file layer's line logged) when
// it is not there. Throws Kestrel::Exception "Parse failed" for a malformed path.
[[nodiscard]] std::optional<TaskItem> locateTaskItem(const std::wstring& path);
