#include "listctrl/ole/FileDropHandOver.h"

#include "listctrl/ole/GlobalMemory.h"

#include <shlobj.h>

#include <cstring>

namespace Kestrel {

namespace {

// The names are strings one after the other, the last one followed by an empty one.
template <typename Char>
bool endsInsideBlock(const unsigned char* names, std::size_t bytes) noexcept
{
    const std::size_t count = bytes / sizeof(Char);
    Char previous = 1;
    for (std::size_t i = 0; i < count; ++i) {
        Char current;
        std::memcpy(&current, names + i * sizeof(Char), sizeof(Char));
        if (current == 0 && previous == 0)
            return true;
        previous = current;
    }
    return false;
}

HWND acceptingParent(HWND list) noexcept
{
    const HWND parent = GetParent(list);
    if (!parent || !(GetWindowLongPtrW(parent, GWL_EXSTYLE) & WS_EX_ACCEPTFILES))
        return nullptr;
    return parent;
}

} // namespace

DWORD fileDropEffects(HWND list, const STGMEDIUM& medium) noexcept
{
    if (medium.tymed != TYMED_HGLOBAL || !acceptingParent(list) || !isWellFormedFileDrop(medium.hGlobal))
        return DROPEFFECT_NONE;
    return DROPEFFECT_COPY | DROPEFFECT_LINK;
}

bool handFileDropToParent(HWND list, const STGMEDIUM& medium) noexcept
{
    if (fileDropEffects(list, medium) == DROPEFFECT_NONE)
        return false;
    GlobalMemory copy = duplicateGlobalMemory(medium.hGlobal);
    if (!copy)
        return false;
    SendMessageW(acceptingParent(list), WM_DROPFILES, reinterpret_cast<WPARAM>(copy.release()), 0);
    return true;
}

bool isWellFormedFileDrop(HGLOBAL block) noexcept
{
    const GlobalLockScope view(block);
    if (!view || view.size() < sizeof(DROPFILES))
        return false;
    DROPFILES header;
    std::memcpy(&header, view.data(), sizeof header);
    if (header.pFiles < sizeof(DROPFILES) || header.pFiles >= view.size())
        return false;
    const auto* names = static_cast<const unsigned char*>(view.data()) + header.pFiles;
    const std::size_t bytes = view.size() - header.pFiles;
    return header.fWide ? endsInsideBlock<wchar_t>(names, bytes) : endsInsideBlock<char>(names, bytes);
}

} // namespace Kestrel
