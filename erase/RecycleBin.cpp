#include "erase/RecycleBin.h"

#include "erase/FolderIdentity.h"
#include "erase/LinkGuard.h"
#include "erase/TaskItem.h"
#include "erase/UserSid.h"
#include "erase/WipeableDrive.h"
#include "foundation/ExtendedPath.h"
#include "foundation/FileError.h"
#include "foundation/UniqueHandle.h"

#include <cwchar>
#include <map>
#include <set>

namespace {

constexpr const wchar_t* kBinFolderName = L"$Recycle.Bin";

std::uint64_t sizeOf(const WIN32_FIND_DATAW& entry) noexcept
{
    return (static_cast<std::uint64_t>(entry.nFileSizeHigh) << 32) | entry.nFileSizeLow;
}

// Calls the function for each entry of the folder but "." and ".."; false when it cannot be
// listed (an empty folder can).
template <typename Visit>
bool forEachEntry(const std::wstring& folder, Visit visit)
{
    WIN32_FIND_DATAW entry;
    const Kestrel::UniqueFindHandle search(FindFirstFileW(Kestrel::childPath(folder, L"*").c_str(), &entry));
    if (!search)
        return GetLastError() == ERROR_FILE_NOT_FOUND;
    do {
        if (!Kestrel::isDotName(entry.cFileName))
            visit(entry);
    } while (FindNextFileW(search.get(), &entry));
    return GetLastError() == ERROR_NO_MORE_FILES;
}

// The files of a tree together, as the folder erase overwrites them: links are not entered. A
// folder that cannot be listed counts what was read of it.
std::uint64_t treeBytes(const std::wstring& top)
{
    std::uint64_t bytes = 0;
    std::vector<std::wstring> folders{top};
    while (!folders.empty()) {
        const std::wstring folder = std::move(folders.back());
        folders.pop_back();
        static_cast<void>(forEachEntry(folder, [&](const WIN32_FIND_DATAW& entry) {
            if (isLink(entry.dwFileAttributes, reparseTagOf(entry)))
                return;
            if ((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
                folders.push_back(Kestrel::childPath(folder, entry.cFileName));
            else
                bytes += sizeOf(entry);
        }));
    }
    return bytes;
}

// Names of one folder differ in more than case: the pair's names are compared without it.
std::wstring upper(std::wstring text)
{
    LCMapStringEx(LOCALE_NAME_INVARIANT, LCMAP_UPPERCASE, text.data(), static_cast<int>(text.size()), text.data(),
                  static_cast<int>(text.size()), nullptr, nullptr, 0);
    return text;
}

BinEntry entryOf(const std::wstring& folder, const WIN32_FIND_DATAW& found)
{
    BinEntry entry{found.cFileName, found.dwFileAttributes, reparseTagOf(found), sizeOf(found)};
    if (entry.attributes & FILE_ATTRIBUTE_DIRECTORY)
        entry.bytes = isLink(entry.attributes, entry.reparseTag) ? 0 : treeBytes(Kestrel::childPath(folder, entry.name));
    return entry;
}

std::wstring skippedLinkLine(const std::wstring& path)
{
    return L"Skipped link: " + Kestrel::displayPath(path);
}

// The folder at the path when it is a folder and no link; its absence is no problem.
bool isPlainFolder(const std::wstring& path, std::vector<std::wstring>& problems)
{
    const TaskItemLookup found = lookUpTaskItem(path);
    if (!found.item) {
        if (found.error != ERROR_FILE_NOT_FOUND && found.error != ERROR_PATH_NOT_FOUND)
            problems.push_back(Kestrel::fileErrorText(found.error, Kestrel::displayPath(path)));
        return false;
    }
    if (isLink(found.item->attributes, found.item->reparseTag)) {
        problems.push_back(skippedLinkLine(path));
        return false;
    }
    return found.item->isFolder();
}

void listBinFolder(const std::wstring& folder, RecycleBinContent& content)
{
    std::map<std::wstring, RecycledItem> pairs;
    const bool listed = forEachEntry(folder, [&](const WIN32_FIND_DATAW& found) {
        const std::wstring name = found.cFileName;
        const std::wstring prefix = upper(name.substr(0, 2));
        if (name.size() <= 2 || (prefix != L"$R" && prefix != L"$I"))
            return;
        RecycledItem& item = pairs[upper(name.substr(2))];
        item.folder = folder;
        (prefix == L"$R" ? item.content : item.record) = entryOf(folder, found);
    });
    if (!listed)
        content.problems.push_back(Kestrel::fileErrorText(GetLastError(), Kestrel::displayPath(folder)));
    for (auto& [key, item] : pairs)
        content.items.push_back(std::move(item));
}

// The owners Windows gives a user's bin folder: the user, or SYSTEM or the Administrators when
// the system or an administrator's tool made it.
constexpr const wchar_t* kLocalSystemSid = L"S-1-5-18";
constexpr const wchar_t* kAdministratorsSid = L"S-1-5-32-544";

bool ownedRightly(HANDLE folder, const std::wstring& display, std::wstring& problem)
{
    DWORD error = ERROR_SUCCESS;
    const std::wstring owner = ownerSidOf(folder, error);
    const std::wstring user = owner.empty() ? std::wstring() : currentUserSid(error);
    if (owner.empty() || user.empty()) {
        problem = Kestrel::fileErrorText(error, display);
        return false;
    }
    if (owner == user || owner == kLocalSystemSid || owner == kAdministratorsSid)
        return true;
    problem = L"Skipped Recycle Bin folder owned by another user: " + display;
    return false;
}

bool isInPlace(const ItemFacts& facts, const std::wstring& folder)
{
    return (facts.attributes & FILE_ATTRIBUTE_DIRECTORY) != 0 && !isLink(facts.attributes, facts.reparseTag) &&
           CompareStringOrdinal(facts.realPath.c_str(), -1, folder.c_str(), -1, TRUE) == CSTR_EQUAL;
}

std::vector<std::wstring> fixedDriveRoots()
{
    std::vector<std::wstring> roots;
    const DWORD length = GetLogicalDriveStringsW(0, nullptr);
    std::wstring all(length, L'\0');
    all.resize(GetLogicalDriveStringsW(length, all.data()));
    for (const wchar_t* root = all.c_str(); *root; root += std::wcslen(root) + 1) {
        if (GetDriveTypeW(root) == DRIVE_FIXED && wipeableDrive(root))
            roots.emplace_back(root);
    }
    return roots;
}

} // namespace

std::wstring RecycledItem::pathOf(const BinEntry& entry) const
{
    return Kestrel::childPath(folder, entry.name);
}

std::uint64_t RecycleBinContent::bytes() const noexcept
{
    std::uint64_t total = 0;
    for (const RecycledItem& item : items)
        total += item.bytes();
    return total;
}

Kestrel::UniqueFileHandle holdBinFolder(const std::wstring& folder, std::wstring& problem)
{
    // The right to list it makes the sharing without deletion count (Windows keeps no share mode
    // for a handle without a right to the data); the erase's renames inside need no more.
    Kestrel::UniqueFileHandle handle(CreateFileW(folder.c_str(),
                                                 FILE_LIST_DIRECTORY | FILE_READ_ATTRIBUTES | READ_CONTROL | SYNCHRONIZE,
                                                 FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                                 FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
    const std::wstring display = Kestrel::displayPath(folder);
    if (!handle) {
        problem = Kestrel::fileErrorText(GetLastError(), display);
        return {};
    }
    const auto facts = itemFactsOf(handle.get(), false);
    if (!facts || !isInPlace(*facts, folder)) {
        problem = skippedLinkLine(folder);
        return {};
    }
    if (!ownedRightly(handle.get(), display, problem))
        return {};
    return handle;
}

RecycleBinContent findRecycleBin()
{
    RecycleBinContent content;
    DWORD error = ERROR_SUCCESS;
    const std::wstring sid = currentUserSid(error);
    if (sid.empty()) {
        content.problems.push_back(L"This user's identity cannot be read (error " + std::to_wstring(error) + L")");
        return content;
    }
    std::set<FolderIdentity> seen;
    for (const std::wstring& root : fixedDriveRoots()) {
        const std::wstring bins = Kestrel::childPath(Kestrel::extendedLengthPath(root), kBinFolderName);
        const std::wstring folder = Kestrel::childPath(bins, sid);
        if (!isPlainFolder(bins, content.problems) || !isPlainFolder(folder, content.problems))
            continue;
        std::wstring problem;
        const Kestrel::UniqueFileHandle held = holdBinFolder(folder, problem);
        if (!held) {
            content.problems.push_back(problem);
            continue;
        }
        const auto identity = identityOf(held.get());
        if (identity && !seen.insert(*identity).second)
            continue;
        content.folders.push_back(folder);
        listBinFolder(folder, content);
    }
    return content;
}
