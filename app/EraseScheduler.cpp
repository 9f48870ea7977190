#include "app/EraseScheduler.h"

#include "erase/TaskLog.h"
#include "foundation/Logger.h"
#include "listctrl/ErasingTasksListCtrl.h"

#include <utility>

namespace {

using Kestrel::LogLevel;

template <typename... Args>
void log(LogLevel level, const wchar_t* format, Args... args)
{
    Kestrel::Logger::instance().log(level, format, args...);
}

} // namespace

EraseScheduler::EraseScheduler(ErasingTasksListCtrl& rows, WorkerStart startWorker, ProgressClock clock)
    : rows_(rows), startWorker_(std::move(startWorker)), clock_(std::move(clock))
{
}

EraseScheduler::~EraseScheduler()
{
    if (workerRunning_)
        static_cast<void>(currentTask_.release());
}

bool EraseScheduler::hasWaitingRow()
{
    return rows_.firstWaitingRow() >= 0;
}

bool EraseScheduler::startNextTask()
{
    if (closing_ || exitQuestionOpen_ || workerRunning_ || rows_.firstRunningRow() >= 0)
        return false;
    const int row = rows_.firstWaitingRow();
    if (row < 0)
        return false;
    rows_.setRowStatus(row, EraseStatus::InProgress);
    currentTask_ = std::make_unique<EraseTask>();
    if (!rows_.copyTask(row, *currentTask_)) {
        rows_.setRowStatus(row, EraseStatus::Failed);
        return false;
    }
    clock_(true);
    if (startWorker_(*currentTask_)) {
        workerRunning_ = true;
        logTaskStarted(*currentTask_);
        return true;
    }
    clock_(false);
    log(LogLevel::Error, L"Failed to start erase.");
    // The record as well as the row: nothing may take a task without a worker for a running one.
    currentTask_->setStatus(EraseStatus::Failed);
    rows_.setRowStatus(row, EraseStatus::Failed);
    return false;
}

bool EraseScheduler::stopCurrentTask()
{
    // The worker may end between any two looks at its status: only the request's own answer says
    // whether the task was still running to be stopped.
    if (!currentTask_ || !currentTask_->requestAbort())
        return false;
    clock_(false);
    logTaskStopRequested(*currentTask_);
    return true;
}

void EraseScheduler::stopRow(int row)
{
    if (rows_.isRowRunning(row)) {
        stopCurrentTask();
    } else if (rows_.isRowWaiting(row)) {
        rows_.setRowStatus(row, EraseStatus::Aborted);
        rows_.setRowProgress(row, 0.0);
    }
}

void EraseScheduler::showProgress()
{
    const int row = rows_.firstRunningRow();
    if (row < 0)
        return;
    if (currentTask_ && currentTask_->status() == EraseStatus::InProgress)
        rows_.setRowProgress(row, currentTask_->progress());
}

bool EraseScheduler::taskFinished()
{
    if (!currentTask_)
        return false;
    workerRunning_ = false;
    clock_(false);
    recordOutcome(rows_.firstRunningRow(), *currentTask_);
    currentTask_.reset();
    if (closing_)
        return true;
    startNextTask();
    return false;
}

void EraseScheduler::recordOutcome(int row, const EraseTask& task)
{
    const EraseStatus status = task.status();
    if (status != EraseStatus::Done && status != EraseStatus::Aborted && status != EraseStatus::Failed)
        return;
    rows_.setRowProgress(row, status == EraseStatus::Done ? 100.0 : 0.0);
    rows_.setRowStatus(row, status);
    rows_.setRowWarning(row, task.warning());
    logTaskOutcome(task);
}

bool EraseScheduler::confirmExit(const std::function<bool()>& askToExit)
{
    if (rows_.firstRunningRow() < 0)
        return true;
    // The question runs its own message loop, in which the running task may end; a task started
    // there would be cut short part-way by a yes.
    exitQuestionOpen_ = true;
    const bool yes = askToExit();
    exitQuestionOpen_ = false;
    if (!yes) {
        // A task that ended while the question was open started nothing: the queue goes on now.
        startNextTask();
        return false;
    }
    stopCurrentTask();
    return true;
}

bool EraseScheduler::beginClosing()
{
    if (!workerRunning_)
        return true;
    closing_ = true;
    return false;
}
