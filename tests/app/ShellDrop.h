#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace KestrelTest {

// A drop as the shell makes it: DROPFILES, then the wide paths, each ended by a NUL, and a final
// NUL, in one movable global block. The window that receives WM_DROPFILES frees it.
[[nodiscard]] HGLOBAL shellDrop(const std::vector<std::wstring>& paths);

} // namespace KestrelTest
