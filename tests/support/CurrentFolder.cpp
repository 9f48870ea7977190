#include "tests/support/CurrentFolder.h"

#include <windows.h>

namespace KestrelTest {

CurrentFolder::CurrentFolder(const std::wstring& folder)
{
    const DWORD size = GetCurrentDirectoryW(0, nullptr);
    previous_.resize(size);
    previous_.resize(GetCurrentDirectoryW(size, previous_.data()));
    changed_ = SetCurrentDirectoryW(folder.c_str()) != FALSE;
}

CurrentFolder::~CurrentFolder()
{
    if (changed_)
        SetCurrentDirectoryW(previous_.c_str());
}

} // namespace KestrelTest
