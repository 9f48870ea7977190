#include "erase/TaskItem.h"

#include "foundation/ExtendedPath.h"
#include "foundation/FileSpec.h"
#include "foundation/UniqueHandle.h"

std::optional<TaskItem> locateTaskItem(const std::wstring& path)
{
    const std::wstring extended = Kestrel::extendedLengthPath(path);
    if (Kestrel::isExtendedRoot(extended)) {
        const std::wstring root = extended.back() == L'\\' ? extended : extended + L'\\';
        return TaskItem{root, {}, FILE_ATTRIBUTE_DIRECTORY, true};
    }
    const std::size_t separator = extended.rfind(L'\\');
    std::wstring folder = extended.substr(0, separator);
    if (Kestrel::isExtendedRoot(folder))
        folder += L'\\';
    const std::wstring name = extended.substr(separator + 1);
    // A name with wildcards would make the search below find other items.
    if (name.find_first_of(L"*?") != std::wstring::npos) {
        Kestrel::reportFileError(extended, ERROR_INVALID_NAME);
        return std::nullopt;
    }
    WIN32_FIND_DATAW entry;
    const Kestrel::UniqueFindHandle search(FindFirstFileW(extended.c_str(), &entry));
    if (!search) {
        Kestrel::reportFileError(extended);
        return std::nullopt;
    }
    // The entry the file system holds: the same name (its own case), or the long name of a
    // short one.
    return TaskItem{Kestrel::childPath(folder, entry.cFileName), folder, entry.dwFileAttributes, false};
}
