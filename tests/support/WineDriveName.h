#pragma once

#include "foundation/UniqueHandle.h"

#include <windows.h>

#include <string>

namespace KestrelTest {

// Wine reads its drive letters again at most once a second: until then a handle on a volume just
// mapped to a letter is named through the drive that holds the mount folder (C:\...\drive), and
// whatever starts at once sees its items move to the new letter part-way. Waits until the root
// ("M:\") is named by its letter; false when that did not happen within five seconds.
// Header-only, so that the benchmarks share it without the tests' library.
inline bool waitUntilWineNamesTheRoot(const std::wstring& root)
{
    const std::wstring expected = L"\\\\?\\" + root;
    constexpr DWORD kBoundMilliseconds = 5000;
    constexpr DWORD kPollMilliseconds = 20;
    for (DWORD waited = 0; waited < kBoundMilliseconds; waited += kPollMilliseconds) {
        const Kestrel::UniqueFileHandle handle(CreateFileW(root.c_str(), 0,
                                                           FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                                           nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
        wchar_t name[MAX_PATH] = {};
        const DWORD length = handle ? GetFinalPathNameByHandleW(handle.get(), name, MAX_PATH, FILE_NAME_NORMALIZED) : 0;
        if (length > 0 && length < MAX_PATH && expected == name)
            return true;
        Sleep(kPollMilliseconds);
    }
    return false;
}

// Wine also names items through a letter for up to a second after its link went: a folder made
// meanwhile that takes over the inode of the folder the letter led to is named as that drive's
// root, and would seem to have moved. Waits, the handle holding the folder the letter led to,
// until Wine names it otherwise; false when that did not happen within five seconds.
inline bool waitUntilWineForgetsTheRoot(HANDLE folder, const std::wstring& root)
{
    const std::wstring named = L"\\\\?\\" + root;
    constexpr DWORD kBoundMilliseconds = 5000;
    constexpr DWORD kPollMilliseconds = 20;
    for (DWORD waited = 0; waited < kBoundMilliseconds; waited += kPollMilliseconds) {
        wchar_t name[MAX_PATH] = {};
        const DWORD length = GetFinalPathNameByHandleW(folder, name, MAX_PATH, FILE_NAME_NORMALIZED);
        if (length == 0 || length >= MAX_PATH || std::wstring(name, length).compare(0, named.size(), named) != 0)
            return true;
        Sleep(kPollMilliseconds);
    }
    return false;
}

} // namespace KestrelTest
