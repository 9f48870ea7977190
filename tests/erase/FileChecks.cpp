#include "tests/erase/FileChecks.h"

#include "foundation/UniqueHandle.h"

bool exists(const std::wstring& path)
{
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::vector<std::wstring> namesIn(const std::wstring& folder)
{
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW entry;
    Kestrel::UniqueFindHandle search(FindFirstFileW((folder + L"\\*").c_str(), &entry));
    if (!search)
        return names;
    do {
        const std::wstring name = entry.cFileName;
        if (name != L"." && name != L"..")
            names.push_back(name);
    } while (FindNextFileW(search.get(), &entry));
    return names;
}

std::string recognisableBytes(std::size_t size, const std::string& tag)
{
    std::string bytes;
    bytes.reserve(size + 64);
    for (unsigned line = 0; bytes.size() < size; ++line)
        bytes += tag + " line " + std::to_string(line) + "\n";
    bytes.resize(size);
    return bytes;
}

bool writeFlushed(const std::wstring& path, const std::string& bytes)
{
    Kestrel::UniqueFileHandle file(
        CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    return file && WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
           written == bytes.size() && FlushFileBuffers(file.get());
}

