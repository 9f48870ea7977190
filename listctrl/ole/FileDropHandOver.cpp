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

// The strings one after the other up to the empty one, from a block that holds it (endsInsideBlock).
template <typename Text>
std::vector<Text> stringsBefore(const unsigned char* names, std::size_t bytes)
{
    Text all(bytes / sizeof(typename Text::value_type), 0);
    std::memcpy(all.data(), names, all.size() * sizeof(typename Text::value_type));
    std::vector<Text> strings;
    for (std::size_t start = 0; start < all.size() && all[start] != 0;) {
        const std::size_t end = all.find(typename Text::value_type{0}, start);
        if (end == Text::npos)
            break;
        strings.push_back(all.substr(start, end - start));
        start = end + 1;
    }
    return strings;
}

std::wstring fromCodePage(const std::string& name)
{
    const int length = MultiByteToWideChar(CP_ACP, 0, name.data(), static_cast<int>(name.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    wide.resize(static_cast<std::size_t>(
        MultiByteToWideChar(CP_ACP, 0, name.data(), static_cast<int>(name.size()), wide.data(), length)));
    return wide;
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

std::vector<std::wstring> fileDropPaths(HGLOBAL block)
{
    if (!isWellFormedFileDrop(block))
        return {};
    const GlobalLockScope view(block);
    if (!view)
        return {};
    DROPFILES header;
    std::memcpy(&header, view.data(), sizeof header);
    const auto* names = static_cast<const unsigned char*>(view.data()) + header.pFiles;
    const std::size_t bytes = view.size() - header.pFiles;
    if (header.fWide)
        return stringsBefore<std::wstring>(names, bytes);
    std::vector<std::wstring> paths;
    for (const std::string& name : stringsBefore<std::string>(names, bytes))
        paths.push_back(fromCodePage(name));
    return paths;
}

} // namespace Kestrel
