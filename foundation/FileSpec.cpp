#include "foundation/FileSpec.h"

#include "foundation/Logger.h"
#include "foundation/UniqueHandle.h"

#include "foundation/ExtendedPath.h"

#include <cstring>
#include <utility>
#include <vector>

namespace Kestrel {

namespace {

// An open that neither reads nor writes data asks that a file whose data is elsewhere (a sync
// client's placeholder, a file moved to remote storage) be left there: a filter may fetch it on
// an open (RECALL_ON_OPEN) without the flag.
constexpr DWORD kNoRecall = FILE_FLAG_OPEN_NO_RECALL;

// One trailing separator goes, except the one of a root ("C:\", "\\?\C:\"): without it the
// extended form names no item at all, and a root's attributes could not be read.
std::wstring normalised(std::wstring path)
{
    const bool isDriveRoot = (path.size() == 3 && path[1] == L':') || isExtendedRoot(path);
    if (path.size() > 1 && !isDriveRoot && (path.back() == L'\\' || path.back() == L'/'))
        path.pop_back();
    return path;
}

// The errors by which GetFileAttributesW says that nothing is there.
bool meansNotThere(DWORD error) noexcept
{
    switch (error) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_DRIVE:
    case ERROR_NOT_READY:
        return true;
    default:
        return false;
    }
}

} // namespace

FileSpec::FileSpec(const std::wstring& path) : path_(normalised(path)) {}

FileSpec::FileSpec(const FileSpec& other) : path_(other.path_) {}

FileSpec& FileSpec::operator=(const FileSpec& other)
{
    if (this != &other) {
        closeHandle();
        path_ = other.path_;
    }
    return *this;
}

FileSpec::FileSpec(FileSpec&& other) noexcept = default;

FileSpec& FileSpec::operator=(FileSpec&& other) noexcept = default;

FileSpec::~FileSpec() = default;

void FileSpec::assign(const std::wstring& path)
{
    path_ = normalised(path);
}

void FileSpec::assign(const FileSpec& other)
{
    if (this != &other)
        path_ = other.path_;
}

bool FileSpec::exists() const
{
    if (GetFileAttributesW(path_.c_str()) != INVALID_FILE_ATTRIBUTES)
        return true;
    const DWORD error = GetLastError();
    if (meansNotThere(error))
        return false;
    reportFileError(path_, error);
    return true;
}

bool FileSpec::isDirectory() const
{
    const DWORD attributes = GetFileAttributesW(path_.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        reportFileError(path_);
        return true;
    }
    return (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

std::uint64_t FileSpec::fileSize() const
{
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExW(path_.c_str(), GetFileExInfoStandard, &data)) {
        reportFileError(path_);
        return 0;
    }
    return (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

void FileSpec::resize(std::uint64_t size)
{
    // A handle of its own, so that the object's raw-I/O handle keeps its position.
    UniqueFileHandle file(CreateFileW(path_.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                      OPEN_EXISTING, 0, nullptr));
    if (!file) {
        reportFileError(path_);
        return;
    }
    LONG high = static_cast<LONG>(size >> 32);
    // A file of 4 GiB or more can be cut at a position whose low part is all ones: the error
    // code, not the value, says whether the move failed.
    SetLastError(ERROR_SUCCESS);
    if (SetFilePointer(file.get(), static_cast<LONG>(size & 0xFFFFFFFFu), &high, FILE_BEGIN) ==
            INVALID_SET_FILE_POINTER &&
        GetLastError() != ERROR_SUCCESS) {
        reportFileError(path_);
        return;
    }
    if (!SetEndOfFile(file.get()))
        reportFileError(path_);
}

void FileSpec::makeWritable(bool writable)
{
    const DWORD attributes = GetFileAttributesW(path_.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        // Writing the invalid value back would set every attribute bit.
        reportFileError(path_);
        return;
    }
    const DWORD wanted = writable ? (attributes & ~FILE_ATTRIBUTE_READONLY) : (attributes | FILE_ATTRIBUTE_READONLY);
    if (!SetFileAttributesW(path_.c_str(), wanted))
        reportFileError(path_);
}

void FileSpec::moveTo(const std::wstring& newPath)
{
    if (!MoveFileW(path_.c_str(), newPath.c_str()))
        reportFileError(path_);
    assign(newPath);
}

void FileSpec::remove()
{
    const BOOL removed = isDirectory() ? RemoveDirectoryW(path_.c_str()) : DeleteFileW(path_.c_str());
    if (!removed)
        reportFileError(path_);
}

bool FileSpec::createFile()
{
    UniqueFileHandle file(
        CreateFileW(path_.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    if (!file) {
        const DWORD error = GetLastError();
        if (error != ERROR_FILE_EXISTS)
            reportFileError(path_, error);
        return false;
    }
    return true;
}

bool FileSpec::openReadWrite()
{
    closeHandle();
    if (path_.empty())
        return false;
    handle_.reset(CreateFileW(path_.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, 0, nullptr));
    return isOpen();
}

bool FileSpec::isOpen() const noexcept
{
    return static_cast<bool>(handle_);
}

void FileSpec::closeHandle() noexcept
{
    handle_.reset();
}

std::uint32_t FileSpec::writeBytes(const void* buffer, std::uint32_t count)
{
    if (!isOpen())
        return 0;
    DWORD written = 0;
    if (!WriteFile(handle_.get(), buffer, count, &written, nullptr))
        return 0;
    return written;
}

std::int64_t FileSpec::seek(LONG offset, DWORD origin)
{
    if (!isOpen())
        return -1;
    const DWORD position = SetFilePointer(handle_.get(), offset, nullptr, origin);
    if (position == INVALID_SET_FILE_POINTER)
        return -1;
    return static_cast<std::int64_t>(position);
}

bool FileSpec::flush()
{
    return isOpen() && FlushFileBuffers(handle_.get());
}

bool FileSpec::openForErase()
{
    closeHandle();
    handle_.reset(CreateFileW(path_.c_str(), GENERIC_READ | GENERIC_WRITE | DELETE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, 0, nullptr));
    return isOpen();
}

bool FileSpec::openForRemoval()
{
    closeHandle();
    handle_.reset(CreateFileW(path_.c_str(), DELETE | FILE_READ_ATTRIBUTES | SYNCHRONIZE,
                              FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, kNoRecall, nullptr));
    return isOpen();
}

bool FileSpec::openFolderForErase()
{
    closeHandle();
    // Backup semantics are what let CreateFileW open a folder at all.
    handle_.reset(CreateFileW(path_.c_str(), DELETE | FILE_READ_ATTRIBUTES | FILE_WRITE_ATTRIBUTES | SYNCHRONIZE,
                              FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              FILE_FLAG_BACKUP_SEMANTICS | kNoRecall, nullptr));
    return isOpen();
}

bool FileSpec::openForAttributes()
{
    closeHandle();
    handle_.reset(CreateFileW(path_.c_str(), FILE_READ_ATTRIBUTES | FILE_WRITE_ATTRIBUTES | SYNCHRONIZE,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                              FILE_FLAG_BACKUP_SEMANTICS | kNoRecall, nullptr));
    return isOpen();
}

bool FileSpec::openForQuery()
{
    closeHandle();
    handle_.reset(CreateFileW(path_.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | kNoRecall, nullptr));
    return isOpen();
}

namespace {

// Zero attributes would mean "no change".
DWORD withoutReadOnly(DWORD attributes) noexcept
{
    const DWORD cleared = attributes & ~FILE_ATTRIBUTE_READONLY;
    return cleared == 0 ? FILE_ATTRIBUTE_NORMAL : cleared;
}

} // namespace

bool FileSpec::clearReadOnly(DWORD attributes)
{
    FILE_BASIC_INFO basic{};
    // Zero times leave the times as they are.
    basic.FileAttributes = withoutReadOnly(attributes);
    if (SetFileInformationByHandle(handle_.get(), FileBasicInfo, &basic, sizeof basic))
        return true;
    reportFileError(path_);
    return false;
}

bool FileSpec::clearReadOnlyByPath(DWORD attributes)
{
    if (SetFileAttributesW(path_.c_str(), withoutReadOnly(attributes)))
        return true;
    reportFileError(path_);
    return false;
}

bool FileSpec::truncate()
{
    FILE_END_OF_FILE_INFO end{};
    if (SetFileInformationByHandle(handle_.get(), FileEndOfFileInfo, &end, sizeof end))
        return true;
    reportFileError(path_);
    return false;
}

DWORD FileSpec::renameTo(const std::wstring& newPath)
{
    // The record ends in a name of variable length; the terminator is not counted.
    const std::wstring target = ntPathOf(newPath);
    const std::size_t nameBytes = target.size() * sizeof(wchar_t);
    std::vector<unsigned char> record(offsetof(FILE_RENAME_INFO, FileName) + nameBytes + sizeof(wchar_t), 0);
    FILE_RENAME_INFO rename{};
    rename.ReplaceIfExists = FALSE;
    rename.RootDirectory = nullptr;
    rename.FileNameLength = static_cast<DWORD>(nameBytes);
    std::memcpy(record.data(), &rename, offsetof(FILE_RENAME_INFO, FileName));
    std::memcpy(record.data() + offsetof(FILE_RENAME_INFO, FileName), target.c_str(), nameBytes);
    if (SetFileInformationByHandle(handle_.get(), FileRenameInfo, record.data(), static_cast<DWORD>(record.size()))) {
        assign(newPath);
        return ERROR_SUCCESS;
    }
    const DWORD error = GetLastError();
    if (error != ERROR_ALREADY_EXISTS && error != ERROR_FILE_EXISTS)
        reportFileError(path_, error);
    return error;
}

bool FileSpec::deleteOnClose()
{
    FILE_DISPOSITION_INFO disposition{};
    disposition.DeleteFile = TRUE;
    if (SetFileInformationByHandle(handle_.get(), FileDispositionInfo, &disposition, sizeof disposition))
        return true;
    reportFileError(path_);
    return false;
}

} // namespace Kestrel
