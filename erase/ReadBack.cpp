#include "erase/ReadBack.h"

#include "erase/EraseTask.h"
#include "erase/FolderIdentity.h"
#include "erase/PseudoRandom.h"
#include "foundation/ExtendedPath.h"
#include "foundation/FailureCollector.h"
#include "foundation/Logger.h"
#include "foundation/UniqueHandle.h"

#include <algorithm>
#include <atomic>
#include <cstring>
#include <memory>
#include <vector>

namespace {

// Reads start and end on multiples of the pattern's block: 64 KiB is a multiple of every sector
// size a Windows volume has (512 bytes or 4 KiB), as unbuffered reads require of their offsets
// and sizes; the buffer comes from VirtualAlloc, aligned to a page and more.
constexpr std::uint32_t kBlock = kOverwriteChunkSize;
constexpr std::uint64_t kSampleBlocks = 1000;
// The largest single read, as large as the largest write.
constexpr std::uint32_t kReadSize = kWriteChunkSize;
constexpr std::size_t kGeneratorStateBytes = 256;

std::atomic<BeforeReadBack> beforeReadBack{nullptr};

struct PagesFree {
    void operator()(std::uint8_t* pages) const noexcept { VirtualFree(pages, 0, MEM_RELEASE); }
};
using UniquePages = std::unique_ptr<std::uint8_t, PagesFree>;

// Bytes [offset, offset + length) of the file, whose pattern starts over at patternStart.
struct Span {
    std::uint64_t offset;
    std::uint64_t length;
    std::uint64_t patternStart;
};

std::uint64_t alignDown(std::uint64_t value) noexcept { return value - value % kBlock; }
std::uint64_t alignUp(std::uint64_t value) noexcept { return alignDown(value + kBlock - 1); }

// A whole read of a large file and a sample of one: a block at a pseudo-random place in each
// thousandth of the bytes written, so that the blocks spread over all of them.
std::vector<Span> spansToRead(const ByteRanges& ranges, VerifyMode mode, ReadBackExtent& extent)
{
    std::vector<Span> spans;
    const std::uint64_t total = byteCount(ranges);
    if (mode == VerifyMode::All || total <= kSampleBlocks * kBlock) {
        extent = ReadBackExtent::Whole;
        for (const ByteRange& range : ranges)
            spans.push_back({range.offset, range.length, range.offset});
        return spans;
    }
    extent = ReadBackExtent::Sample;
    PseudoRandom generator(kGeneratorStateBytes);
    generator.seed(GetTickCount());
    auto range = ranges.begin();
    std::uint64_t rangeStart = 0; // where the range starts among all the bytes written
    for (std::uint64_t part = 0; part < kSampleBlocks; ++part) {
        const std::uint64_t from = total / kSampleBlocks * part + total % kSampleBlocks * part / kSampleBlocks;
        const std::uint64_t to =
            total / kSampleBlocks * (part + 1) + total % kSampleBlocks * (part + 1) / kSampleBlocks;
        const std::uint64_t random = (static_cast<std::uint64_t>(generator.next()) << 31) | generator.next();
        const std::uint64_t at = from + random % (to - from);
        while (at >= rangeStart + range->length)
            rangeStart += (range++)->length;
        const std::uint64_t offset = range->offset + alignDown(at - rangeStart);
        spans.push_back({offset, std::min<std::uint64_t>(kBlock, range->offset + range->length - offset), range->offset});
    }
    return spans;
}

class Reader {
public:
    Reader(HANDLE file, const std::uint8_t* block, std::uint8_t* pages, const EraseTask& task) noexcept
        : file_(file), block_(block), pages_(pages), task_(task)
    {
    }

    // What the span holds: the pattern (Matched), other bytes or none (Differs, error set).
    ReadBackOutcome check(const Span& span)
    {
        const std::uint64_t end = span.offset + span.length;
        for (std::uint64_t from = alignDown(span.offset); from < end; from += kReadSize) {
            // As with the writes, a stop lets the read under way finish: a file whose overwrite
            // and first read are done is finished, as it was before files were read back.
            if (reads_++ > 0 && task_.abortRequested())
                return ReadBackOutcome::Stopped;
            const auto ask = static_cast<DWORD>(std::min<std::uint64_t>(kReadSize, alignUp(end) - from));
            OVERLAPPED at{};
            at.Offset = static_cast<DWORD>(from);
            at.OffsetHigh = static_cast<DWORD>(from >> 32);
            DWORD got = 0;
            if (!ReadFile(file_, pages_, ask, &got, &at) && (error_ = GetLastError()) != ERROR_HANDLE_EOF)
                return ReadBackOutcome::Differs;
            const std::uint64_t first = std::max(from, span.offset);
            const std::uint64_t last = std::min<std::uint64_t>(from + ask, end);
            // A file that ends before what was written was cut meanwhile. A read past the end
            // gives the bytes up to it: the last sector is read whole, its tail never compared.
            if (from + got < last || !matches(first, last, from, span.patternStart)) {
                error_ = kReadBackDiffers;
                return ReadBackOutcome::Differs;
            }
        }
        return ReadBackOutcome::Matched;
    }

    // Why the last check found a difference: a read's error, or other bytes.
    [[nodiscard]] DWORD error() const noexcept { return error_; }

private:
    // Bytes [first, last) of the file, read into the pages from `from`, against the pattern.
    [[nodiscard]] bool matches(std::uint64_t first, std::uint64_t last, std::uint64_t from,
                               std::uint64_t patternStart) const noexcept
    {
        while (first < last) {
            const auto inBlock = static_cast<std::uint32_t>((first - patternStart) % kBlock);
            const auto count = static_cast<std::size_t>(std::min<std::uint64_t>(kBlock - inBlock, last - first));
            if (std::memcmp(pages_ + (first - from), block_ + inBlock, count) != 0)
                return false;
            first += count;
        }
        return true;
    }

    HANDLE file_;
    const std::uint8_t* block_;
    std::uint8_t* pages_;
    const EraseTask& task_;
    std::size_t reads_ = 0;
    DWORD error_ = ERROR_SUCCESS;
};

// A second handle on the file `written` holds: unbuffered, so that each read asks the drive, and
// without recall, so that a file whose data left the disk meanwhile is not fetched back. The path
// is opened anew, so the handle must prove it holds the same file.
Kestrel::UniqueFileHandle openForReadBack(HANDLE written, const std::wstring& path, DWORD& error)
{
    // The writer's handle shares reading and writing; one with the right to delete needs that
    // shared too.
    Kestrel::UniqueFileHandle reader(CreateFileW(
        path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
        FILE_FLAG_NO_BUFFERING | FILE_FLAG_OPEN_NO_RECALL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
    if (!reader) {
        error = GetLastError();
        return reader;
    }
    const auto identity = identityOf(written);
    if (!identity || identityOf(reader.get()) != identity) {
        error = kReadBackDiffers;
        reader.reset();
    }
    return reader;
}

} // namespace

ReadBackResult compareWritten(HANDLE written, const std::wstring& path, const ByteRanges& ranges,
                              const OverwriteBuffer& buffer, VerifyMode mode, const EraseTask& task, DWORD& error)
{
    ReadBackResult result{ReadBackOutcome::Matched, ReadBackExtent::None};
    if (mode == VerifyMode::Off || byteCount(ranges) == 0)
        return result;
    if (const BeforeReadBack hook = beforeReadBack.load())
        hook(path);
    const std::vector<Span> spans = spansToRead(ranges, mode, result.extent);
    error = ERROR_NOT_ENOUGH_MEMORY;
    const UniquePages pages(
        static_cast<std::uint8_t*>(VirtualAlloc(nullptr, kReadSize, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE)));
    const Kestrel::UniqueFileHandle reader = pages ? openForReadBack(written, path, error) : Kestrel::UniqueFileHandle();
    if (!reader)
        return {ReadBackOutcome::Differs, ReadBackExtent::None};
    Reader read(reader.get(), buffer.bytes(kBlock), pages.get(), task);
    for (const Span& span : spans) {
        result.outcome = read.check(span);
        error = read.error();
        if (result.outcome != ReadBackOutcome::Matched)
            return result;
    }
    return result;
}

ReadBackResult readBack(HANDLE written, const std::wstring& path, const ByteRanges& ranges,
                        const OverwriteBuffer& buffer, VerifyMode mode, const EraseTask& task)
{
    DWORD error = ERROR_SUCCESS;
    const ReadBackResult result = compareWritten(written, path, ranges, buffer, mode, task, error);
    if (result.outcome == ReadBackOutcome::Differs)
        reportReadBackDifference(path, error);
    return result;
}

void reportReadBackDifference(const std::wstring& path, DWORD error)
{
    const std::wstring shown = Kestrel::displayPath(path);
    Kestrel::FailureCollector::noteFileError(error, shown);
    Kestrel::Logger::instance().log(Kestrel::LogLevel::Error, L"The overwrite of %s could not be read back as written. ",
                                    shown.c_str());
}

void setBeforeReadBackForTests(BeforeReadBack hook) noexcept
{
    beforeReadBack.store(hook);
}
