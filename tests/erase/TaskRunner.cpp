#include "tests/erase/TaskRunner.h"

#include "tests/support/MessageWaiter.h"

#include <gtest/gtest.h>

#include <memory>

TaskOutcome runTask(const std::wstring& path, ItemKind kind, const std::function<void(EraseTask&)>& whileRunning)
{
    KestrelTest::MessageWaiter waiter(WM_ERASE_TASK_FINISHED);
    auto task = std::make_unique<EraseTask>(kind, path, EraseStatus::InProgress, 0.0, waiter.window());
    TaskOutcome outcome;
    if (!task->start()) {
        ADD_FAILURE() << "the worker did not start";
        return outcome;
    }
    if (whileRunning)
        whileRunning(*task);
    auto message = waiter.waitFor(kTaskBoundMilliseconds);
    if (!message) {
        ADD_FAILURE() << "no finished message within the bound; stopping the task";
        task->requestAbort();
        message = waiter.waitFor(kTaskBoundMilliseconds);
        if (!message) {
            // The worker still uses the record: it must outlive this test rather than be freed.
            (void)task.release();
            return outcome;
        }
    }
    outcome.finished = true;
    outcome.status = task->status();
    outcome.messageStatus = *message;
    outcome.progress = task->progress();
    return outcome;
}
