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
    bool isRoot = false;

    [[nodiscard]] bool isFolder() const noexcept { return (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0; }
    [[nodiscard]] std::wstring name() const { return path.substr(folder.size() + (folder.back() == L'\\' ? 0 : 1)); }
};

// Looks the task's path up in its folder's listing; nothing (the file layer's line logged) when
// it is not there. Throws Kestrel::Exception "Parse failed" for a malformed path.
[[nodiscard]] std::optional<TaskItem> locateTaskItem(const std::wstring& path);
