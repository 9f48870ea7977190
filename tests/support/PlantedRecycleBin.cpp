#include "tests/support/PlantedRecycleBin.h"

#include "tests/support/ScratchFolder.h"

#include <windows.h>

namespace KestrelTest {

namespace {

void appendLittleEndian(std::string& bytes, std::uint64_t value, int count)
{
    for (int index = 0; index < count; ++index)
        bytes += static_cast<char>((value >> (8 * index)) & 0xFF);
}

} // namespace

std::wstring plantRecycleBin(const std::wstring& root, const std::wstring& sid)
{
    const std::wstring bins = root + L"$Recycle.Bin";
    const std::wstring folder = bins + L"\\" + sid;
    CreateDirectoryW(bins.c_str(), nullptr);
    if (!CreateDirectoryW(folder.c_str(), nullptr) ||
        !writeFile(folder + L"\\desktop.ini", "[.ShellClassInfo]\r\nCLSID={645FF040-5081-101B-9F08-00AA002F954E}\r\n"))
        return {};
    return folder;
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

} // namespace KestrelTest
