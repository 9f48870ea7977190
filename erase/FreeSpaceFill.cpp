#include "erase/FreeSpaceFill.h"

#include "erase/FillWriter.h"
#include "erase/ReadBack.h"
#include "foundation/ExtendedPath.h"
#include "foundation/FileSpec.h"

#include <winioctl.h>

#include <algorithm>
#include <limits>

namespace {

using Kestrel::UniqueFileHandle;

// Left free until the small files are made: on an NTFS drive full to the last cluster a folder's
// index cannot grow, so the small files stopped after a few dozen names and the folder could not
// even remove the large fill file afterwards. 4 MiB was enough for thousands of names. ntfs-3g
// gives a new file a record past the last one it gave before it goes back to the freed ones, so
// the small files must be able to grow the table that far: with 1 MiB left, 300 freed records of
// 300 kept their content. The same is given back from a large file each time the small files
// still take records when the drive is full again.
constexpr std::uint64_t kIndexReserve = 4 * 1024 * 1024;
// What a record of NTFS's file table holds besides a small file's content: its header, the
// standard information, the name and the data attribute's header. 700 bytes of content fit a
// 1 KiB record: each small file takes over a freed record, and the old content and name with it.
constexpr std::uint32_t kRecordOverhead = 324;
constexpr std::uint32_t kSmallRecord = 1024;
constexpr std::uint32_t kLargeRecord = 4096;
// The smallest sector: a write of less is never refused for want of room.
constexpr std::uint32_t kSmallestSector = 512;
// Free space left at the end up to this many clusters counts as reached: the last write of each
// large file is refused a few clusters short of full.
constexpr std::uint64_t kToleratedClusters = 16;
constexpr std::uint64_t kClusterIfUnknown = 4096;

DriveGeometry geometryOf(const std::wstring& root)
{
    DWORD sectorsPerCluster = 0, bytesPerSector = 0, freeClusters = 0, clusters = 0;
    if (!GetDiskFreeSpaceW(root.c_str(), &sectorsPerCluster, &bytesPerSector, &freeClusters, &clusters) ||
        sectorsPerCluster == 0 || bytesPerSector == 0)
        return {kSmallestSector, kClusterIfUnknown};
    return {bytesPerSector, static_cast<std::uint64_t>(sectorsPerCluster) * bytesPerSector};
}

// The smallest write the fill tries before it counts the drive full: one sector, not one cluster.
// Wine reports 4 KiB clusters for every Unix file system, and a fill that stopped at 4 KiB left
// three 1 KiB blocks of old text on an ext4 drive.
std::uint32_t smallestWriteOf(const DriveGeometry& geometry)
{
    return std::clamp<std::uint64_t>(std::min<std::uint64_t>(geometry.cluster, geometry.bytesPerSector),
                                     kSmallestSector, kWriteChunkSize);
}

// The size of a record of the drive's file table. NTFS tells it through any handle on the volume,
// also an ordinary user's; else it follows the sector, as a format does: a drive with 4 KiB sectors
// gets 4 KiB records (a drive that only emulates 512-byte sectors keeps 1 KiB ones).
std::uint32_t fileRecordBytesOf(HANDLE anyItemOnTheDrive, const DriveGeometry& geometry)
{
    NTFS_VOLUME_DATA_BUFFER volume{};
    DWORD returned = 0;
    if (DeviceIoControl(anyItemOnTheDrive, FSCTL_GET_NTFS_VOLUME_DATA, nullptr, 0, &volume, sizeof volume, &returned,
                        nullptr) &&
        volume.BytesPerFileRecordSegment >= kSmallRecord && volume.BytesPerFileRecordSegment <= kLargeRecord)
        return volume.BytesPerFileRecordSegment;
    return std::clamp(geometry.bytesPerSector, kSmallRecord, kLargeRecord);
}

// A quota is a full drive for this user: what it keeps from the user is then reported as not
// reached.
bool isDiskFull(DWORD error) noexcept
{
    return error == ERROR_DISK_FULL || error == ERROR_HANDLE_DISK_FULL || error == ERROR_DISK_QUOTA_EXCEEDED;
}

std::optional<FillFileLimit>& fillFileLimit() noexcept
{
    static std::optional<FillFileLimit> limit;
    return limit;
}

DriveSpaceQuery& driveSpaceQuery() noexcept
{
    static DriveSpaceQuery query = nullptr;
    return query;
}

} // namespace

void limitFillFilesForTests(std::optional<FillFileLimit> limit) noexcept
{
    fillFileLimit() = limit;
}

void queryDriveSpaceForTests(DriveSpaceQuery query) noexcept
{
    driveSpaceQuery() = query;
}

std::optional<DriveSpace> spaceOf(const std::wstring& root)
{
    if (const DriveSpaceQuery query = driveSpaceQuery())
        return query(root);
    ULARGE_INTEGER available{}, total{}, free{};
    if (!GetDiskFreeSpaceExW(root.c_str(), &available, &total, &free))
        return std::nullopt;
    return DriveSpace{available.QuadPart, free.QuadPart};
}

FreeSpaceFill::FreeSpaceFill(EraseTask& task, FillFolder& folder, const std::wstring& root, std::uint64_t available,
                             bool withSmallFiles)
    : task_(task), folder_(folder), root_(root), geometry_(geometryOf(root)), smallestWrite_(smallestWriteOf(geometry_)),
      tolerance_(kToleratedClusters * geometry_.cluster), withSmallFiles_(withSmallFiles),
      recordBytes_(fileRecordBytesOf(folder.handle(), geometry_)), meter_(task, available)
{
}

FillResult FreeSpaceFill::fillAndRelease()
{
    FillResult result;
    result.end = run();
    if (result.end == Outcome::Filled)
        result.end = readBackLargeFiles();
    result.released = release();
    result.failure = failure_;
    result.bytesWritten = written_;
    result.recordsFilled = recordsFilled_;
    result.left = left_;
    if (left_.free > tolerance_) {
        result.unreached = left_.free;
        result.keptFromUser = left_.free - std::min(left_.free, left_.available) > tolerance_;
    }
    return result;
}

FreeSpaceFill::Outcome FreeSpaceFill::run()
{
    Outcome outcome = Outcome::Filled;
    if (withSmallFiles_) {
        outcome = fillLarge(kIndexReserve);
        // The file for the rest is made before the small files: they may take the last record (or,
        // on ext4, the last inode), and the rest then had no file to go to: 2 MiB of an 8 MiB drive.
        if (outcome == Outcome::Filled)
            outcome = makeLargeFile();
        if (outcome == Outcome::Filled)
            outcome = fillSmall();
    }
    if (outcome == Outcome::Filled)
        outcome = fillLarge(0);
    if (const auto space = spaceOf(root_))
        left_ = *space;
    return outcome;
}

FreeSpaceFill::Outcome FreeSpaceFill::readBackLargeFiles()
{
    for (const LargeFile& file : largeFiles_) {
        if (file.patterned == 0)
            continue;
        const std::wstring path = Kestrel::childPath(folder_.path(), file.name);
        DWORD error = ERROR_SUCCESS;
        const ReadBackResult check =
            compareWritten(file.handle.get(), path, {{0, file.patterned}}, fill_, task_.verifyMode(), task_, error);
        if (check.outcome == ReadBackOutcome::Stopped)
            return Outcome::Stopped;
        if (check.outcome == ReadBackOutcome::Differs)
            return fail(error, file.name);
        task_.noteReadBack(check.extent);
    }
    return Outcome::Filled;
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

FreeSpaceFill::Outcome FreeSpaceFill::fail(DWORD error, const std::wstring& name)
{
    failure_ = FillResult::Failure{error, Kestrel::childPath(folder_.path(), name)};
    return Outcome::Failed;
}

FreeSpaceFill::Outcome FreeSpaceFill::fillLarge(std::uint64_t leave)
{
    for (;;) {
        const auto space = spaceOf(root_);
        if (!space || space->available <= leave + tolerance_)
            return Outcome::Filled;
        if (!spareMade_) {
            const Outcome made = makeLargeFile();
            if (made != Outcome::Filled || !spareMade_)
                return made;
        }
        spareMade_ = false;
        LargeFile& file = largeFiles_.back();
        const std::wstring& name = file.name;
        const Fill fill = fillUpTo(file, leave);
        // The bytes must reach the disk before the file goes: a file deleted with its pages
        // still in the cache never has them written.
        if (!FlushFileBuffers(file.handle.get()) && fill.end != FillEnd::Failed)
            return fail(GetLastError(), name);
        switch (fill.end) {
        case FillEnd::Failed:
            return fail(fill.error, name);
        case FillEnd::Stopped:
            return Outcome::Stopped;
        case FillEnd::Reached:
            return Outcome::Filled;
        case FillEnd::Full:
            // A file that took nothing cannot be followed by one that takes more.
            if (file.size == 0)
                return Outcome::Filled;
            break;
        }
    }
}

FreeSpaceFill::Outcome FreeSpaceFill::makeLargeFile()
{
    const std::wstring name = largeFillName(static_cast<unsigned>(largeFiles_.size()));
    DWORD error = 0;
    UniqueFileHandle handle = folder_.createFile(name, error);
    if (!handle)
        return isDiskFull(error) ? Outcome::Filled : fail(error, name);
    largeFiles_.push_back(LargeFile{name, std::move(handle)});
    spareMade_ = true;
    return Outcome::Filled;
}

FreeSpaceFill::Fill FreeSpaceFill::fillUpTo(LargeFile& file, std::uint64_t leave)
{
    if (leave == 0)
        return fillFile(file, std::numeric_limits<std::uint64_t>::max());
    for (;;) {
        const auto space = spaceOf(root_);
        if (!space || space->available <= leave + kWriteChunkSize)
            return {FillEnd::Reached};
        const Fill fill = fillFile(file, space->available - leave);
        if (fill.end != FillEnd::Reached)
            return fill;
    }
}

FreeSpaceFill::Fill FreeSpaceFill::fillFile(LargeFile& file, std::uint64_t limit)
{
    const std::optional<FillFileLimit> sizeLimit = fillFileLimit();
    std::uint32_t chunk = kWriteChunkSize;
    std::uint64_t done = 0;
    while (done < limit) {
        if (task_.abortRequested())
            return {FillEnd::Stopped};
        const auto asked = static_cast<std::uint32_t>(std::min<std::uint64_t>(chunk, limit - done));
        FillWrite write;
        if (sizeLimit && file.size + asked > sizeLimit->largest)
            write.error = sizeLimit->error;
        else
            write = writeFill(file.handle.get(), fill_, asked);
        // Each write starts at the block's start: the pattern runs on only from a block's boundary.
        const bool continues = file.patterned == file.size && file.size % kOverwriteChunkSize == 0;
        done += write.written;
        file.size += write.written;
        if (continues)
            file.patterned = file.size;
        written_ += write.written;
        meter_.add(write.written);
        if (write.complete(asked))
            continue;
        // NTFS refuses to grow a huge file whose pieces no longer fit its record: a new file can.
        if (write.error == ERROR_FILE_SYSTEM_LIMITATION)
            return {FillEnd::Full};
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
    const std::uint32_t content = recordBytes_ - kRecordOverhead;
    std::optional<DriveSpace> before = spaceOf(root_);
    std::size_t made = 0;
    for (unsigned index = 0;; ++index) {
        if (task_.abortRequested())
            return Outcome::Stopped;
        const std::wstring name = smallFillName(index);
        DWORD error = 0;
        UniqueFileHandle file = folder_.createFile(name, error);
        if (file) {
            const FillWrite write = writeFill(file.get(), fill_, content);
            written_ += write.written;
            meter_.add(write.written);
            if (!write.complete(content))
                error = write.error != 0 ? write.error : ERROR_DISK_FULL;
            else if (!FlushFileBuffers(file.get()))
                error = GetLastError();
            smallFiles_.push_back(std::move(file));
            ++recordsFilled_;
            if (error == 0) {
                ++made;
                continue;
            }
        }
        if (!isDiskFull(error))
            return fail(error, name);
        // Full: while the small files still land in freed records, the index gets more room.
        if (!before || !tookRecords(made, *before) || !giveBackRoom())
            return Outcome::Filled;
        before = spaceOf(root_);
        made = 0;
    }
}

bool FreeSpaceFill::tookRecords(std::size_t made, const DriveSpace& before) const
{
    const auto now = spaceOf(root_);
    if (made == 0 || !now)
        return false;
    const std::uint64_t spent = before.available > now->available ? before.available - now->available : 0;
    return spent / made < recordBytes_ / 2;
}

bool FreeSpaceFill::giveBackRoom()
{
    for (auto file = largeFiles_.rbegin(); file != largeFiles_.rend(); ++file) {
        if (file->size < kIndexReserve)
            continue;
        FILE_END_OF_FILE_INFO end{};
        end.EndOfFile.QuadPart = static_cast<LONGLONG>(file->size - kIndexReserve);
        if (!SetFileInformationByHandle(file->handle.get(), FileEndOfFileInfo, &end, sizeof end))
            return false;
        file->size -= kIndexReserve;
        file->patterned = std::min(file->patterned, file->size);
        return true;
    }
    return false;
}
