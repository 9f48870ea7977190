#include "erase/FreeSpaceWipe.h"

#include "erase/FillFolder.h"
#include "erase/FillWriter.h"
#include "erase/ProgressMeter.h"
#include "erase/WipeableDrive.h"
#include "foundation/DriveRoot.h"
#include "foundation/ExtendedPath.h"
#include "foundation/FileSpec.h"
#include "foundation/Logger.h"

#include <algorithm>
#include <limits>
#include <optional>
#include <string>
#include <vector>

namespace {

using Kestrel::Logger;
using Kestrel::LogLevel;
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

struct DriveSpace {
    std::uint64_t available = 0; // what this user may fill
    std::uint64_t free = 0;      // all that is free, the blocks kept for the owner included
};

std::optional<DriveSpace> spaceOf(const std::wstring& root)
{
    ULARGE_INTEGER available{}, total{}, free{};
    if (!GetDiskFreeSpaceExW(root.c_str(), &available, &total, &free))
        return std::nullopt;
    return DriveSpace{available.QuadPart, free.QuadPart};
}

// The smallest write the fill tries before it counts the drive full: one cluster, or one sector
// where the cluster size may be wrong. Wine reports 4 KiB clusters for every Unix file system, and
// a fill that stopped at 4 KiB left three 1 KiB blocks of old text on an ext4 drive.
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

std::wstring number(std::uint64_t value)
{
    return std::to_wstring(value);
}

// The drive's file system, or nothing when its free space cannot be wiped: the file layer's line,
// or one of its own, says why.
std::optional<std::wstring> fileSystemOfWipeableDrive(const std::wstring& root)
{
    const DriveCheck check = checkWipeableDrive(root);
    switch (check.refusal) {
    case DriveCheck::Refusal::None:
        return check.drive->fileSystem;
    case DriveCheck::Refusal::OtherType:
        Logger::instance().log(LogLevel::Error, L"Not a fixed or removable drive: %s. ", root.c_str());
        return std::nullopt;
    case DriveCheck::Refusal::Missing:
    case DriveCheck::Refusal::NoAnswer:
        Kestrel::reportFileError(root, check.error);
        return std::nullopt;
    }
    return std::nullopt;
}

// NTFS keeps a small file's content, and its name, inside the file's record in the file table,
// where no large file reaches: a deleted record keeps both until a new file takes it over. Other
// file systems put every file's content in clusters, which the large files reach; small files
// there would only cost a flush each. Wine names every Unix file system NTFS, so under Wine the
// small files are made on ext4 too (about 10 ms a flush there).
bool keepsSmallFilesInItsTable(const std::wstring& fileSystem)
{
    return CompareStringOrdinal(fileSystem.c_str(), -1, L"NTFS", -1, TRUE) == CSTR_EQUAL;
}

// The fill of one drive: where small files live in the file table, a large file up to a reserve,
// then small files into the table's freed records; then a large file for the rest; then everything
// given back, the large files first. Nothing is logged
// between the first write and the last release: a drive that holds the log would lose the line.
class FreeSpaceFill {
public:
    FreeSpaceFill(EraseTask& task, FillFolder& folder, const std::wstring& root, std::uint64_t available,
                  bool withSmallFiles)
        : task_(task), folder_(folder), root_(root), smallestWrite_(smallestWriteOn(root)),
          withSmallFiles_(withSmallFiles), reserve_(kIndexReserve), meter_(task, available)
    {
    }

    enum class Outcome { Filled, Stopped, Failed };

    Outcome run()
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

    // Gives every byte back: the large files first, since on a full NTFS drive the small files'
    // deletion failed while the large one still held the space. Deletion on close is not relied
    // upon: what is still there afterwards is deleted by name. True when nothing is left.
    [[nodiscard]] bool release()
    {
        bool largeGone = true;
        for (LargeFile& file : largeFiles_) {
            file.handle.reset();
            largeGone = folder_.removeFileIfLeft(file.name) && largeGone;
        }
        smallFiles_.clear();
        return folder_.removeLeftFiles() && largeGone;
    }

    // The line of what went wrong while the drive was full, once it has room again.
    void reportFailure() const
    {
        if (failure_)
            Kestrel::reportFileError(failure_->path, failure_->error);
    }

    [[nodiscard]] std::uint64_t bytesWritten() const noexcept { return written_; }
    [[nodiscard]] std::size_t recordsFilled() const noexcept { return recordsFilled_; }
    [[nodiscard]] std::uint64_t unreached() const noexcept { return unreached_; }

private:
    struct LargeFile {
        std::wstring name;
        UniqueFileHandle handle;
    };
    struct Failure {
        DWORD error;
        std::wstring path;
    };

    Outcome fail(DWORD error, const std::wstring& name)
    {
        failure_ = Failure{error, Kestrel::childPath(folder_.path(), name)};
        return Outcome::Failed;
    }

    // The first large file stops a reserve short of full (and goes on while others free space
    // meanwhile); the last one fills what is left.
    Outcome fillLarge(unsigned numberOfFile, bool keepReserve)
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

    enum class FillEnd { Reached, Full, Stopped, Failed };
    struct Fill {
        FillEnd end;
        DWORD error = 0;
    };

    // Writes up to limit bytes; a refused write is tried again with half the chunk, down to the
    // smallest write, so that not even the last clusters keep their old bytes.
    Fill fillFile(HANDLE file, std::uint64_t limit)
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

    // Small files until the drive takes no more; each is flushed at once, since ext4 never writes
    // the blocks of a small file that is deleted before its pages are flushed.
    Outcome fillSmall()
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

    EraseTask& task_;
    FillFolder& folder_;
    const std::wstring root_;
    const std::uint32_t smallestWrite_;
    const bool withSmallFiles_;
    const std::uint64_t reserve_;
    const OverwriteBuffer fill_;
    ProgressMeter meter_;
    std::vector<LargeFile> largeFiles_;
    std::vector<UniqueFileHandle> smallFiles_;
    std::size_t recordsFilled_ = 0;
    std::optional<Failure> failure_;
    std::uint64_t written_ = 0;
    std::uint64_t unreached_ = 0;
};

void reportLeftovers(const std::vector<std::wstring>& removed, const std::vector<std::wstring>& kept)
{
    for (const std::wstring& path : removed)
        Logger::instance().log(LogLevel::Info, L"Removed an earlier fill folder: %s. ",
                               Kestrel::displayPath(path).c_str());
    for (const std::wstring& path : kept)
        Logger::instance().log(LogLevel::Error, L"Kept a folder that is not the program's fill folder: %s. ",
                               Kestrel::displayPath(path).c_str());
}

void reportFigures(const std::wstring& root, const FreeSpaceFill& fill, const DriveSpace& before)
{
    const auto after = spaceOf(root);
    std::wstring figures = number(fill.bytesWritten()) + L" bytes overwritten, " + number(fill.recordsFilled()) +
                           L" records filled";
    if (fill.unreached() > 0)
        figures += L", " + number(fill.unreached()) + L" bytes not reached";
    figures += L"; free space " + number(before.free) + L" bytes before, " +
               (after ? number(after->free) + L" bytes after" : std::wstring(L"unknown after"));
    Logger::instance().log(LogLevel::Info, L"Free space of %s: %s. ", root.c_str(), figures.c_str());
}

} // namespace

WorkerOutcome wipeFreeSpace(EraseTask& task)
{
    task.setProgress(0.0);
    const std::wstring root = task.path();
    Logger::instance().log(LogLevel::Info, L"Begin to wipe free space: %s. ", root.c_str());
    if (Kestrel::driveRootOf(root) != root) {
        Kestrel::reportFileError(root, ERROR_BAD_PATHNAME);
        return {EraseStatus::Failed, kEarlyFailureExitCode};
    }
    const std::optional<std::wstring> fileSystem = fileSystemOfWipeableDrive(root);
    if (!fileSystem)
        return {EraseStatus::Failed, kEarlyFailureExitCode};
    const std::wstring extendedRoot = Kestrel::extendedLengthPath(root);
    std::vector<std::wstring> removed, kept;
    removeLeftoverFillFolders(extendedRoot, removed, kept);
    reportLeftovers(removed, kept);

    const auto before = spaceOf(root);
    if (!before) {
        Kestrel::reportFileError(root);
        return {EraseStatus::Failed, kEarlyFailureExitCode};
    }
    DWORD error = 0;
    auto folder = FillFolder::create(extendedRoot, error);
    if (!folder) {
        Kestrel::reportFileError(Kestrel::childPath(root, FillFolder::kNameStem), error);
        return {EraseStatus::Failed, kEarlyFailureExitCode};
    }
    FreeSpaceFill fill(task, *folder, root, before->available, keepsSmallFilesInItsTable(*fileSystem));
    const FreeSpaceFill::Outcome outcome = fill.run();
    const bool filesGone = fill.release();
    const bool folderGone = folder->remove();

    fill.reportFailure();
    if (!filesGone || !folderGone)
        Logger::instance().log(LogLevel::Error, L"Fill files left behind: %s. ",
                               Kestrel::displayPath(folder->path()).c_str());
    reportFigures(root, fill, *before);
    if (outcome == FreeSpaceFill::Outcome::Stopped || task.abortRequested())
        return {EraseStatus::Aborted, 0};
    if (outcome == FreeSpaceFill::Outcome::Failed || !filesGone || !folderGone)
        return {EraseStatus::Failed, 0};
    return {EraseStatus::Done, 0};
}
