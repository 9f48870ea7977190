#include "erase/TaskItem.h"

#include "erase/LinkGuard.h"
#include "foundation/ExtendedPath.h"
#include "foundation/FileSpec.h"
#include "foundation/UniqueHandle.h"

namespace {

std::wstring rootWithSeparator(const std::wstring& extended)
{
    return extended.back() == L'\\' ? extended : extended + L'\\';
}

std::wstring nameOf(const std::wstring& extended)
{
    return extended.substr(extended.rfind(L'\\') + 1);
}

// A name with wildcards would find other items.
bool isPattern(const std::wstring& name)
{
    return name.find_first_of(L"*?") != std::wstring::npos;
}

bool sameName(const wchar_t* listed, const std::wstring& typed)
{
    return CompareStringOrdinal(listed, -1, typed.c_str(), -1, TRUE) == CSTR_EQUAL;
}

} // namespace

TaskItemLookup lookUpTaskItem(const std::wstring& extended)
{
    if (Kestrel::isExtendedRoot(extended)) {
        const std::wstring root = rootWithSeparator(extended);
        if (GetFileAttributesW(root.c_str()) == INVALID_FILE_ATTRIBUTES)
            return {std::nullopt, GetLastError()};
        // Whatever else its attributes say, a root is erased as the folder that holds the rest.
        return {TaskItem{root, {}, FILE_ATTRIBUTE_DIRECTORY, 0, true}};
    }
    const std::size_t separator = extended.rfind(L'\\');
    std::wstring folder = extended.substr(0, separator);
    if (Kestrel::isExtendedRoot(folder))
        folder += L'\\';
    if (isPattern(nameOf(extended)))
        return {std::nullopt, ERROR_INVALID_NAME};
    WIN32_FIND_DATAW entry;
    const Kestrel::UniqueFindHandle search(FindFirstFileW(extended.c_str(), &entry));
    if (!search)
        return {std::nullopt, GetLastError()};
    // The entry the file system holds: the same name (its own case), or the long name of a
    // short one. Wine's search also matches "y.txt" to the name "y.txt." (which the extended form
    // keeps as typed, and a file system may hold beside it): only the name typed is taken.
    const std::wstring typed = nameOf(extended);
    do {
        if (sameName(entry.cFileName, typed) || sameName(entry.cAlternateFileName, typed))
            return {TaskItem{Kestrel::childPath(folder, entry.cFileName), folder, entry.dwFileAttributes,
                             reparseTagOf(entry), false}};
    } while (FindNextFileW(search.get(), &entry));
    return {std::nullopt, ERROR_FILE_NOT_FOUND};
}

std::optional<DWORD> taskItemAttributes(const std::wstring& extended)
{
    if (Kestrel::isExtendedRoot(extended)) {
        if (GetFileAttributesW(rootWithSeparator(extended).c_str()) == INVALID_FILE_ATTRIBUTES)
            return std::nullopt;
        return FILE_ATTRIBUTE_DIRECTORY;
    }
    const std::wstring name = nameOf(extended);
    if (isPattern(name) || name.find(L':') != std::wstring::npos)
        return std::nullopt;
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExW(extended.c_str(), GetFileExInfoStandard, &data))
        return std::nullopt;
    return data.dwFileAttributes;
}

DWORD reparseTagAt(const std::wstring& extended)
{
    const TaskItemLookup found = lookUpTaskItem(extended);
    return found.item ? found.item->reparseTag : 0;
}

std::optional<TaskItem> locateTaskItem(const std::wstring& path)
{
    const std::wstring extended = Kestrel::extendedLengthPath(path);
    const TaskItemLookup found = lookUpTaskItem(extended);
    if (!found.item)
        Kestrel::reportFileError(extended, found.error);
    return found.item;
}
