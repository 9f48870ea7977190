#include "tests/support/ScratchFolder.h"

#include <windows.h>

#include <atomic>
#include <stdexcept>

namespace KestrelTest {

namespace {

std::wstring tempPath()
{
    wchar_t buffer[MAX_PATH + 1] = {};
    const DWORD length = GetTempPathW(MAX_PATH + 1, buffer);
    if (length == 0 || length > MAX_PATH)
        throw std::runtime_error("no temporary folder");
    std::wstring path(buffer, length);
    if (!path.empty() && path.back() == L'\\')
        path.pop_back();
    return path;
}

std::wstring uniqueName()
{
    static std::atomic<unsigned> counter{0};
    return L"kww-test-" + std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(GetTickCount()) +
           L"-" + std::to_wstring(counter++);
}

} // namespace

ScratchFolder::ScratchFolder() : path_(tempPath() + L"\\" + uniqueName())
{
    if (!CreateDirectoryW(path_.c_str(), nullptr))
        throw std::runtime_error("cannot create the scratch folder");
}

ScratchFolder::~ScratchFolder()
{
    removeTree(path_);
}

bool removeTree(const std::wstring& folder)
{
    const DWORD attributes = GetFileAttributesW(folder.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return true;
    if (attributes & FILE_ATTRIBUTE_REPARSE_POINT)
        return false;

    bool removedAll = true;
    WIN32_FIND_DATAW entry;
    HANDLE find = FindFirstFileW((folder + L"\\*").c_str(), &entry);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            const std::wstring name = entry.cFileName;
            if (name == L"." || name == L"..")
                continue;
            const std::wstring child = folder + L"\\" + name;
            if (entry.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) {
                removedAll = false;
            } else if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                removedAll = removeTree(child) && removedAll;
            } else {
                SetFileAttributesW(child.c_str(), FILE_ATTRIBUTE_NORMAL);
                removedAll = DeleteFileW(child.c_str()) && removedAll;
            }
        } while (FindNextFileW(find, &entry));
        FindClose(find);
    }
    SetFileAttributesW(folder.c_str(), FILE_ATTRIBUTE_NORMAL | FILE_ATTRIBUTE_DIRECTORY);
    return RemoveDirectoryW(folder.c_str()) && removedAll;
}

bool writeFile(const std::wstring& path, const std::string& bytes)
{
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    const BOOL ok = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
    return ok && written == bytes.size();
}

std::string readFile(const std::wstring& path)
{
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return {};
    std::string bytes;
    char chunk[65536];
    DWORD read = 0;
    while (ReadFile(file, chunk, sizeof chunk, &read, nullptr) && read > 0)
        bytes.append(chunk, read);
    CloseHandle(file);
    return bytes;
}

} // namespace KestrelTest
