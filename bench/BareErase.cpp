#include "bench/BareErase.h"

#include "foundation/UniqueHandle.h"

#include <windows.h>

#include <cstring>
#include <vector>

namespace {

constexpr DWORD kChunk = 65536;

bool renameTo(HANDLE file, const std::wstring& ntPath)
{
    const std::size_t nameBytes = ntPath.size() * sizeof(wchar_t);
    std::vector<unsigned char> record(offsetof(FILE_RENAME_INFO, FileName) + nameBytes + sizeof(wchar_t), 0);
    auto* rename = reinterpret_cast<FILE_RENAME_INFO*>(record.data());
    rename->FileNameLength = static_cast<DWORD>(nameBytes);
    std::memcpy(rename->FileName, ntPath.c_str(), nameBytes);
    return SetFileInformationByHandle(file, FileRenameInfo, record.data(), static_cast<DWORD>(record.size())) != 0;
}

bool eraseFile(const std::wstring& folder, const std::wstring& path, std::uint64_t size,
               const std::vector<unsigned char>& buffer)
{
    const Kestrel::UniqueFileHandle file(CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE | DELETE,
                                                     FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0,
                                                     nullptr));
    if (!file)
        return false;
    std::uint64_t remaining = size;
    do {
        const DWORD chunk = remaining >= kChunk ? kChunk : static_cast<DWORD>(remaining);
        DWORD written = 0;
        if (!WriteFile(file.get(), buffer.data(), chunk, &written, nullptr) || written != chunk)
            return false;
        remaining -= chunk;
    } while (remaining > 0);
    FILE_END_OF_FILE_INFO end{};
    if (!FlushFileBuffers(file.get()) || !SetFileInformationByHandle(file.get(), FileEndOfFileInfo, &end, sizeof end))
        return false;
    for (int n = 0; !renameTo(file.get(), L"\\??\\" + folder + L"\\KestrelWipewell." + std::to_wstring(n)); ++n) {
        if (GetLastError() != ERROR_ALREADY_EXISTS)
            break;
    }
    FILE_DISPOSITION_INFO disposition{TRUE};
    return SetFileInformationByHandle(file.get(), FileDispositionInfo, &disposition, sizeof disposition) != 0;
}

std::uint64_t eraseContent(const std::wstring& folder, const std::vector<unsigned char>& buffer)
{
    std::uint64_t gone = 0;
    WIN32_FIND_DATAW entry;
    const Kestrel::UniqueFindHandle search(FindFirstFileW((folder + L"\\*").c_str(), &entry));
    if (!search)
        return 0;
    std::vector<WIN32_FIND_DATAW> entries;
    do {
        if (std::wcscmp(entry.cFileName, L".") != 0 && std::wcscmp(entry.cFileName, L"..") != 0)
            entries.push_back(entry);
    } while (FindNextFileW(search.get(), &entry));
    for (const WIN32_FIND_DATAW& item : entries) {
        const std::wstring path = folder + L"\\" + item.cFileName;
        if (item.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            gone += eraseContent(path, buffer);
            gone += RemoveDirectoryW(path.c_str()) ? 1 : 0;
        } else {
            const std::uint64_t size = (static_cast<std::uint64_t>(item.nFileSizeHigh) << 32) | item.nFileSizeLow;
            gone += eraseFile(folder, path, size, buffer) ? 1 : 0;
        }
    }
    return gone;
}

} // namespace

std::uint64_t eraseBare(const std::wstring& folder)
{
    const std::vector<unsigned char> buffer(kChunk, 0xA5);
    const std::uint64_t gone = eraseContent(folder, buffer);
    return gone + (RemoveDirectoryW(folder.c_str()) ? 1 : 0);
}
