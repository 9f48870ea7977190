#include "erase/FileOverwrite.h"

#include "erase/EraseTask.h"
#include "erase/FillWriter.h"
#include "erase/ReadBack.h"
#include "foundation/ExtendedPath.h"
#include "foundation/Logger.h"

namespace {

void reportWriteFailure(const std::wstring& path)
{
    Kestrel::Logger::instance().log(Kestrel::LogLevel::Error, L"Failed to write to: %s. ",
                                    Kestrel::displayPath(path).c_str());
}

OverwriteResult overwriteRange(HANDLE file, const ByteRange& range, const OverwriteBuffer& buffer,
                               const EraseTask& task, ProgressMeter& meter)
{
    LARGE_INTEGER start;
    start.QuadPart = static_cast<LONGLONG>(range.offset);
    if (!SetFilePointerEx(file, start, nullptr, FILE_BEGIN))
        return OverwriteResult::Failed;
    std::uint64_t remaining = range.length;
    // At least one write, so that an empty file takes the same road as any other.
    for (;;) {
        const std::uint32_t chunk =
            remaining >= kWriteChunkSize ? kWriteChunkSize : static_cast<std::uint32_t>(remaining);
        // WriteFile can succeed with fewer bytes than asked when the disk fills up.
        if (!writeFill(file, buffer, chunk).complete(chunk))
            return OverwriteResult::Failed;
        remaining -= chunk;
        meter.add(chunk);
        if (remaining == 0)
            return OverwriteResult::Complete;
        if (task.abortRequested())
            return OverwriteResult::Stopped;
    }
}

} // namespace

OverwriteResult overwriteFile(HANDLE file, const std::wstring& path, const ByteRanges& ranges,
                              const OverwriteBuffer& buffer, EraseTask& task, ProgressMeter& meter)
{
    for (const ByteRange& range : ranges) {
        const OverwriteResult result = overwriteRange(file, range, buffer, task, meter);
        if (result == OverwriteResult::Failed)
            reportWriteFailure(path);
        if (result != OverwriteResult::Complete)
            return result;
    }
    // The new bytes must be on the disk before the file is emptied: a truncation drops dirty
    // cached pages, which leaves every old byte where it was while the task reports success.
    if (!FlushFileBuffers(file)) {
        reportWriteFailure(path);
        return OverwriteResult::Failed;
    }
    if (byteCount(ranges) == 0)
        return OverwriteResult::Complete;
    const ReadBackResult check = readBack(file, path, ranges, buffer, task.verifyMode(), task);
    switch (check.outcome) {
    case ReadBackOutcome::Differs:
        return OverwriteResult::Failed;
    case ReadBackOutcome::Stopped:
        return OverwriteResult::Stopped;
    case ReadBackOutcome::Matched:
        break;
    }
    task.noteReadBack(check.extent);
    return OverwriteResult::Complete;
}
