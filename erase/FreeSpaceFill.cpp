#include "erase/FreeSpaceFill.h"

#include "erase/FillWriter.h"
#include "foundation/ExtendedPath.h"
#include "foundation/FileSpec.h"

#include <algorithm>
#include <limits>

namespace {

using Kestrel::UniqueFileHandle;

// Left free until the small files are made: on an NTFS drive full to the last cluster a folder's
// index cannot grow, so the small files stopped after a few dozen names and the folder could not
// even remove the large fill file afterwards. 4 MiB was enough for thousands of names. ntfs-3g
// gives a new file a record past the last one it gave before it goes back to the freed ones, so
// the small files must be able to grow the table that far: with 1 MiB left, 300 freed records of
// 300 kept their content.
constexpr std::uint64_t kIndexReserve = 4 * 1024 * 1024;
// As much content as fits inside a record of NTFS's file table (1 KiB) beside the file's name and
// attributes: each small file takes over a freed record, and the old content and name with it.
constexpr std::uint32_t kSmallFileBytes = 700;
// The smallest sector: a write of less is never refused for want of room.
constexpr std::uint32_t kSmallestSector = 512;

// The smallest write the fill tries before it counts the drive full: one sector, not one cluster.
// Wine reports 4 KiB clusters for every Unix file system, and a fill that stopped at 4 KiB left
// three 1 KiB blocks of old text on an ext4 drive.
std::uint32_t smallestWriteOn(const std::wstring& root)
{
    DWORD sectorsPerCluster = 0, bytesPerSector = 0, freeClusters = 0, clusters = 0;
    if (!GetDiskFreeSpaceW(root.c_str(), &sectorsPerCluster, &bytesPerSector, &freeClusters, &clusters))
        return kSmallestSector;
    const std::uint64_t cluster = static_cast<std::uint64_t>(sectorsPerCluster) * bytesPerSector;
    return std::clamp<std::uint64_t>(std::min<std::uint64_t>(cluster, bytesPerSector), kSmallestSector,
                                     kWriteChunkSize);
}

bool isDiskFull(DWORD error) noexcept
{
    return error == ERROR_DISK_FULL || error == ERROR_HANDLE_DISK_FULL;
}

} // namespace

std::optional<DriveSpace> spaceOf(const std::wstring& root)
{
    ULARGE_INTEGER available{}, total{}, free{};
    if (!GetDiskFreeSpaceExW(root.c_str(), &available, &total, &free))
        return std::nullopt;
    return DriveSpace{available.QuadPart, free.QuadPart};
}

FreeSpaceFill::FreeSpaceFill(EraseTask& task, FillFolder& folder, const std::wstring& root, std::uint64_t available,
                             bool withSmallFiles)
    : task_(task), folder_(folder), root_(root), smallestWrite_(smallestWriteOn(root)),
      withSmallFiles_(withSmallFiles), reserve_(kIndexReserve), meter_(task, available)
{
}

FreeSpaceFill::Outcome FreeSpaceFill::run()
{
    Outcome outcome = Outcome::Filled;
    if (withSmallFiles_) {
        outcome = fillLarge(0, true);
        if (outcome == Outcome::Filled)
            outcome = fillSmall();
    }
    if (outcome == Outcome::Filled)
        outcome = fillLarge(1, false);
    if (const auto space = spaceOf(root_))
        unreached_ = space->free;
    return outcome;
}

bool FreeSpaceFill::release()
{
    bool largeGone = true;
    for (LargeFile& file : largeFiles_) {
        file.handle.reset();
        largeGone = folder_.removeFileIfLeft(file.name) && largeGone;
    }
    smallFiles_.clear();
    return folder_.removeLeftFiles() && largeGone;
}

void FreeSpaceFill::reportFailure() const
{
    if (failure_)
        Kestrel::reportFileError(failure_->path, failure_->error);
}

FreeSpaceFill::Outcome FreeSpaceFill::fail(DWORD error, const std::wstring& name)
{
    failure_ = Failure{error, Kestrel::childPath(folder_.path(), name)};
    return Outcome::Failed;
}

FreeSpaceFill::Outcome FreeSpaceFill::fillLarge(unsigned numberOfFile, bool keepReserve)
{
    const std::wstring name = largeFillName(numberOfFile);
    DWORD error = 0;
    UniqueFileHandle file = folder_.createFile(name, error);
    if (!file)
        return isDiskFull(error) || !keepReserve ? Outcome::Filled : fail(error, name);
    const HANDLE handle = file.get();
    largeFiles_.push_back({name, std::move(file)});
    Outcome outcome = Outcome::Filled;
    for (;;) {
        std::uint64_t limit = std::numeric_limits<std::uint64_t>::max();
        if (keepReserve) {
            const auto space = spaceOf(root_);
            if (!space || space->available <= reserve_ + kWriteChunkSize)
                break;
            limit = space->available - reserve_;
        }
        const Fill fill = fillFile(handle, limit);
        if (fill.end == FillEnd::Failed)
            return fail(fill.error, name);
        if (fill.end == FillEnd::Stopped)
            outcome = Outcome::Stopped;
        if (fill.end != FillEnd::Reached || !keepReserve)
            break;
    }
    // The bytes must reach the disk before the file goes: a file deleted with its pages
    // still in the cache never has them written.
    if (!FlushFileBuffers(handle))
        return fail(GetLastError(), name);
    return outcome;
}

FreeSpaceFill::Fill FreeSpaceFill::fillFile(HANDLE file, std::uint64_t limit)
{
    std::uint32_t chunk = kWriteChunkSize;
    std::uint64_t done = 0;
    while (done < limit) {
        if (task_.abortRequested())
            return {FillEnd::Stopped};
        const auto asked = static_cast<std::uint32_t>(std::min<std::uint64_t>(chunk, limit - done));
        const FillWrite write = writeFill(file, fill_, asked);
        done += write.written;
        written_ += write.written;
        meter_.add(write.written);
        if (write.complete(asked))
            continue;
        if (write.error != 0 && !isDiskFull(write.error))
            return {FillEnd::Failed, write.error};
        if (chunk <= smallestWrite_)
            return {FillEnd::Full};
        chunk = std::max(smallestWrite_, chunk / 2);
    }
    return {FillEnd::Reached};
}

FreeSpaceFill::Outcome FreeSpaceFill::fillSmall()
{
    for (unsigned index = 0;; ++index) {
        if (task_.abortRequested())
            return Outcome::Stopped;
        DWORD error = 0;
        UniqueFileHandle file = folder_.createFile(smallFillName(index), error);
        if (!file)
            return Outcome::Filled;
        const FillWrite write = writeFill(file.get(), fill_, kSmallFileBytes);
        written_ += write.written;
        meter_.add(write.written);
        const bool flushed = FlushFileBuffers(file.get()) != 0;
        smallFiles_.push_back(std::move(file));
        ++recordsFilled_;
        if (!write.complete(kSmallFileBytes) || !flushed)
            return Outcome::Filled;
    }
}
