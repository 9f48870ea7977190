#pragma once

#include "foundation/UniqueHandle.h"

#include <windows.h>

#include <cstdint>
#include <string>

namespace Kestrel {

// One file-system item named by a wide path, holding at most one open handle for raw writes.
// Every failing Win32 call is logged at Error level through reportFileError; nothing throws and
// each operation carries on with the result its comment gives.
class FileSpec {
public:
    FileSpec() noexcept = default;
    explicit FileSpec(const std::wstring& path);
    // A copy names the same item but never shares the handle: it starts with none.
    FileSpec(const FileSpec& other);
    // Names the other's item; a handle it held would belong to the old item, so it is closed.
    FileSpec& operator=(const FileSpec& other);
    FileSpec(FileSpec&& other) noexcept;        // takes the other's handle
    FileSpec& operator=(FileSpec&& other) noexcept;
    virtual ~FileSpec();

    // Replace the path (normalised); an open handle stays open and still refers to the old item.
    void assign(const std::wstring& path);
    void assign(const FileSpec& other);

    const std::wstring& path() const noexcept { return path_; }

    // False, silently, for the not-there errors (2, 3, 15, 21); other errors are logged and
    // answered true.
    [[nodiscard]] bool exists() const;
    // True for a folder, and also when the attributes cannot be read (logged).
    [[nodiscard]] bool isDirectory() const;
    // The size from the item's attributes; 0 (logged) when they cannot be read.
    [[nodiscard]] std::uint64_t fileSize() const;

    void resize(std::uint64_t size);
    void makeWritable(bool writable);
    // Moves to newPath (never replacing) and names newPath afterwards, even when the move failed.
    void moveTo(const std::wstring& newPath);
    // Deletes this one item: RemoveDirectoryW for a folder, DeleteFileW otherwise.
    void remove();
    // Creates the file empty, or empties it; the handle is closed at once.
    [[nodiscard]] bool createFile();

    // Opens for read and write with read/write sharing; never logs.
    [[nodiscard]] bool openReadWrite();
    [[nodiscard]] bool isOpen() const noexcept;
    void closeHandle() noexcept;
    // Bytes written; 0 without an open handle or when WriteFile fails. Never logs.
    [[nodiscard]] std::uint32_t writeBytes(const void* buffer, std::uint32_t count);
    // New position, or -1 without an open handle or on failure. Never logs.
    std::int64_t seek(LONG offset, DWORD origin);
    // FlushFileBuffers on the held handle; false without one or when it fails. Never logs.
    [[nodiscard]] bool flush();

    // Work on the held handle, so that every step acts on the item that was opened, whatever
    // happens to its name meanwhile. The opens never log; the other calls log their failure.
    // Opens a file for its erase: read, write and delete access; others may read and write it
    // but neither move nor delete it meanwhile.
    [[nodiscard]] bool openForErase();
    // Opens a file for its removal alone: delete access and reading its attributes, no right to
    // its data; others may read and write it but neither move nor delete it meanwhile.
    [[nodiscard]] bool openForRemoval();
    // Opens a folder for its removal (delete access and its attributes).
    [[nodiscard]] bool openFolderForErase();
    // Opens a file or folder for its attributes only.
    [[nodiscard]] bool openForAttributes();
    // Opens a file or folder without any access right: enough to read what it is and to hold it.
    [[nodiscard]] bool openForQuery();
    // The held handle, for queries; the object keeps owning it.
    [[nodiscard]] HANDLE handle() const noexcept { return handle_.get(); }
    // Writes the attributes back without the read-only bit.
    [[nodiscard]] bool clearReadOnly(DWORD attributes);
    // The same by path, for an item whose attributes cannot be changed through a handle: the
    // caller proves afterwards that the change reached the item it meant.
    [[nodiscard]] bool clearReadOnlyByPath(DWORD attributes);
    // Empties the held file.
    [[nodiscard]] bool truncate();
    // Renames the held item to newPath (an extended-length path), never replacing an item there,
    // and names newPath afterwards. 0 on success, else the error code; a taken name
    // (ERROR_ALREADY_EXISTS) is not logged: the caller tries another.
    [[nodiscard]] DWORD renameTo(const std::wstring& newPath);
    // Deletes the held item when its handle closes.
    [[nodiscard]] bool deleteOnClose();

private:
    std::wstring path_;
    UniqueFileHandle handle_;
};

// Logs the calling thread's last error for the path at Error level, with the message the error
// code calls for ("File not found: %s", ...). Call it right after the failing call.
void reportFileError(const std::wstring& path);
// The same for an error code already read (for callers that look at the code first).
void reportFileError(const std::wstring& path, DWORD error);

} // namespace Kestrel
