#pragma once

#include "erase/StatusTally.h"
#include "erase/TaskRunner.h"

#include <functional>

class ErasingTasksListCtrl;

// Runs the Waiting rows of the task list one at a time, from the top, each through the runner as
// a copy of its row whose worker writes progress and status; each tick of the progress clock
// mirrors them into the row, and the worker's finished report ends the task, after which the
// next Waiting row starts. A close while a task runs stops it and waits for that report (the
// closing state).
//
// The owner hands in how a worker starts and how the progress clock is switched, so that the
// decisions can be followed without a thread or a timer, and hears how each run of the queue went
// when it ends: no Waiting row is left to start, or a worker could not start. A close ends no run.
class EraseScheduler {
public:
    using WorkerStart = TaskRunner::WorkerStart;
    // Switches the progress clock on (true) or off (false).
    using ProgressClock = std::function<void(bool run)>;
    using QueueEnded = std::function<void(const StatusTally& outcome)>;

    EraseScheduler(ErasingTasksListCtrl& rows, WorkerStart startWorker, ProgressClock clock,
                   QueueEnded queueEnded = nullptr);

    // The running task (or the one whose start failed); null when there is none.
    [[nodiscard]] const EraseTask* currentTask() const noexcept { return runner_.task(); }
    [[nodiscard]] bool isClosing() const noexcept { return closing_; }
    [[nodiscard]] bool hasWaitingRow();

    // Starts the first Waiting row unless a task runs, a close is under way or the exit
    // question is open; true when a worker was started.
    bool startNextTask();
    // Asks the running task to stop; false when none runs.
    bool stopCurrentTask();
    // The running row's task is asked to stop, a Waiting row is Aborted at once.
    void stopRow(int row);
    // A tick of the progress clock: the running task's progress into its row.
    void showProgress();
    // The worker's finished report: the row takes the outcome, then the next Waiting row starts.
    // True when a close was waiting for this report and may now end.
    bool taskFinished();

    // Whether the program may close: with a task running, askToExit is asked (no task starts
    // while it is open); on yes the task is stopped, on no the queue goes on at once.
    bool confirmExit(const std::function<bool()>& askToExit);
    // A close begins. True when it may end at once; false while the worker has still to report
    // (no task starts from then on, and taskFinished answers true).
    bool beginClosing();
    // Releases the task at the end of a close.
    void release() noexcept { runner_.release(); }

private:
    void recordOutcome(int row, const EraseTask& task);
    // Starts the next Waiting row; when none starts and nothing holds the queue, the run ends.
    void goOn();
    void endRun();

    ErasingTasksListCtrl& rows_;
    ProgressClock clock_;
    QueueEnded queueEnded_;
    // The tasks of the run under way.
    StatusTally run_;
    TaskRunner runner_;
    bool closing_ = false;
    bool exitQuestionOpen_ = false;
};
