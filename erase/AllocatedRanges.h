#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// A stretch of a file, in bytes from its start.
struct ByteRange {
    std::uint64_t offset = 0;
    std::uint64_t length = 0;
};
using ByteRanges = std::vector<ByteRange>;

[[nodiscard]] std::uint64_t byteCount(const ByteRanges& ranges) noexcept;

// The parts of an open file that hold data on the disk, within its size: the whole file, or for a
// file whose attributes (read through the handle) say sparse, the ranges the file system
// allocated. Writing into a sparse file's holes would allocate them, and a large one can fill the
// drive; a hole holds no old data. A sparse file whose ranges cannot be read counts as whole.
[[nodiscard]] ByteRanges allocatedRangesOf(HANDLE file, const std::wstring& path, DWORD attributes,
                                           std::uint64_t size);

// Wine marks no file sparse and answers FSCTL_QUERY_ALLOCATED_RANGES with ERROR_NOT_SUPPORTED:
// tests answer both questions for a path here (nothing: not sparse); nullptr asks the file system.
using SparseRangesSource = std::optional<ByteRanges> (*)(const std::wstring& path);
void setSparseRangesSourceForTests(SparseRangesSource source) noexcept;
