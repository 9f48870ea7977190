#pragma once

#include "erase/FolderIdentity.h"

#include <windows.h>

#include <cstddef>
#include <cstdint>
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
    enum class Entry {
        First,   // not entered before: list it now
        Again,   // the same folder was entered before, under this or another path
        Unknown, // its identity cannot be read, so it is not entered
    };

    // Records that the folder is about to be listed; on First its record is the last of folders.
    [[nodiscard]] Entry enter(const std::wstring& folder, bool chosen = true);
    // Appends the folder's content, each folder before its own content, without entering links
    // or any folder entered before; a name holding a separator is left out ("Skipped name: %s. ").
    // False when the folder cannot be listed or the task's stop was requested meanwhile.
    [[nodiscard]] bool collect(const std::wstring& folder, const EraseTask& task);

    std::vector<ListedItem> items;
    std::vector<ListedFolder> folders;
    std::uint64_t totalBytes = 0;
    bool linksSkipped = false;
    bool namesSkipped = false;

private:
    [[nodiscard]] bool listFolder(std::size_t folder, const EraseTask& task);
    void addEntry(std::size_t folder, const WIN32_FIND_DATAW& entry, const EraseTask& task);

    std::set<FolderIdentity> entered_;
};
