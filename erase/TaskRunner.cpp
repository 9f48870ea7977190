#include "erase/TaskRunner.h"

#include "foundation/Logger.h"

#include <utility>

namespace {

using Kestrel::LogLevel;

void logPath(LogLevel level, const wchar_t* format, const EraseTask& task)
{
    const std::wstring path = task.path();
    Kestrel::Logger::instance().log(level, format, path.c_str());
}

bool isFreeSpace(const EraseTask& task) noexcept
{
    return task.kind() == ItemKind::FreeSpace;
}

// How what the task overwrote was verified; nothing for a task that overwrote nothing.
void logReadBack(const EraseTask& task)
{
    if (!task.overwroteAny())
        return;
    switch (task.readBack()) {
    case ReadBackExtent::Whole:
        logPath(LogLevel::Info, L"Read back all that was written: %s. ", task);
        return;
    case ReadBackExtent::Sample:
        logPath(LogLevel::Info, L"Read back a sample of what was written: %s. ", task);
        return;
    case ReadBackExtent::None:
        logPath(LogLevel::Info, L"Not read back: %s. ", task);
        return;
    }
}

// The line of the task's final status, then its warning's line, if it has one.
void logOutcome(const EraseTask& task)
{
    switch (task.status()) {
    case EraseStatus::Done:
        logPath(LogLevel::Info, isFreeSpace(task) ? L"Free space wiped: %s. " : L"File erased: %s. ", task);
        break;
    case EraseStatus::Aborted:
        logPath(LogLevel::Info, L"Cancel erasing: %s. ", task);
        break;
    case EraseStatus::Failed:
        logPath(LogLevel::Error, isFreeSpace(task) ? L"Failed to wipe free space: %s. " : L"Failed to erase: %s. ",
                task);
        break;
    default:
        return;
    }
    if (!task.warning().empty())
        Kestrel::Logger::instance().log(LogLevel::Warning, L"%s", task.warning().c_str());
    logReadBack(task);
}

} // namespace

TaskRunner::TaskRunner(WorkerStart startWorker) : startWorker_(std::move(startWorker)) {}

TaskRunner::~TaskRunner()
{
    if (running_)
        static_cast<void>(task_.release());
}

bool TaskRunner::start(const EraseTask& task)
{
    if (running_)
        return false;
    task_ = std::make_unique<EraseTask>(task);
    task_->setStatus(EraseStatus::InProgress);
    if (startWorker_(*task_)) {
        running_ = true;
        logPath(LogLevel::Info, L"Start to erase: %s. ", *task_);
        return true;
    }
    const wchar_t* const why = L"Failed to start erase.";
    Kestrel::Logger::instance().log(LogLevel::Error, why);
    task_->setFailure(Kestrel::ReportedFailure{ERROR_SUCCESS, {}, why});
    task_->setStatus(EraseStatus::Failed);
    logOutcome(*task_);
    return false;
}

bool TaskRunner::requestStop()
{
    if (!running_ || task_->abortRequested() || !task_->requestAbort())
        return false;
    logPath(LogLevel::Info, L"Cancel to erase: %s. ", *task_);
    return true;
}

const EraseTask* TaskRunner::finished()
{
    if (!running_)
        return nullptr;
    running_ = false;
    logOutcome(*task_);
    return task_.get();
}

void TaskRunner::release() noexcept
{
    if (!running_)
        task_.reset();
}

const EraseTask* TaskRunner::run(const EraseTask& task, DWORD period, HANDLE wake, const Tick& tick)
{
    if (!start(task) || !waitForFinish(period, wake, tick))
        return nullptr;
    return finished();
}

bool TaskRunner::waitForFinish(DWORD period, HANDLE wake, const Tick& tick)
{
    const HWND owner = task_->ownerWindow();
    for (;;) {
        // A wake event may stay signalled once set: it is waited on once.
        const DWORD handles = wake == nullptr ? 0 : 1;
        const DWORD woke = MsgWaitForMultipleObjects(handles, &wake, FALSE, period, QS_ALLINPUT);
        if (woke == WAIT_FAILED)
            return false;
        if (woke == WAIT_OBJECT_0 && handles == 1)
            wake = nullptr;
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_ERASE_TASK_FINISHED && message.hwnd == owner)
                return true;
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        tick(*task_);
    }
}
