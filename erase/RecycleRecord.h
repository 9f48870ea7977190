#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// The record ("$I...") Windows keeps beside each item of the Recycle Bin, little-endian:
// version 1 (Vista to 8): a 64-bit version, the item's 64-bit size, its deletion time (FILETIME),
// then the original path in a fixed field of 260 UTF-16 units ended by a NUL (544 bytes in all);
// some localized Windows Vista wrote it one byte short (543 bytes), the path starting one byte
// earlier;
// version 2 (10 and later): the same three fields, then a 32-bit count of UTF-16 units (the NUL
// included) and the original path of that length.
struct RecycleRecord {
    std::uint64_t version = 0;
    std::uint64_t size = 0;
    FILETIME deleted{}; // zero in a record one byte short, whose missing byte is not known
    std::wstring originalPath;
    // Its path runs past the record's end without its NUL: the path is not known, and none is
    // given, not even the part there is.
    bool damaged = false;
};

// The record in those bytes; nothing for another version, a short header or an empty path.
[[nodiscard]] std::optional<RecycleRecord> parseRecycleRecord(std::string_view bytes);

// Reads the record file at an extended-length path, sharing it with everyone, without following
// a link; nothing when it cannot be read or is no record. Nothing is logged.
[[nodiscard]] std::optional<RecycleRecord> readRecycleRecord(const std::wstring& path);
