#pragma once

#include "foundation/UniqueHandle.h"

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

// The hidden folder of the program's own at a drive's root that holds the fill files of one
// free-space wipe. It is always made new: a name that exists (a folder, a file, a link) is never
// used, and the folder is proven to be a plain folder on that drive before anything is written
// into it. Its handle shares no deletion, so nobody can move it or swap it while it is in use.
// Nothing here logs: while the drive is full a line could be lost, so the caller reports.
class FillFolder {
public:
    // The names of the program's fill folders at a root: this one, then with ".1", ".2", ...
    static constexpr const wchar_t* kNameStem = L"KestrelWipewell.FreeSpace";

    // Makes the folder at the root (an extended-length root, "\\?\D:\"); nothing, with the error,
    // when no folder could be made or the one made is not what was asked for.
    [[nodiscard]] static std::optional<FillFolder> create(const std::wstring& root, DWORD& error);

    // Creates a new file in the folder, open for writing, that is deleted when its handle closes
    // (also when the process is killed); none, with the error, when it cannot be made.
    [[nodiscard]] Kestrel::UniqueFileHandle createFile(const std::wstring& name, DWORD& error) const;
    // Deletes the named file if it is still there; true when it is gone.
    [[nodiscard]] bool removeFileIfLeft(const std::wstring& name) const;
    // Deletes by name whatever the folder still holds (a file whose deletion on close did not
    // happen), found with one listing through the folder's handle: under Wine every look-up of
    // a name that is not there reads the whole folder. True when it holds nothing afterwards.
    [[nodiscard]] bool removeLeftFiles() const;

    // Removes the folder through its handle; true when it is gone.
    [[nodiscard]] bool remove();

    [[nodiscard]] const std::wstring& path() const noexcept { return path_; }
    // The folder's own handle, for questions to the drive it is on.
    [[nodiscard]] HANDLE handle() const noexcept { return handle_.get(); }

private:
    FillFolder(std::wstring path, Kestrel::UniqueFileHandle handle) : path_(std::move(path)), handle_(std::move(handle)) {}

    std::wstring path_;
    Kestrel::UniqueFileHandle handle_;
};

// What an earlier wipe left behind when it was killed (the system deletes its fill files when
// their handles go, but not its folder) or cut by a power loss: fill folders at the root that
// hold nothing but fill files. Each is removed with its files; a folder of that name that holds
// anything else, or is a link, is kept and named in kept. One that a wipe running now holds (its
// folder or a fill file open) is left alone and named in neither.
void removeLeftoverFillFolders(const std::wstring& root, std::vector<std::wstring>& removed,
                               std::vector<std::wstring>& kept);

// The names of the fill files: "FILL<n>" for the large ones, "R<n>" for the small ones. Short
// upper-case names need no second short name, which leaves a small file's record the most room.
[[nodiscard]] std::wstring largeFillName(unsigned number);
[[nodiscard]] std::wstring smallFillName(unsigned number);
