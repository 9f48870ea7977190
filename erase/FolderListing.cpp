#include "erase/FolderListing.h"

#include "erase/EraseTask.h"
#include "erase/LinkGuard.h"
#include "erase/VerifiedOpen.h"
#include "foundation/ExtendedPath.h"
#include "foundation/FileSpec.h"
#include "foundation/Logger.h"

#include <atomic>

namespace {

std::atomic<FolderEntryHook> folderEntryHook{nullptr};

// Entries are read in batches of this size; a folder's batch is freed before its sub-folders
// are listed, so a deep tree holds one a level only while that level is read.
constexpr DWORD kListingBatchBytes = 0x10000;

// Opens the folder itself, never what a link leads to, with the right to list it. Without
// FILE_SHARE_DELETE nobody can move or delete it while the handle is held, and the right to list
// it is what makes that sharing count: Windows keeps no share mode for a handle with no right to
// read, write or delete. Others may still read and write inside.
Kestrel::UniqueFileHandle openForListing(const std::wstring& path)
{
    if (const FolderEntryHook hook = folderEntryHook.load())
        hook(path);
    return Kestrel::UniqueFileHandle(CreateFileW(path.c_str(), FILE_LIST_DIRECTORY | FILE_READ_ATTRIBUTES | SYNCHRONIZE,
                                                 FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                                 FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
}

std::wstring lastName(const std::wstring& path)
{
    return path.substr(path.rfind(L'\\') + 1);
}

void reportMovedFolder(const std::wstring& display)
{
    Kestrel::Logger::instance().log(Kestrel::LogLevel::Error,
                                    L"Skipped folder that moved or became a link since it was listed: %s. ",
                                    display.c_str());
}

} // namespace

// One entry of a folder as its handle's listing shows it.
struct FolderListing::DirectoryEntry {
    std::wstring name;
    DWORD attributes = 0;
    DWORD reparseTag = 0;
    std::uint64_t size = 0;
};

// Reads the folder's entries through its handle, in the order the file system gives them, until
// the end or the task's stop; false, with the thread's last error, when the listing fails.
bool FolderListing::readEntries(HANDLE folder, std::vector<DirectoryEntry>& entries, const EraseTask& task)
{
    std::vector<ULONGLONG> batch(kListingBatchBytes / sizeof(ULONGLONG));
    FILE_INFO_BY_HANDLE_CLASS request = FileIdBothDirectoryRestartInfo;
    while (GetFileInformationByHandleEx(folder, request, batch.data(), kListingBatchBytes)) {
        request = FileIdBothDirectoryInfo;
        const auto* bytes = reinterpret_cast<const std::uint8_t*>(batch.data());
        for (DWORD offset = 0;;) {
            const auto* found = reinterpret_cast<const FILE_ID_BOTH_DIR_INFO*>(bytes + offset);
            DirectoryEntry& entry = entries.emplace_back();
            entry.name.assign(found->FileName, found->FileNameLength / sizeof(wchar_t));
            entry.attributes = found->FileAttributes;
            // For a reparse point the field of the extended attributes' size carries its tag, as
            // a search's dwReserved0 does.
            entry.reparseTag = (found->FileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0 ? found->EaSize : 0;
            entry.size = static_cast<std::uint64_t>(found->EndOfFile.QuadPart);
            if (found->NextEntryOffset == 0)
                break;
            offset += found->NextEntryOffset;
        }
        if (task.abortRequested())
            return true;
    }
    const DWORD error = GetLastError();
    // A drive root has no "." and ".." entries: an empty one answers "file not found" at once.
    if (error == ERROR_NO_MORE_FILES || (error == ERROR_FILE_NOT_FOUND && request == FileIdBothDirectoryRestartInfo))
        return true;
    SetLastError(error);
    return false;
}

bool FolderListing::enterHolder(const std::wstring& folder)
{
    auto facts = itemFactsOf(folder);
    if (!facts)
        return false;
    entered_.insert(facts->identity);
    folders.push_back(ListedFolder{folder, std::move(facts->realPath), facts->identity, facts->attributes, false});
    return true;
}

FolderListing::Entry FolderListing::enter(const std::wstring& path, std::optional<std::size_t> holder,
                                          Kestrel::UniqueFileHandle& handle)
{
    handle = openForListing(path);
    if (!handle)
        return Entry::Unreadable;
    auto facts = itemFactsOf(handle.get());
    if (!facts)
        return Entry::Unreadable;
    // Under Wine the handle holds a link's target, which only its real path shows.
    if ((facts->attributes & FILE_ATTRIBUTE_DIRECTORY) == 0 || isLink(facts->attributes, facts->reparseTag) ||
        (holder && placeOf(*facts, folders[*holder], lastName(path)) != Place::Listed))
        return Entry::Moved;
    if (!entered_.insert(facts->identity).second)
        return Entry::Again;
    folders.push_back(ListedFolder{path, std::move(facts->realPath), facts->identity, facts->attributes, true});
    return Entry::First;
}

bool FolderListing::collect(const std::wstring& folder, const EraseTask& task)
{
    if (folder.empty())
        return false;
    const std::wstring path = Kestrel::extendedLengthPath(folder);
    const bool held = folders.size() == 1 && !folders.front().chosen;
    Kestrel::UniqueFileHandle handle;
    switch (enter(path, held ? std::optional<std::size_t>(0) : std::nullopt, handle)) {
    case Entry::First:
        return listFolder(folders.size() - 1, handle.get(), task);
    case Entry::Again:
        reportSkippedLink(Kestrel::displayPath(path));
        linksSkipped = true;
        return true;
    case Entry::Moved:
        reportMovedFolder(Kestrel::displayPath(path));
        return false;
    case Entry::Unreadable:
        Kestrel::reportFileError(path);
        return false;
    }
    return false;
}

bool FolderListing::listFolder(std::size_t folder, HANDLE handle, const EraseTask& task)
{
    std::vector<DirectoryEntry> entries;
    if (!readEntries(handle, entries, task)) {
        // A folder the user may not read, say: its content stays, and so does the folder.
        Kestrel::reportFileError(folders[folder].path);
        return false;
    }
    for (const DirectoryEntry& entry : entries) {
        if (task.abortRequested())
            break;
        addEntry(folder, entry, task);
    }
    return !task.abortRequested();
}

void FolderListing::addEntry(std::size_t folder, const DirectoryEntry& entry, const EraseTask& task)
{
    if (Kestrel::isDotName(entry.name))
        return;
    // Copied: entering a sub-folder below grows the folder records.
    const std::wstring child = Kestrel::childPath(folders[folder].path, entry.name);
    const std::wstring display = Kestrel::displayPath(child);
    // A file system can hand back a name holding a separator ("..\victim.txt" on a Linux disk);
    // any path built from it could name an item outside this folder.
    if (entry.name.find_first_of(L"\\/") != std::wstring::npos) {
        Kestrel::Logger::instance().log(Kestrel::LogLevel::Error, L"Skipped name: %s. ", display.c_str());
        namesSkipped = true;
        return;
    }
    if (isLink(entry.attributes, entry.reparseTag)) {
        reportSkippedLink(display, entry.attributes, entry.reparseTag);
        linksSkipped = true;
        return;
    }
    ListedItem item{child, display, folder, entry.attributes};
    if (!item.isFolder()) {
        items.push_back(std::move(item));
        totalBytes += entry.size;
        return;
    }
    Kestrel::UniqueFileHandle handle;
    switch (enter(child, folder, handle)) {
    case Entry::First: {
        const std::size_t entered = folders.size() - 1;
        item.folder = entered;
        items.push_back(std::move(item));
        // A sub-folder that cannot be listed keeps its content, and so its removal fails later.
        (void)listFolder(entered, handle.get(), task);
        return;
    }
    case Entry::Again:
        // Only another path to a folder already listed gets here (a mount, say): never twice.
        reportSkippedLink(display);
        linksSkipped = true;
        return;
    case Entry::Moved:
        // Whatever its name holds now stays, and so does this folder.
        reportMovedFolder(display);
        linksSkipped = true;
        return;
    case Entry::Unreadable:
        // Its content, if any, stays, and so does the folder.
        Kestrel::reportFileError(child);
        items.push_back(std::move(item));
        return;
    }
}

void setFolderEntryHook(FolderEntryHook hook) noexcept
{
    folderEntryHook.store(hook);
}
