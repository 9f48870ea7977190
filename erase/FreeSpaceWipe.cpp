#include "erase/FreeSpaceWipe.h"

#include "erase/FillFolder.h"
#include "erase/FreeSpaceFill.h"
#include "erase/LeftoverFillFolders.h"
#include "erase/WipeableDrive.h"
#include "foundation/DriveRoot.h"
#include "foundation/ExtendedPath.h"
#include "foundation/FileSpec.h"
#include "foundation/Logger.h"

#include <algorithm>
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

void reportFigures(const std::wstring& root, const FreeSpaceFill& fill, const DriveSpace& before)
{
    const auto after = spaceOf(root);
    std::wstring figures = number(fill.bytesWritten()) + L" bytes overwritten, " + number(fill.recordsFilled()) +
                           L" records filled";
    if (fill.left().free > 0)
        figures += L", " + number(fill.left().free) + L" bytes not reached";
    figures += L"; free space " + number(before.free) + L" bytes before, " +
               (after ? number(after->free) + L" bytes after" : std::wstring(L"unknown after"));
    Logger::instance().log(LogLevel::Info, L"Free space of %s: %s. ", root.c_str(), figures.c_str());
}

// True, with its line, when more of the free space than a few clusters was not overwritten: a wipe
// never ends Done for space it did not reach.
bool reportUnreached(const std::wstring& root, const FreeSpaceFill& fill)
{
    const DriveSpace& left = fill.left();
    if (left.free <= fill.tolerance())
        return false;
    const std::uint64_t keptBack = left.free - std::min(left.free, left.available);
    const wchar_t* cause = keptBack > fill.tolerance()
                               ? L"kept from this user (blocks the file system reserves for the drive's owner or "
                                 L"for itself, or a disk quota)"
                               : L"which the drive reported free but did not take";
    Logger::instance().log(LogLevel::Error, L"Free space not reached on %s: %s bytes, %s. ", root.c_str(),
                           number(left.free).c_str(), cause);
    return true;
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
    if (outcome == FreeSpaceFill::Outcome::Failed || !filesGone || !folderGone || reportUnreached(root, fill))
        return {EraseStatus::Failed, 0};
    return {EraseStatus::Done, 0};
}
