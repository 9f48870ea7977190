#include "erase/EraseFileProc.h"

#include "erase/DataElsewhere.h"
#include "erase/DiskKeeps.h"
#include "erase/Disposal.h"
#include "erase/FileOverwrite.h"
#include "erase/LinkGuard.h"
#include "erase/NamedStreams.h"
#include "erase/OpenFailure.h"
#include "erase/VerifiedOpen.h"
#include "foundation/FileSpec.h"
#include "foundation/Logger.h"

using Kestrel::Logger;
using Kestrel::LogLevel;

namespace {

// A file that went leaves its task the words for what stays elsewhere.
EraseStatus disposed(EraseTask& task, bool gone, const ItemFacts& facts)
{
    if (!gone)
        return EraseStatus::Failed;
    noteWhatStaysElsewhere(task, facts);
    return EraseStatus::Done;
}

} // namespace

WorkerOutcome eraseFile(EraseTask& task, const TaskItem& item)
{
    task.setProgress(0.0);
    const std::wstring path = task.path();
    const auto holder = itemFactsOf(item.folder);
    Kestrel::FileSpec file(item.path);
    ItemFacts facts;
    const OpenOutcome opened = holder ? openListedFile(file, ListedFolder{item.folder, holder->realPath,
                                                                          holder->identity, holder->attributes, false},
                                                       item.name(), item.attributes, facts)
                                      : OpenOutcome::Failed;
    // Read first: the reason is the failed open's, before any other call can change it.
    const DWORD openError = opened == OpenOutcome::Failed ? GetLastError() : ERROR_SUCCESS;
    switch (opened) {
    case OpenOutcome::Failed:
        reportOpenFailure(path, openError);
        return {EraseStatus::Failed, kEarlyFailureExitCode};
    case OpenOutcome::Link:
        reportSkippedLink(path, facts.attributes, facts.reparseTag);
        return {EraseStatus::Failed, kEarlyFailureExitCode};
    case OpenOutcome::Opened:
        break;
    }
    // Every name of a file shows the same bytes: with another name the file would be overwritten
    // and emptied outside the choice.
    if (facts.links > 1) {
        file.closeHandle();
        reportSkippedHardLink(path);
        return {EraseStatus::Failed, kEarlyFailureExitCode};
    }
    lookForEarlierVersions(task, item.path);
    if (isOnlineOnly(facts.attributes))
        return {disposed(task, disposeOfOnlineOnlyFile(file, item.folder, RemovalCheck::Now), facts), 0};

    NamedStreams streams;
    if (!streams.open(item.path, file.handle()))
        return {EraseStatus::Failed, kEarlyFailureExitCode};
    const ByteRanges ranges = allocatedRangesOf(file.handle(), item.path, facts.attributes, facts.size);
    const OverwriteBuffer buffer;
    ProgressMeter meter(task, streams.totalBytes() + byteCount(ranges));
    OverwriteResult result = streams.overwrite(buffer, task, meter);
    if (result == OverwriteResult::Complete)
        result = overwriteFile(file.handle(), file.path(), ranges, buffer, task, meter);
    // A stopped file keeps its name, however far the overwrite got, even when it got to the end.
    if (task.abortRequested())
        return {EraseStatus::Aborted, 0};
    if (result != OverwriteResult::Complete)
        return {EraseStatus::Failed, 0};
    return {disposed(task, disposeOfFile(file, item.folder, RemovalCheck::Now), facts), 0};
}
