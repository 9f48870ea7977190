#include "erase/AllocatedRanges.h"

#include <winioctl.h>

#include <algorithm>
#include <atomic>

namespace {

std::atomic<SparseRangesSource> sparseRangesSource{nullptr};

// The answer comes in pieces when the buffer is too small: each next question starts where the
// last range of the previous answer ended.
std::optional<ByteRanges> queryAllocatedRanges(HANDLE file, std::uint64_t size)
{
    ByteRanges ranges;
    FILE_ALLOCATED_RANGE_BUFFER asked{};
    asked.Length.QuadPart = static_cast<LONGLONG>(size);
    FILE_ALLOCATED_RANGE_BUFFER answer[64];
    for (;;) {
        DWORD bytes = 0;
        const bool all = DeviceIoControl(file, FSCTL_QUERY_ALLOCATED_RANGES, &asked, sizeof asked, answer,
                                         sizeof answer, &bytes, nullptr);
        if (!all && GetLastError() != ERROR_MORE_DATA)
            return std::nullopt;
        const std::size_t count = bytes / sizeof answer[0];
        for (std::size_t index = 0; index < count; ++index) {
            ranges.push_back({static_cast<std::uint64_t>(answer[index].FileOffset.QuadPart),
                              static_cast<std::uint64_t>(answer[index].Length.QuadPart)});
        }
        if (all)
            return ranges;
        if (count == 0)
            return std::nullopt;
        asked.FileOffset.QuadPart = static_cast<LONGLONG>(ranges.back().offset + ranges.back().length);
        asked.Length.QuadPart = static_cast<LONGLONG>(size) - asked.FileOffset.QuadPart;
    }
}

std::optional<ByteRanges> sparseRangesOf(HANDLE file, const std::wstring& path, DWORD attributes, std::uint64_t size)
{
    if (const SparseRangesSource source = sparseRangesSource.load())
        return source(path);
    if ((attributes & FILE_ATTRIBUTE_SPARSE_FILE) == 0)
        return std::nullopt;
    return queryAllocatedRanges(file, size);
}

} // namespace

std::uint64_t byteCount(const ByteRanges& ranges) noexcept
{
    std::uint64_t total = 0;
    for (const ByteRange& range : ranges)
        total += range.length;
    return total;
}

ByteRanges allocatedRangesOf(HANDLE file, const std::wstring& path, DWORD attributes, std::uint64_t size)
{
    const auto sparse = sparseRangesOf(file, path, attributes, size);
    if (!sparse)
        return {{0, size}};
    ByteRanges ranges;
    for (const ByteRange& range : *sparse) {
        if (range.offset < size && range.length > 0)
            ranges.push_back({range.offset, std::min(range.length, size - range.offset)});
    }
    return ranges;
}

void setSparseRangesSourceForTests(SparseRangesSource source) noexcept
{
    sparseRangesSource.store(source);
}
