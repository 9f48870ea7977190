#pragma once

#include "erase/EraseTask.h"

#include <windows.h>

#include <functional>
#include <memory>

// Runs one task at a time, as the window runs its rows and kww its items: a heap copy of the task
// gets a worker; its start, a stop request and its end are logged in the same words everywhere;
// and the record is released only after the worker's finished message has come to the task's
// owner window, as a worker never outlives its record. A window hands that message to finished()
// from its message map; a program without one waits for it with run().
class TaskRunner {
public:
    // Starts the record's worker; false when none could be started. A seam for tests.
    using WorkerStart = std::function<bool(EraseTask&)>;

    explicit TaskRunner(WorkerStart startWorker = [](EraseTask& task) { return task.start(); });
    // A worker that has not reported keeps its record: it is let go, never freed under the worker.
    ~TaskRunner();
    TaskRunner(const TaskRunner&) = delete;
    TaskRunner& operator=(const TaskRunner&) = delete;

    // The running task, the one that has just ended, or the one whose start failed; null when
    // there is none.
    [[nodiscard]] const EraseTask* task() const noexcept { return task_.get(); }
    // The worker of task() has not reported its end yet.
    [[nodiscard]] bool running() const noexcept { return running_; }

    // Starts a worker on a copy of the task, unless one runs. False when none started: the copy
    // is then Failed, with its lines logged.
    bool start(const EraseTask& task);
    // Asks the running task to stop after its current chunk; false when none runs or it was
    // asked already. The worker
    // may end between any two looks at its status: only the request's own answer says whether
    // the task was still running to be stopped.
    bool requestStop();
    // The worker's finished message: the outcome is logged and the ended task returned, readable
    // until the next start or release(); null when no worker was running.
    const EraseTask* finished();
    void release() noexcept;

    // Runs the task to its end on this thread, which must own the task's owner window: each
    // `period` milliseconds, and once when `wake` is signalled, `tick` is called (with the task)
    // while other messages are dispatched. The ended task; null when no worker started or the
    // wait failed (the record then left to its worker).
    using Tick = std::function<void(const EraseTask&)>;
    const EraseTask* run(const EraseTask& task, DWORD period, HANDLE wake, const Tick& tick);

private:
    // True once the finished message has come.
    [[nodiscard]] bool waitForFinish(DWORD period, HANDLE wake, const Tick& tick);

    WorkerStart startWorker_;
    std::unique_ptr<EraseTask> task_;
    bool running_ = false;
};
