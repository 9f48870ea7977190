#include "tests/app/ShellDrop.h"

#include <shlobj.h>

#include <algorithm>

namespace KestrelTest {

HGLOBAL shellDrop(const std::vector<std::wstring>& paths)
{
    std::wstring list;
    for (const auto& path : paths)
        list += path + L'\0';
    list += L'\0';
    const HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(DROPFILES) + list.size() * sizeof(wchar_t));
    if (!memory)
        return nullptr;
    auto* header = static_cast<DROPFILES*>(GlobalLock(memory));
    header->pFiles = sizeof(DROPFILES);
    header->fWide = TRUE;
    std::copy(list.begin(), list.end(), reinterpret_cast<wchar_t*>(header + 1));
    GlobalUnlock(memory);
    return memory;
}

} // namespace KestrelTest
