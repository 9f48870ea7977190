#include "erase/FolderListing.h"

#include "erase/EraseTask.h"
#include "erase/LinkGuard.h"
#include "foundation/ExtendedPath.h"
#include "foundation/FileSpec.h"
#include "foundation/Logger.h"
#include "foundation/UniqueHandle.h"

FolderListing::Entry FolderListing::enter(const std::wstring& folder, bool chosen)
{
    auto facts = itemFactsOf(folder);
    if (!facts)
        return Entry::Unknown;
    if (!entered_.insert(facts->identity).second)
        return Entry::Again;
    folders.push_back(ListedFolder{folder, std::move(facts->realPath), facts->identity, facts->attributes, chosen});
    return Entry::First;
}

bool FolderListing::collect(const std::wstring& folder, const EraseTask& task)
{
    if (folder.empty())
        return false;
    const std::wstring path = Kestrel::extendedLengthPath(folder);
    if (!Kestrel::FileSpec(path).isDirectory())
        return false;
    switch (enter(path)) {
    case FolderListing::Entry::First:
        return listFolder(folders.size() - 1, task);
    case FolderListing::Entry::Again:
        reportSkippedLink(folder);
        linksSkipped = true;
        return true;
    case FolderListing::Entry::Unknown:
        break;
    }
    return false;
}

bool FolderListing::listFolder(std::size_t folder, const EraseTask& task)
{
    const std::wstring pattern = Kestrel::childPath(folders[folder].path, L"*");
    WIN32_FIND_DATAW entry;
    Kestrel::UniqueFindHandle search(FindFirstFileW(pattern.c_str(), &entry));
    if (!search) {
        // A drive root has no "." and ".." entries: an empty one answers "file not found".
        const DWORD error = GetLastError();
        if (error == ERROR_NO_MORE_FILES || error == ERROR_FILE_NOT_FOUND)
            return !task.abortRequested();
        // A folder the user may not read, say: its content stays, and so does the folder.
        Kestrel::reportFileError(folders[folder].path, error);
        return false;
    }
    do {
        addEntry(folder, entry, task);
    } while (FindNextFileW(search.get(), &entry) && !task.abortRequested());
    return !task.abortRequested();
}

void FolderListing::addEntry(std::size_t folder, const WIN32_FIND_DATAW& entry, const EraseTask& task)
{
    const std::wstring name = entry.cFileName;
    if (Kestrel::isDotName(name))
        return;
    // Copied: entering a sub-folder below grows the folder records.
    const std::wstring child = Kestrel::childPath(folders[folder].path, name);
    const std::wstring display = Kestrel::displayPath(child);
    // A file system can hand back a name holding a separator ("..\victim.txt" on a Linux disk);
    // any path built from it could name an item outside this folder.
    if (name.find_first_of(L"\\/") != std::wstring::npos) {
        Kestrel::Logger::instance().log(Kestrel::LogLevel::Error, L"Skipped name: %s. ", display.c_str());
        namesSkipped = true;
        return;
    }
    if (const DWORD tag = reparseTagOf(entry); isLink(entry.dwFileAttributes, tag)) {
        reportSkippedLink(display, entry.dwFileAttributes, tag);
        linksSkipped = true;
        return;
    }
    ListedItem item{child, display, folder, entry.dwFileAttributes};
    if (!item.isFolder()) {
        items.push_back(std::move(item));
        totalBytes += (static_cast<std::uint64_t>(entry.nFileSizeHigh) << 32) | entry.nFileSizeLow;
        return;
    }
    switch (enter(child)) {
    case FolderListing::Entry::First: {
        const std::size_t entered = folders.size() - 1;
        item.folder = entered;
        items.push_back(std::move(item));
        // A sub-folder that cannot be listed keeps its content, and so its removal fails later.
        (void)listFolder(entered, task);
        return;
    }
    case FolderListing::Entry::Again:
        // Only another path to a folder already listed gets here (a mount, say): never twice.
        reportSkippedLink(display);
        linksSkipped = true;
        return;
    case FolderListing::Entry::Unknown:
        // Its content, if any, stays, and so does the folder.
        Kestrel::reportFileError(child);
        items.push_back(std::move(item));
        return;
    }
}
