#include "console/KeptFolder.h"

#include "console/CountText.h"
#include "erase/LinkGuard.h"
#include "foundation/ExtendedPath.h"
#include "foundation/UniqueHandle.h"

#include <vector>

namespace {

// Adds the links under the folder to `links`; false as soon as anything else than a folder or a
// link stays, or a folder cannot be listed.
bool onlyLinksStay(const std::wstring& folder, std::vector<std::wstring>& links)
{
    WIN32_FIND_DATAW entry;
    const Kestrel::UniqueFindHandle search(FindFirstFileW(Kestrel::childPath(folder, L"*").c_str(), &entry));
    if (!search)
        return GetLastError() == ERROR_FILE_NOT_FOUND;
    do {
        if (Kestrel::isDotName(entry.cFileName))
            continue;
        const std::wstring child = Kestrel::childPath(folder, entry.cFileName);
        if (isLink(entry.dwFileAttributes, reparseTagOf(entry)))
            links.push_back(Kestrel::displayPath(child));
        else if ((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0 || !onlyLinksStay(child, links))
            return false;
    } while (FindNextFileW(search.get(), &entry));
    return GetLastError() == ERROR_NO_MORE_FILES;
}

} // namespace

std::optional<std::wstring> keptForLinks(const std::wstring& folder)
{
    const std::wstring extended = Kestrel::extendedLengthPath(folder);
    const DWORD attributes = GetFileAttributesW(extended.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0 ||
        (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0)
        return std::nullopt;
    std::vector<std::wstring> links;
    if (!onlyLinksStay(extended, links) || links.empty())
        return std::nullopt;
    const std::wstring start = L"its files were erased; the folder is kept because it holds ";
    if (links.size() == 1)
        return start + L"a link, which is never followed: " + links.front();
    return start + countText(links.size(), L"link") + L", which are never followed: " + links.front() + L" and " +
           std::to_wstring(links.size() - 1) + L" more";
}
