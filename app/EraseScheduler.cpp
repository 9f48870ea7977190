#include "app/EraseScheduler.h"

#include "app/UserTexts.h"
#include "listctrl/ErasingTasksListCtrl.h"

#include <utility>

EraseScheduler::EraseScheduler(ErasingTasksListCtrl& rows, WorkerStart startWorker, ProgressClock clock,
                               QueueEnded queueEnded)
    : rows_(rows), clock_(std::move(clock)), queueEnded_(std::move(queueEnded)), runner_(std::move(startWorker))
{
}

bool EraseScheduler::hasWaitingRow()
{
    return rows_.firstWaitingRow() >= 0;
}

bool EraseScheduler::startNextTask()
{
    if (closing_ || exitQuestionOpen_ || runner_.running() || rows_.firstRunningRow() >= 0)
        return false;
    const int row = rows_.firstWaitingRow();
    if (row < 0)
        return false;
    rows_.setRowStatus(row, EraseStatus::InProgress);
    EraseTask task;
    if (!rows_.copyTask(row, task)) {
        rows_.setRowStatus(row, EraseStatus::Failed);
        run_.count(EraseStatus::Failed);
        endRun();
        return false;
    }
    clock_(true);
    if (runner_.start(task))
        return true;
    clock_(false);
    rows_.setRowStatus(row, EraseStatus::Failed);
    run_.count(EraseStatus::Failed);
    endRun();
    return false;
}

void EraseScheduler::goOn()
{
    if (!startNextTask() && !exitQuestionOpen_)
        endRun();
}

void EraseScheduler::endRun()
{
    if (closing_ || runner_.running() || run_.tasks() == 0)
        return;
    const StatusTally ended = std::exchange(run_, StatusTally{});
    if (queueEnded_)
        queueEnded_(ended);
}

bool EraseScheduler::stopCurrentTask()
{
    if (!runner_.requestStop())
        return false;
    clock_(false);
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
    const EraseTask* task = runner_.task();
    if (task && task->status() == EraseStatus::InProgress)
        rows_.setRowProgress(row, task->progress());
}

bool EraseScheduler::taskFinished()
{
    const EraseTask* task = runner_.finished();
    if (!task)
        return false;
    clock_(false);
    recordOutcome(rows_.firstRunningRow(), *task);
    runner_.release();
    if (closing_)
        return true;
    goOn();
    return false;
}

void EraseScheduler::recordOutcome(int row, const EraseTask& task)
{
    const EraseStatus status = task.status();
    if (status != EraseStatus::Done && status != EraseStatus::Aborted && status != EraseStatus::Failed)
        return;
    run_.count(status);
    rows_.setRowProgress(row, status == EraseStatus::Done ? 100.0 : 0.0);
    rows_.setRowStatus(row, status);
    rows_.setRowRemarks(row, task);
    // A stopped file keeps its name however far its overwrite got: the row says what is left.
    if (status == EraseStatus::Aborted && task.progress() > 0.0) {
        if (task.kind() == ItemKind::File)
            rows_.addRowWarning(row, UserTexts::kFileStoppedPartWay);
        else if (task.kind() == ItemKind::Folder)
            rows_.addRowWarning(row, UserTexts::kFolderStoppedPartWay);
    }
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
        goOn();
        return false;
    }
    stopCurrentTask();
    return true;
}

bool EraseScheduler::beginClosing()
{
    if (!runner_.running())
        return true;
    closing_ = true;
    return false;
}
