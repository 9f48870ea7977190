#include "erase/RecycleRecord.h"

#include "foundation/UniqueHandle.h"

#include <algorithm>
#include <vector>

namespace {

constexpr std::size_t kHeaderBytes = 24;           // version, size, deletion time
constexpr std::size_t kFixedPathUnits = MAX_PATH;  // version 1
constexpr std::size_t kOneByteShort = kHeaderBytes + kFixedPathUnits * 2 - 1;
constexpr std::uint32_t kLongestPathUnits = 32768; // a path of 32,767 units and its NUL
// Version 2's header, count and longest path: no record is longer.
constexpr DWORD kLongestRecord = kHeaderBytes + 4 + kLongestPathUnits * 2;

template <typename Number>
Number littleEndianAt(std::string_view bytes, std::size_t offset)
{
    Number value = 0;
    for (std::size_t index = sizeof(Number); index-- > 0;)
        value = static_cast<Number>((value << 8) | static_cast<unsigned char>(bytes[offset + index]));
    return value;
}

// The UTF-16 text of at most `units` units from the offset, up to its first NUL; nothing when no
// NUL ends it within those units and the bytes.
std::optional<std::wstring> textAt(std::string_view bytes, std::size_t offset, std::size_t units)
{
    std::wstring text;
    for (std::size_t unit = 0; unit < units && offset + 2 * unit + 1 < bytes.size(); ++unit) {
        const auto character = static_cast<wchar_t>(littleEndianAt<std::uint16_t>(bytes, offset + 2 * unit));
        if (character == L'\0')
            return text;
        text += character;
    }
    return std::nullopt;
}

} // namespace

std::optional<RecycleRecord> parseRecycleRecord(std::string_view bytes)
{
    if (bytes.size() < kHeaderBytes)
        return std::nullopt;
    RecycleRecord record;
    record.version = littleEndianAt<std::uint64_t>(bytes, 0);
    record.size = littleEndianAt<std::uint64_t>(bytes, 8);
    const bool oneByteShort = record.version == 1 && bytes.size() == kOneByteShort;
    std::optional<std::wstring> path;
    if (oneByteShort) {
        path = textAt(bytes, kHeaderBytes - 1, kFixedPathUnits);
    } else if (record.version == 1) {
        path = textAt(bytes, kHeaderBytes, kFixedPathUnits);
    } else if (record.version == 2 && bytes.size() >= kHeaderBytes + 4) {
        const std::uint32_t units = littleEndianAt<std::uint32_t>(bytes, kHeaderBytes);
        path = textAt(bytes, kHeaderBytes + 4, std::min(units, kLongestPathUnits));
    } else {
        return std::nullopt;
    }
    if (!oneByteShort) {
        record.deleted.dwLowDateTime = littleEndianAt<std::uint32_t>(bytes, 16);
        record.deleted.dwHighDateTime = littleEndianAt<std::uint32_t>(bytes, 20);
    }
    if (!path) {
        record.damaged = true;
        return record;
    }
    if (path->empty())
        return std::nullopt;
    record.originalPath = std::move(*path);
    return record;
}

std::optional<RecycleRecord> readRecycleRecord(const std::wstring& path)
{
    const Kestrel::UniqueFileHandle file(CreateFileW(path.c_str(), GENERIC_READ,
                                                     FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                                     OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
    if (!file)
        return std::nullopt;
    std::vector<char> bytes(kLongestRecord);
    DWORD read = 0;
    if (!ReadFile(file.get(), bytes.data(), kLongestRecord, &read, nullptr))
        return std::nullopt;
    return parseRecycleRecord(std::string_view(bytes.data(), read));
}
