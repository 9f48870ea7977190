#include "erase/EraseTask.h"

#include "erase/DiskKeeps.h"
#include "erase/EraseFileProc.h"
#include "erase/EraseFolderProc.h"
#include "erase/FreeSpaceWipe.h"
#include "erase/LinkGuard.h"
#include "erase/RecycleBinErase.h"
#include "erase/TaskItem.h"
#include "erase/WorkerBoundary.h"

#include <utility>

const UINT WM_ERASE_TASK_FINISHED = RegisterWindowMessageW(L"EraseTaskFinished");

namespace {

// The task's record of what its drives keep, for the length of its routine.
class KeepsAttached {
public:
    KeepsAttached(EraseTask& task, DiskKeeps& keeps) noexcept : task_(task) { task_.setDiskKeeps(&keeps); }
    ~KeepsAttached() { task_.setDiskKeeps(nullptr); }
    KeepsAttached(const KeepsAttached&) = delete;
    KeepsAttached& operator=(const KeepsAttached&) = delete;

private:
    EraseTask& task_;
};

// The routine is chosen by the item's directory entry, the same record a folder task's listing
// decides by: a path whose attributes cannot be read is neither a file nor a folder. The drive of
// a file, folder or free-space task is asked before its routine starts, the Recycle Bin's drives
// as their files come.
WorkerOutcome eraseItem(EraseTask& task, DiskKeeps& keeps)
{
    if (task.kind() == ItemKind::FreeSpace) {
        keeps.noteDriveOf(task.path());
        return wipeFreeSpace(task);
    }
    if (task.kind() == ItemKind::RecycleBin)
        return eraseRecycleBin(task);
    const auto item = locateTaskItem(task.path());
    if (!item)
        return {EraseStatus::Failed, kEarlyFailureExitCode};
    if (!item->isRoot && isLink(item->attributes, item->reparseTag)) {
        reportSkippedLink(task.path(), item->attributes, item->reparseTag);
        return {EraseStatus::Failed, kEarlyFailureExitCode};
    }
    keeps.noteDriveOf(item->path);
    return item->isFolder() ? eraseFolder(task, *item) : eraseFile(task, *item);
}

// The warning says what the drives keep whatever the status: a stopped or failed erase leaves
// at least as much.
WorkerOutcome eraseTask(EraseTask& task)
{
    DiskKeeps keeps;
    const KeepsAttached attached(task, keeps);
    const WorkerOutcome outcome = eraseItem(task, keeps);
    warnOfWhatTheDiskKeeps(task, keeps);
    return outcome;
}

DWORD WINAPI eraseTaskProc(LPVOID parameter) noexcept
{
    return runWorker(parameter, eraseTask);
}

} // namespace

EraseTask::EraseTask(ItemKind kind, std::wstring path, EraseStatus status, double progress, HWND ownerWindow)
    : kind_(kind), path_(std::move(path)), status_(status), progress_(progress), ownerWindow_(ownerWindow)
{
}

EraseTask::EraseTask(EraseTask& whole, std::wstring path, double fromPercent, double spanPercent)
    : EraseTask(whole.kind(), std::move(path), EraseStatus::InProgress)
{
    part_ = {&whole, fromPercent, spanPercent};
}

EraseTask::EraseTask(const EraseTask& other)
    : kind_(other.kind_), path_(other.path_), status_(other.status()), progress_(other.progress()),
      ownerWindow_(other.ownerWindow_), warning_(other.warning_), failure_(other.failure_),
      verifyMode_(other.verifyMode_), readBack_(other.readBack_), abortRequested_(other.abortRequested())
{
}

EraseTask& EraseTask::operator=(const EraseTask& other)
{
    if (this != &other) {
        kind_ = other.kind_;
        path_ = other.path_;
        status_.store(other.status());
        progress_.store(other.progress());
        ownerWindow_ = other.ownerWindow_;
        warning_ = other.warning_;
        failure_ = other.failure_;
        verifyMode_ = other.verifyMode_;
        readBack_ = other.readBack_;
        abortRequested_.store(other.abortRequested());
    }
    return *this;
}

bool EraseTask::start()
{
    // Two workers on one record would erase the item twice over and both destroy the record.
    bool idle = false;
    if (!workerRunning_.compare_exchange_strong(idle, true))
        return false;
    abortRequested_.store(false);
    // Created suspended and resumed only once the handle is stored: a short task would otherwise
    // finish, and close its handle, while this thread is still storing it.
    Kestrel::UniqueHandle thread(CreateThread(nullptr, 0, eraseTaskProc, this, CREATE_SUSPENDED, nullptr));
    if (!thread) {
        workerRunning_.store(false);
        return false;
    }
    const HANDLE worker = thread.get();
    threadHandle_ = std::move(thread);
    if (ResumeThread(worker) != static_cast<DWORD>(-1))
        return true;
    // It never ran, so it holds nothing and touched nothing.
    TerminateThread(worker, kResumeFailedExitCode);
    threadHandle_.reset();
    workerRunning_.store(false);
    return false;
}

bool EraseTask::requestAbort() noexcept
{
    if (status() != EraseStatus::InProgress)
        return false;
    abortRequested_.store(true);
    return true;
}

bool EraseTask::postFinished(EraseStatus status) const noexcept
{
    if (ownerWindow_ == nullptr || !IsWindow(ownerWindow_))
        return false;
    PostMessageW(ownerWindow_, WM_ERASE_TASK_FINISHED, static_cast<WPARAM>(status), 0);
    return true;
}

void EraseTask::addWarning(const std::wstring& sentence)
{
    if (part_.whole) {
        part_.whole->addWarning(sentence);
        return;
    }
    if (sentence.empty() || warning_.find(sentence) != std::wstring::npos)
        return;
    warning_ += warning_.empty() ? sentence : L" " + sentence;
}

void EraseTask::noteReadBack(ReadBackExtent extent) noexcept
{
    if (part_.whole)
        part_.whole->noteReadBack(extent);
    else
        readBack_.add(extent);
}

std::wstring EraseTask::remarks() const
{
    std::wstring text = failure_ ? failure_->message : std::wstring();
    if (!text.empty() && !warning_.empty())
        text += L". ";
    text += warning_;
    if (!overwroteAny())
        return text;
    if (!text.empty())
        text += text.back() == L'.' ? L" " : L". ";
    switch (readBack()) {
    case ReadBackExtent::Whole:
        return text + L"Read back: yes.";
    case ReadBackExtent::Sample:
        return text + L"Read back: sample.";
    case ReadBackExtent::None:
        break;
    }
    return text + L"Read back: no.";
}

void EraseTask::finish(EraseStatus status) noexcept
{
    status_.store(status);
    threadHandle_.reset();
    workerRunning_.store(false);
    // The post hands the record over to its receiver, which may destroy it at once.
    postFinished(status);
}
