#pragma once

#include <string>
#include <vector>

// The programs that hold a file open, by the names Windows shows for them (the Restart Manager's
// list for the file); none when Windows cannot tell. No administrator rights are needed; a
// holder that runs as another user is listed too.
[[nodiscard]] std::vector<std::wstring> programsHolding(const std::wstring& path);

// Wine's Restart Manager answers every question with success and an empty list, even while
// another process holds the file. A test may answer in its place, by the file's path; what is made
// of the names is the program's own. None is set in the programs.
using FileHoldersHook = std::vector<std::wstring> (*)(const std::wstring& path);
void setFileHoldersHook(FileHoldersHook hook) noexcept;
