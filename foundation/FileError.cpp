#include "foundation/FileError.h"

#include "foundation/ExtendedPath.h"
#include "foundation/FailureCollector.h"
#include "foundation/FileSpec.h"
#include "foundation/Logger.h"

namespace Kestrel {

const wchar_t* fileErrorFormat(DWORD error) noexcept
{
    switch (error) {
    case ERROR_FILE_NOT_FOUND:
        return L"File not found: %s";
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_DRIVE:
    case ERROR_BAD_NETPATH:
    case ERROR_CANT_RESOLVE_FILENAME:
    case ERROR_CANNOT_MAKE:
        return L"Path not found: %s";
    case ERROR_ACCESS_DENIED:
        return L"Access denied: %s";
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS:
        return L"File already exists: %s";
    case ERROR_INVALID_NAME:
    case ERROR_BAD_PATHNAME:
    case ERROR_FILENAME_EXCED_RANGE:
    case ERROR_DIRECTORY:
        return L"Path syntax error: %s";
    case ERROR_FILE_READ_ONLY:
        return L"File is read-only: %s";
    case ERROR_DIR_NOT_EMPTY:
        return L"Directory not empty: %s";
    case ERROR_WRITE_FAULT:
        return L"Write file error: %s";
    case ERROR_READ_FAULT:
        return L"Read file error: %s";
    case ERROR_SHARING_VIOLATION:
        return L"Sharing violation: %s";
    case ERROR_LOCK_VIOLATION:
        return L"Lock violation: %s";
    case ERROR_HANDLE_EOF:
        return L"EOF reached: %s";
    case ERROR_HANDLE_DISK_FULL:
    case ERROR_DISK_FULL:
        return L"Disk is full: %s";
    case ERROR_NEGATIVE_SEEK:
        return L"Negative seek: %s";
    default:
        return L"File error: %s";
    }
}

std::wstring fileErrorText(DWORD error, const std::wstring& path)
{
    std::wstring text = fileErrorFormat(error);
    return text.replace(text.find(L"%s"), 2, path);
}

void reportFileError(const std::wstring& path)
{
    // First, before anything else can touch the thread's last error.
    const DWORD error = GetLastError();
    reportFileError(path, error);
}

void reportFileError(const std::wstring& path, DWORD error)
{
    // The path as the user knows it, also for an item addressed in the extended-length form.
    const std::wstring shown = displayPath(path);
    FailureCollector::noteFileError(error, shown);
    Logger::instance().log(LogLevel::Error, fileErrorFormat(error), shown.c_str());
}

} // namespace Kestrel
