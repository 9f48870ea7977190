#pragma once

#include "erase/FolderIdentity.h"
#include "foundation/UniqueHandle.h"

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <optional>
#include <set>
#include <string>
#include <vector>

class EraseTask;

// A folder the listing opened: the folder that holds the task's item, or one it entered.
struct ListedFolder {
    std::wstring path;     // extended-length, as listed
    std::wstring realPath; // where it really was when listed (its handle's final path)
    FolderIdentity identity;
    DWORD attributes = 0;
    bool chosen = true;    // inside the task's choice (the folder holding the task's item is not)
};

// One item to erase, as the listing's find data showed it.
struct ListedItem {
    std::wstring path;             // extended-length
    std::wstring display;          // as the user knows it, for the log
    std::size_t parent = 0;        // index of the folder that holds it
    DWORD attributes = 0;          // from the find data: file or folder is decided by them
    std::size_t folder = kNoFolder; // a folder item: its own record, when it could be entered

    static constexpr std::size_t kNoFolder = static_cast<std::size_t>(-1);
    [[nodiscard]] bool isFolder() const noexcept { return (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0; }
    [[nodiscard]] std::wstring name() const { return path.substr(path.rfind(L'\\') + 1); }
};

// What a folder task found: every item in listing order (each folder before its content), the
// folders it opened, the byte total of the files, and whether links or names were left out.
class FolderListing {
public:
    // Records the folder that holds the task's folder, read by its path and never changed: its
    // real path is where the task's folder must be. False, with the thread's last error, when it
    // cannot be read.
    [[nodiscard]] bool enterHolder(const std::wstring& folder);
    // Lists the folder and its content, each folder before its own content. A folder is entered
    // only through a handle on the folder itself that shows no link and, for a folder that the
    // listing found in another, the place it was listed at (that folder's real path and its
    // name); the folder after enterHolder is proven as the holder's item of its name, a drive
    // root is taken as its path names it. A folder is listed through that handle, which keeps it
    // from being moved or deleted until its content is listed: the handles of the folders on the
    // way down are held, one a level. A folder that moved or became a link since it was listed is
    // left out ("Skipped folder that moved or became a link since it was listed: %s. "), as are
    // links, folders entered before, and names holding a separator ("Skipped name: %s. "). False
    // when the folder cannot be entered or listed, or the task's stop was requested meanwhile.
    [[nodiscard]] bool collect(const std::wstring& folder, const EraseTask& task);

    std::vector<ListedItem> items;
    std::vector<ListedFolder> folders;
    std::uint64_t totalBytes = 0;
    bool linksSkipped = false; // links, or folders that moved or became links since they were listed
    bool namesSkipped = false;

private:
    enum class Entry {
        First,      // not entered before: its record is the last of folders
        Again,      // the same folder was entered before, under this or another path
        Moved,      // not a folder, a link, or not where it was listed
        Unreadable, // it cannot be opened or read: the thread's last error says why
    };
    struct DirectoryEntry;

    [[nodiscard]] static bool readEntries(HANDLE folder, std::vector<DirectoryEntry>& entries, const EraseTask& task);
    // Opens the folder at the path for its listing and proves it, at the place the holder's
    // record and its name give when a holder is named; on First the handle holds it.
    [[nodiscard]] Entry enter(const std::wstring& path, std::optional<std::size_t> holder,
                              Kestrel::UniqueFileHandle& handle);
    [[nodiscard]] bool listFolder(std::size_t folder, HANDLE handle, const EraseTask& task);
    void addEntry(std::size_t folder, const DirectoryEntry& entry, const EraseTask& task);

    std::set<FolderIdentity> entered_;
};

// A test may act on a folder at the moment another program could swap it: after the entry that
// named it was read (or, for the task's own folder, the task's item was found) and before it is
// opened to be listed. None is set in the programs.
using FolderEntryHook = void (*)(const std::wstring& path);
void setFolderEntryHook(FolderEntryHook hook) noexcept;
