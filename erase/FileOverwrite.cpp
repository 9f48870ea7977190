#include "erase/FileOverwrite.h"

#include "erase/EraseTask.h"
#include "erase/FillWriter.h"
#include "foundation/ExtendedPath.h"
#include "foundation/Logger.h"

namespace {

void reportWriteFailure(const Kestrel::FileSpec& file)
{
    Kestrel::Logger::instance().log(Kestrel::LogLevel::Error, L"Failed to write to: %s. ",
                                    Kestrel::displayPath(file.path()).c_str());
}

} // namespace

OverwriteResult overwriteFile(Kestrel::FileSpec& file, std::uint64_t size, const OverwriteBuffer& buffer,
                              const EraseTask& task, ProgressMeter& meter)
{
    std::uint64_t remaining = size;
    // At least one write, so that an empty file takes the same road as any other.
    for (;;) {
        const std::uint32_t chunk =
            remaining >= kWriteChunkSize ? kWriteChunkSize : static_cast<std::uint32_t>(remaining);
        // WriteFile can succeed with fewer bytes than asked when the disk fills up.
        if (!file.isOpen() || !writeFill(file.handle(), buffer, chunk).complete(chunk)) {
            reportWriteFailure(file);
            return OverwriteResult::Failed;
        }
        remaining -= chunk;
        meter.add(chunk);
        if (remaining == 0)
            break;
        if (task.abortRequested())
            return OverwriteResult::Stopped;
    }
    // The new bytes must be on the disk before the file is emptied: a truncation drops dirty
    // cached pages, which leaves every old byte where it was while the task reports success.
    if (!file.flush()) {
        reportWriteFailure(file);
        return OverwriteResult::Failed;
    }
    return OverwriteResult::Complete;
}
