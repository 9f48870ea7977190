#include "erase/EraseFolderProc.h"

#include "erase/Disposal.h"
#include "erase/EraseTask.h"
#include "erase/FileOverwrite.h"
#include "erase/FolderListing.h"
#include "erase/LinkGuard.h"
#include "erase/WorkerBoundary.h"
#include "foundation/FileSpec.h"
#include "foundation/Logger.h"
#include "foundation/PathUtilities.h"

namespace {

using Kestrel::Logger;
using Kestrel::LogLevel;

// What the walk shares between items.
struct Walk {
    EraseTask& task;
    const OverwriteBuffer& buffer;
    ProgressMeter& meter;
};

// A file is kept only when its own open, write or flush failed, or a stop cut its overwrite
// short; whatever happened to other files, every other file is emptied, moved and deleted.
bool eraseFileItem(Kestrel::FileSpec& file, Walk& walk)
{
    if (!openForOverwrite(file))
        return false;
    switch (overwriteFile(file, file.fileSize(), walk.buffer, walk.task, walk.meter)) {
    case OverwriteResult::Failed:
        Logger::instance().log(LogLevel::Error, L"Failed to erase: %s. ", file.path().c_str());
        return false;
    case OverwriteResult::Stopped:
        return true;
    case OverwriteResult::Complete:
        break;
    }
    const std::wstring path = file.path();
    const bool gone = disposeOfFile(file);
    Logger::instance().log(LogLevel::Info, L"Erase file: %s. ", path.c_str());
    return gone;
}

// Answers whether the item went (or, after a stop, was rightly left alone).
bool eraseItem(const Kestrel::FileSpec& listed, Walk& walk)
{
    Kestrel::FileSpec item(listed);
    const std::wstring path = item.path();
    // Seen again here, because an item may have been replaced by a link since it was listed.
    if (pathIsLink(path)) {
        reportSkippedLink(path);
        return false;
    }
    item.makeWritable(true);
    Logger::instance().log(LogLevel::Info, L"Begin to erase: %s. ", path.c_str());
    if (!item.isDirectory())
        return eraseFileItem(item, walk);
    Logger::instance().log(LogLevel::Info, L"Erase folder: %s. ", path.c_str());
    return disposeOfFolder(item);
}

// Deepest first: the listing holds every folder before its content, so its reverse handles the
// content first and the task folder last.
bool eraseListed(const FolderListing& listing, EraseTask& task)
{
    const OverwriteBuffer buffer;
    task.setProgress(0.0);
    ProgressMeter meter(task, listing.totalBytes);
    Walk walk{task, buffer, meter};
    bool allGone = !listing.linksSkipped;
    for (auto item = listing.items.rbegin(); item != listing.items.rend(); ++item) {
        if (task.abortRequested())
            break;
        if (!eraseItem(*item, walk))
            allGone = false;
    }
    return allGone;
}

WorkerOutcome eraseFolder(EraseTask& task)
{
    const std::wstring path = task.path();
    // A drive root is emptied but kept. Under Wine a drive whose folder is a mount point carries
    // the reparse attribute, but a root is never a link.
    const bool isRoot = Kestrel::pathIsRoot(path);
    if (!isRoot && pathIsLink(path)) {
        reportSkippedLink(path);
        return {EraseStatus::Failed, kEarlyFailureExitCode};
    }
    FolderListing listing;
    if (!isRoot)
        listing.items.emplace_back(path);
    if (!task.collectItems(path, listing)) {
        // Nothing has changed on the disk yet; a stop the user asked for is no failure.
        if (task.abortRequested())
            return {EraseStatus::Aborted, 0};
        return {EraseStatus::Failed, kEarlyFailureExitCode};
    }
    const bool allGone = eraseListed(listing, task);
    if (task.abortRequested())
        return {EraseStatus::Aborted, 0};
    return {allGone ? EraseStatus::Done : EraseStatus::Failed, 0};
}

} // namespace

DWORD WINAPI eraseFolderProc(LPVOID parameter) noexcept
{
    return runWorker(parameter, eraseFolder);
}
