#include "erase/EraseFileProc.h"

#include "erase/Disposal.h"
#include "erase/EraseTask.h"
#include "erase/FileOverwrite.h"
#include "erase/LinkGuard.h"
#include "erase/WorkerBoundary.h"
#include "foundation/FileSpec.h"

namespace {

OverwriteResult overwriteWhole(Kestrel::FileSpec& file, EraseTask& task)
{
    const OverwriteBuffer buffer;
    const std::uint64_t size = file.fileSize();
    ProgressMeter meter(task, size);
    return overwriteFile(file, size, buffer, task, meter);
}

WorkerOutcome eraseFile(EraseTask& task)
{
    task.setProgress(0.0);
    const std::wstring path = task.path();
    if (pathIsLink(path)) {
        reportSkippedLink(path);
        return {EraseStatus::Failed, kEarlyFailureExitCode};
    }
    Kestrel::FileSpec file(path);
    file.makeWritable(true);
    if (!openForOverwrite(file))
        return {EraseStatus::Failed, kEarlyFailureExitCode};

    const OverwriteResult result = overwriteWhole(file, task);
    // A stopped file keeps its name, however far the overwrite got, even when it got to the end.
    if (task.abortRequested())
        return {EraseStatus::Aborted, 0};
    if (result != OverwriteResult::Complete)
        return {EraseStatus::Failed, 0};
    return {disposeOfFile(file) ? EraseStatus::Done : EraseStatus::Failed, 0};
}

} // namespace

DWORD WINAPI eraseFileProc(LPVOID parameter) noexcept
{
    return runWorker(parameter, eraseFile);
}
