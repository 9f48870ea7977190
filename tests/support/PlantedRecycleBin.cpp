#include "tests/support/PlantedRecycleBin.h"

#include "foundation/UniqueHandle.h"
#include "tests/support/ScratchFolder.h"
#include "tests/support/WineDriveName.h"

#include <windows.h>

namespace KestrelTest {

namespace {

void appendLittleEndian(std::string& bytes, std::uint64_t value, int count)
{
    for (int index = 0; index < count; ++index)
        bytes += static_cast<char>((value >> (8 * index)) & 0xFF);
}

std::wstring plantBin(const std::wstring& root, const std::wstring& sid)
{
    const std::wstring bins = root + L"$Recycle.Bin", folder = bins + L"\\" + sid;
    CreateDirectoryW(bins.c_str(), nullptr);
    const bool made = CreateDirectoryW(folder.c_str(), nullptr) &&
                      writeFile(folder + L"\\desktop.ini", "[.ShellClassInfo]\r\nLocalizedResourceName=bin\r\n");
    return made ? folder : std::wstring();
}

} // namespace

PlantedBins plantBins(const std::wstring& folder, std::string& why)
{
    PlantedBins planted;
    planted.drive = WineDrive::define(folder, WineDrive::Type::Fixed, why);
    // The bin folder is proven by where its handle is: Wine must name it by the new letter.
    if (!planted.drive || !waitUntilWineNamesTheRoot(planted.drive->root())) {
        why += " (no fixed drive named by its letter)";
        return {};
    }
    planted.mine = plantBin(planted.drive->root(), kWineUserSid);
    planted.theirs = plantBin(planted.drive->root(), kOtherUserSid);
    if (planted.mine.empty() || planted.theirs.empty())
        why = "the bin folders cannot be made";
    return planted;
}

std::string recycleRecord(int version, std::uint64_t size, const std::wstring& originalPath)
{
    std::string bytes;
    appendLittleEndian(bytes, static_cast<std::uint64_t>(version), 8);
    appendLittleEndian(bytes, size, 8);
    appendLittleEndian(bytes, 0x01DA000000000000ULL, 8); // a deletion time in 2023
    std::wstring path = originalPath + L'\0';
    if (version == 2)
        appendLittleEndian(bytes, path.size(), 4);
    else
        path.resize(MAX_PATH, L'\0');
    for (const wchar_t unit : path)
        appendLittleEndian(bytes, static_cast<std::uint16_t>(unit), 2);
    return bytes;
}

std::map<std::wstring, std::string> filesIn(const std::wstring& folder)
{
    std::map<std::wstring, std::string> files;
    WIN32_FIND_DATAW entry;
    const Kestrel::UniqueFindHandle search(FindFirstFileW((folder + L"\\*").c_str(), &entry));
    for (bool more = static_cast<bool>(search); more; more = FindNextFileW(search.get(), &entry) != FALSE) {
        const std::wstring name = entry.cFileName;
        if (name != L"." && name != L"..")
            files[name] = entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY ? "<folder>" : readFile(folder + L"\\" + name);
    }
    return files;
}

} // namespace KestrelTest
