#include "console/ChosenItem.h"

#include "console/NamePattern.h"
#include "erase/RecycleBin.h"
#include "erase/TaskItem.h"
#include "erase/WipeableDrive.h"
#include "foundation/Exception.h"
#include "foundation/ExtendedPath.h"
#include "foundation/FileError.h"
#include "foundation/UniqueHandle.h"

#include <algorithm>
#include <optional>

namespace {

constexpr const wchar_t* kWildcards = L"*?";

bool isSeparator(wchar_t character) noexcept
{
    return character == L'\\' || character == L'/';
}

ChosenItem missing(const std::wstring& path, DWORD error)
{
    ChosenItem item;
    item.path = path;
    item.problem = Kestrel::fileErrorText(error, path);
    return item;
}

ChosenItem foundItem(const std::wstring& path, DWORD attributes)
{
    ChosenItem item;
    item.kind = (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0 ? ItemKind::Folder : ItemKind::File;
    item.path = path;
    item.attributes = attributes;
    return item;
}

// The item's own directory entry, as the erase engine reads it.
ChosenItem lookUp(const std::wstring& extended)
{
    const std::wstring display = Kestrel::displayPath(extended);
    const TaskItemLookup found = lookUpTaskItem(extended);
    return found.item ? foundItem(display, found.item->attributes) : missing(display, found.error);
}

// Every name in the folder that the pattern spells, in name order. The folder is listed whole and
// each long name matched here: FindFirstFileW given the pattern also matches the 8.3 short names
// (Wine makes them too), so that `*.doc` took "report.docx" (REPORT~1.DOC) and `*.htm` "page.html".
std::vector<ChosenItem> matches(const std::wstring& folderArgument, const std::wstring& pattern)
{
    const std::wstring folder = Kestrel::extendedLengthPath(folderArgument.empty() ? L"." : folderArgument);
    const std::wstring whole = Kestrel::childPath(folder, pattern);
    WIN32_FIND_DATAW entry;
    const Kestrel::UniqueFindHandle search(FindFirstFileW(Kestrel::childPath(folder, L"*").c_str(), &entry));
    if (!search) {
        const DWORD error = GetLastError();
        if (error != ERROR_FILE_NOT_FOUND && error != ERROR_NO_MORE_FILES)
            return {missing(Kestrel::displayPath(whole), error)};
    }
    std::vector<ChosenItem> items;
    for (bool more = static_cast<bool>(search); more; more = FindNextFileW(search.get(), &entry) != FALSE) {
        if (!Kestrel::isDotName(entry.cFileName) && nameMatches(pattern, entry.cFileName))
            items.push_back(foundItem(Kestrel::displayPath(Kestrel::childPath(folder, entry.cFileName)),
                                      entry.dwFileAttributes));
    }
    if (items.empty()) {
        ChosenItem none;
        none.path = Kestrel::displayPath(whole);
        none.problem = L"No name matches: " + none.path;
        return {none};
    }
    std::sort(items.begin(), items.end(), [](const ChosenItem& left, const ChosenItem& right) {
        return CompareStringOrdinal(left.path.c_str(), -1, right.path.c_str(), -1, TRUE) == CSTR_LESS_THAN;
    });
    return items;
}

ChosenItem namesNothing(const std::wstring& argument, std::wstring why)
{
    ChosenItem item;
    item.path = argument;
    item.problem = std::move(why);
    return item;
}

// "T:" and "T:x" name the drive's current folder, which is seldom what was meant ("T:" typed for
// the drive): what they mean is said instead of guessed.
std::optional<ChosenItem> driveRelative(const std::wstring& argument)
{
    if (argument.size() < 2 || argument[1] != L':' || (argument.size() > 2 && isSeparator(argument[2])))
        return std::nullopt;
    const std::wstring drive = argument.substr(0, 2);
    if (argument.size() == 2)
        return namesNothing(argument, drive + L" is the current folder of drive " + drive.substr(0, 1) +
                                          L", not its root: type " + drive + L"\\ for everything on the drive, or kww freespace " +
                                          drive + L" for its free space.");
    return namesNothing(argument, argument + L" is read against the current folder of drive " + drive.substr(0, 1) +
                                      L": type the whole path (" + drive + L"\\" + argument.substr(2) + L").");
}

std::vector<ChosenItem> itemsOf(const std::wstring& argument)
{
    if (const auto relative = driveRelative(argument))
        return {*relative};
    std::size_t nameStart = argument.size();
    while (nameStart > 0 && !isSeparator(argument[nameStart - 1]))
        --nameStart;
    const std::wstring folder = argument.substr(0, nameStart);
    const std::wstring name = argument.substr(nameStart);
    if (folder.find_first_of(kWildcards) != std::wstring::npos)
        return {namesNothing(argument, L"* and ? work only in the last part of a path: " + argument)};
    try {
        if (name.find_first_of(kWildcards) != std::wstring::npos)
            return matches(folder, name);
        return {lookUp(Kestrel::extendedLengthPath(argument))};
    } catch (const Kestrel::Exception&) {
        // A drive-relative path (C:x) or a server without a share.
        return {missing(argument, ERROR_BAD_PATHNAME)};
    }
}

bool sameItem(const ChosenItem& left, const ChosenItem& right)
{
    return left.found() && right.found() &&
           CompareStringOrdinal(left.path.c_str(), -1, right.path.c_str(), -1, TRUE) == CSTR_EQUAL;
}

} // namespace

std::vector<ChosenItem> chooseItems(const std::vector<std::wstring>& arguments)
{
    std::vector<ChosenItem> chosen;
    for (const std::wstring& argument : arguments) {
        for (ChosenItem& item : itemsOf(argument)) {
            const bool again = std::any_of(chosen.begin(), chosen.end(),
                                           [&](const ChosenItem& earlier) { return sameItem(earlier, item); });
            if (!again)
                chosen.push_back(std::move(item));
        }
    }
    return chosen;
}

ChosenItem chooseFreeSpace(const std::wstring& root)
{
    // Checked as the wipe checks it, so that a preview never shows a drive the wipe would refuse.
    const DriveCheck check = checkWipeableDrive(root);
    ChosenItem item;
    item.kind = ItemKind::FreeSpace;
    item.path = root;
    item.attributes = check.drive ? FILE_ATTRIBUTE_DIRECTORY : 0;
    item.problem = refusalText(check, root);
    return item;
}

ChosenItem chooseRecycleBin()
{
    ChosenItem item;
    item.kind = ItemKind::RecycleBin;
    item.path = kRecycleBinName;
    return item;
}
