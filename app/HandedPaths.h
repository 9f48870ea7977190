#pragma once

#include <string>
#include <vector>

// Paths handed to the program from outside its window: on its command line (Explorer's verb, the
// Send To shortcut, a script) or by a later start of the program. They are untrusted input: they
// only ever become Waiting rows, and only paths that are whole and exist do.

// What a start of the program was given. Usually paths of files and folders; after the switch
// /freespace (first, in any case) drives whose free space is to be wiped, each word as written:
// "D:\", or D:" as Explorer's "%1" arrives (the rest of the line reads the backslash before the
// closing quote as escaping it). The switch /recyclebin (first, in any case) asks for this
// user's Recycle Bin; the words after it are left out.
struct HandedItems {
    bool freeSpace = false;
    std::vector<std::wstring> words;
    bool recycleBin = false;
};
inline constexpr const wchar_t* kFreeSpaceSwitch = L"/freespace";
inline constexpr const wchar_t* kRecycleBinSwitch = L"/recyclebin";

// The words of the arguments after the program's name: paths made whole as handedPaths makes
// them, or the drive words after the switch, which are left as written.
[[nodiscard]] HandedItems handedItems(const wchar_t* arguments);

// The arguments after the program's name, split as Windows splits a command line
// (CommandLineToArgvW), each relative one made whole against this process's current folder.
// An empty argument ("") is kept empty, and one of blanks (spaces, tabs) only is kept as it is:
// made whole, it would name the current folder.
[[nodiscard]] std::vector<std::wstring> handedPaths(const wchar_t* arguments);

// The path made whole as the erase (and kww) reads it: against the current folder, with "." and
// ".." resolved, and every name kept as typed (GetFullPathNameW would strip a trailing dot or
// blank, and "x." would name "x"). A path that cannot be made whole comes back unchanged.
[[nodiscard]] std::wstring wholePath(const std::wstring& path);

// Whether the path names its drive or share itself (C:\x, \\server\share\x, \\?\C:\x). Every
// other form (x, .\x, \x, C:x) depends on a current folder, which differs between processes.
[[nodiscard]] bool isWholePath(const std::wstring& path) noexcept;
