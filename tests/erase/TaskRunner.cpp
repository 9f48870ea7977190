#include "tests/erase/TaskRunner.h"

#include "tests/support/MessageWaiter.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

using LockLoaderLock = LONG(NTAPI*)(ULONG flags, ULONG* disposition, ULONG_PTR* cookie);
using UnlockLoaderLock = LONG(NTAPI*)(ULONG flags, ULONG_PTR cookie);

// Holds the loader lock for its lifetime; a new thread of the process waits for it before it runs.
class LoaderLockHold {
public:
    LoaderLockHold()
    {
        const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
        const auto lock = reinterpret_cast<LockLoaderLock>(
            reinterpret_cast<void*>(GetProcAddress(ntdll, "LdrLockLoaderLock")));
        unlock_ = reinterpret_cast<UnlockLoaderLock>(
            reinterpret_cast<void*>(GetProcAddress(ntdll, "LdrUnlockLoaderLock")));
        held_ = lock && unlock_ && lock(0, nullptr, &cookie_) >= 0;
    }
    ~LoaderLockHold() { release(); }
    LoaderLockHold(const LoaderLockHold&) = delete;
    LoaderLockHold& operator=(const LoaderLockHold&) = delete;

    [[nodiscard]] bool held() const noexcept { return held_; }
    void release() noexcept
    {
        if (held_)
            unlock_(0, cookie_);
        held_ = false;
    }

private:
    UnlockLoaderLock unlock_ = nullptr;
    ULONG_PTR cookie_ = 0;
    bool held_ = false;
};

TaskOutcome run(const std::wstring& path, ItemKind kind, bool stopAtStart,
                const std::function<void(EraseTask&)>& whileRunning)
{
    KestrelTest::MessageWaiter waiter(WM_ERASE_TASK_FINISHED);
    auto task = std::make_unique<EraseTask>(kind, path, EraseStatus::InProgress, 0.0, waiter.window());
    TaskOutcome outcome;
    {
        LoaderLockHold hold;
        if (stopAtStart && !hold.held()) {
            ADD_FAILURE() << "the loader lock cannot be held";
            return outcome;
        }
        if (!stopAtStart)
            hold.release();
        if (!task->start()) {
            ADD_FAILURE() << "the worker did not start";
            return outcome;
        }
        if (stopAtStart) {
            EXPECT_TRUE(task->requestAbort());
        }
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
    outcome.readBack = task->readBack();
    outcome.failureCode = task->failure() ? task->failure()->error : ERROR_SUCCESS;
    return outcome;
}

} // namespace

TaskOutcome runTask(const std::wstring& path, ItemKind kind, const std::function<void(EraseTask&)>& whileRunning)
{
    return run(path, kind, false, whileRunning);
}

TaskOutcome runTaskStoppedAtItsStart(const std::wstring& path)
{
    return run(path, ItemKind::File, true, {});
}
