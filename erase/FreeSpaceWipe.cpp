#include "erase/FreeSpaceWipe.h"

#include "erase/FillFolder.h"
#include "erase/FreeSpaceFill.h"
#include "erase/LeftoverFillFolders.h"
#include "erase/ReadBack.h"
#include "erase/WipeableDrive.h"
#include "foundation/DriveRoot.h"
#include "foundation/ExtendedPath.h"
#include "foundation/FileSpec.h"
#include "foundation/Logger.h"

#include <optional>
#include <string>
#include <vector>

namespace {

using Kestrel::Logger;
using Kestrel::LogLevel;

std::wstring number(std::uint64_t value)
{
    return std::to_wstring(value);
}

// The drive's file system, or nothing, with the line that says why, when its free space cannot
// be wiped.
std::optional<std::wstring> fileSystemOfWipeableDrive(const std::wstring& root)
{
    const DriveCheck check = checkWipeableDrive(root);
    if (check.drive)
        return check.drive->fileSystem;
    Logger::instance().log(LogLevel::Error, L"%s", refusalText(check, root).c_str());
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

// The lines of a fill, once the drive has room again: its first error, what it left behind, its
// figures, and the free space it did not reach.
void reportFill(const std::wstring& root, const FillResult& fill, const DriveSpace& before, bool leftBehind,
                const std::wstring& folder)
{
    Logger& logger = Logger::instance();
    if (fill.failure && fill.failure->error == kReadBackDiffers)
        reportReadBackDifference(fill.failure->path, fill.failure->error);
    else if (fill.failure)
        Kestrel::reportFileError(fill.failure->path, fill.failure->error);
    if (leftBehind)
        logger.log(LogLevel::Error, L"Fill files left behind: %s. ", Kestrel::displayPath(folder).c_str());
    const auto after = spaceOf(root);
    std::wstring figures = number(fill.bytesWritten) + L" bytes overwritten, " + number(fill.recordsFilled) +
                           L" records filled";
    if (fill.left.free > 0)
        figures += L", " + number(fill.left.free) + L" bytes not reached";
    figures += L"; free space " + number(before.free) + L" bytes before, " +
               (after ? number(after->free) + L" bytes after" : std::wstring(L"unknown after"));
    logger.log(LogLevel::Info, L"Free space of %s: %s. ", root.c_str(), figures.c_str());
    // A wipe never ends Done for space it did not reach.
    if (fill.end == FillResult::End::Filled && fill.unreached > 0)
        logger.log(LogLevel::Error, L"Free space not reached on %s: %s bytes, %s. ", root.c_str(),
                   number(fill.unreached).c_str(),
                   fill.keptFromUser ? L"kept from this user (blocks the file system reserves for the drive's owner "
                                       L"or for itself, or a disk quota)"
                                     : L"which the drive reported free but did not take");
}

EraseStatus statusOf(const FillResult& fill, bool folderGone, const EraseTask& task)
{
    if (fill.end == FillResult::End::Stopped || task.abortRequested())
        return EraseStatus::Aborted;
    if (fill.end == FillResult::End::Failed || !fill.released || !folderGone || fill.unreached > 0)
        return EraseStatus::Failed;
    return EraseStatus::Done;
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
    clearLeftoverFillFolders(extendedRoot);

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
    const FillResult result = fill.fillAndRelease();
    const bool folderGone = folder->remove();
    reportFill(root, result, *before, !result.released || !folderGone, folder->path());
    return {statusOf(result, folderGone, task), 0};
}
