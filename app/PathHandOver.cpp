#include "app/PathHandOver.h"

#include <string_view>

std::wstring packHandedPaths(const std::vector<std::wstring>& paths)
{
    std::wstring block;
    for (const std::wstring& path : paths) {
        if (path.empty())
            continue;
        block += path;
        block += L'\0';
    }
    if (!block.empty())
        block += L'\0';
    return block;
}

std::optional<HandedItems> unpackHandedItems(const COPYDATASTRUCT& block)
{
    const bool freeSpace = block.dwData == kFreeSpaceHandOverIdentifier;
    const bool recycleBin = block.dwData == kRecycleBinHandOverIdentifier;
    if ((block.dwData != kPathHandOverIdentifier && !freeSpace && !recycleBin) || !block.lpData ||
        block.cbData % sizeof(wchar_t) != 0)
        return std::nullopt;
    // Only cbData bytes are there to read: the terminators are looked for within them.
    const std::wstring_view units(static_cast<const wchar_t*>(block.lpData), block.cbData / sizeof(wchar_t));
    if (units.size() < 2 || units[units.size() - 1] != L'\0' || units[units.size() - 2] != L'\0')
        return std::nullopt;
    std::vector<std::wstring> paths;
    const std::wstring_view listed = units.substr(0, units.size() - 1);
    for (std::size_t begin = 0; begin < listed.size();) {
        const std::size_t end = listed.find(L'\0', begin);
        const std::size_t length = end - begin;
        if (length == 0 || length > kLongestHandedPath)
            return std::nullopt;
        paths.emplace_back(listed.substr(begin, length));
        begin = end + 1;
    }
    if (recycleBin)
        return HandedItems{false, {}, true};
    return HandedItems{freeSpace, std::move(paths)};
}

HandOver handItemsOver(HWND window, const HandedItems& items, UINT boundMilliseconds)
{
    const std::wstring block =
        packHandedPaths(items.recycleBin ? std::vector<std::wstring>{kRecycleBinSwitch} : items.words);
    if (block.empty())
        return HandOver::NothingToSend;
    COPYDATASTRUCT data{};
    data.dwData = items.recycleBin  ? kRecycleBinHandOverIdentifier
                  : items.freeSpace ? kFreeSpaceHandOverIdentifier
                                    : kPathHandOverIdentifier;
    data.cbData = static_cast<DWORD>(block.size() * sizeof(wchar_t));
    data.lpData = const_cast<wchar_t*>(block.data()); // the system copies it for the receiver
    DWORD_PTR answer = FALSE;
    const LRESULT sent = SendMessageTimeoutW(window, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data),
                                             SMTO_ABORTIFHUNG, boundMilliseconds, &answer);
    if (!sent)
        return HandOver::NoAnswer;
    return answer != FALSE ? HandOver::Taken : HandOver::Refused;
}
