#include "erase/EraseTask.h"

#include "tests/erase/FileChecks.h"
#include "tests/erase/TaskRunner.h"
#include "tests/support/LogCapture.h"
#include "tests/support/LogGate.h"
#include "tests/support/MessageWaiter.h"
#include "tests/support/ScratchFolder.h"

#include <gtest/gtest.h>

#include <memory>

using KestrelTest::LogCapture;
using KestrelTest::MessageWaiter;
using KestrelTest::ScratchFolder;

TEST(EraseTask, StatusTextNamesTheFiveStatusesAndNothingElse)
{
    EXPECT_EQ(statusText(EraseStatus::Waiting), L"Waiting");
    EXPECT_EQ(statusText(EraseStatus::InProgress), L"In Progress");
    EXPECT_EQ(statusText(EraseStatus::Done), L"Done");
    EXPECT_EQ(statusText(EraseStatus::Failed), L"Failed");
    EXPECT_EQ(statusText(EraseStatus::Aborted), L"Aborted");
    EXPECT_EQ(statusText(static_cast<EraseStatus>(5)), L"");
    EXPECT_EQ(statusText(static_cast<EraseStatus>(-1)), L"");
}

TEST(EraseTask, FinishedMessageIsRegisteredBeforeMainUnderItsName)
{
    EXPECT_GE(WM_ERASE_TASK_FINISHED, 0xC000u);
    EXPECT_EQ(WM_ERASE_TASK_FINISHED, RegisterWindowMessageW(L"EraseTaskFinished"));
}

TEST(EraseTask, StopRequestActsOnlyOnARunningTask)
{
    for (const auto status : {EraseStatus::Waiting, EraseStatus::Done, EraseStatus::Failed, EraseStatus::Aborted}) {
        EraseTask task(ItemKind::File, L"C:\\x", status, 0.0, nullptr);
        EXPECT_FALSE(task.requestAbort());
        EXPECT_FALSE(task.abortRequested());
    }
    EraseTask running(ItemKind::File, L"C:\\x", EraseStatus::InProgress, 0.0, nullptr);
    EXPECT_TRUE(running.requestAbort());
    EXPECT_TRUE(running.abortRequested());
}

TEST(EraseTask, FinishedIsPostedOnlyToALiveOwner)
{
    EraseTask ownerless(ItemKind::File, L"C:\\x", EraseStatus::InProgress, 0.0, nullptr);
    EXPECT_FALSE(ownerless.postFinished(EraseStatus::Done));

    HWND gone = nullptr;
    {
        MessageWaiter waiter(WM_ERASE_TASK_FINISHED);
        gone = waiter.window();
    }
    EraseTask orphan(ItemKind::File, L"C:\\x", EraseStatus::InProgress, 0.0, gone);
    EXPECT_FALSE(orphan.postFinished(EraseStatus::Done));

    MessageWaiter waiter(WM_ERASE_TASK_FINISHED);
    EraseTask owned(ItemKind::File, L"C:\\x", EraseStatus::InProgress, 0.0, waiter.window());
    EXPECT_TRUE(owned.postFinished(EraseStatus::Failed));
    const auto message = waiter.waitFor(10000);
    ASSERT_TRUE(message.has_value());
    EXPECT_EQ(*message, static_cast<WPARAM>(EraseStatus::Failed));
}

TEST(EraseTask, StartForgetsAnEarlierStopRequest)
{
    ScratchFolder scratch;
    const std::wstring file = scratch / L"a.txt";
    ASSERT_TRUE(KestrelTest::writeFile(file, "content"));
    MessageWaiter waiter(WM_ERASE_TASK_FINISHED);
    auto task = std::make_unique<EraseTask>(ItemKind::File, file, EraseStatus::InProgress, 0.0, waiter.window());
    ASSERT_TRUE(task->requestAbort());
    ASSERT_TRUE(task->start());
    EXPECT_FALSE(task->abortRequested());
    const auto message = waiter.waitFor(kTaskBoundMilliseconds);
    if (!message) {
        // The worker may still use the record: leave it rather than free it under the worker.
        (void)task.release();
        FAIL() << "no finished message within the bound";
    }
    EXPECT_EQ(*message, static_cast<WPARAM>(EraseStatus::Done));
    EXPECT_EQ(task->status(), EraseStatus::Done);
    EXPECT_FALSE(exists(file));
}

// A second start while the worker runs would erase the item twice over and destroy the record
// twice.
TEST(EraseTask, StartOnARecordWhoseWorkerRunsStartsNothing)
{
    ScratchFolder scratch;
    const std::wstring folder = scratch / L"folder";
    ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
    KestrelTest::LogGate gate(L"Begin to erase: ");
    const TaskOutcome outcome = runTask(folder, ItemKind::Folder, [&gate](EraseTask& task) {
        ASSERT_TRUE(gate.waitUntilHeld(kTaskBoundMilliseconds));
        EXPECT_FALSE(task.start());
        gate.release();
    });
    ASSERT_TRUE(outcome.finished);
    EXPECT_EQ(outcome.status, EraseStatus::Done);
    EXPECT_FALSE(exists(folder));
}

TEST(EraseTask, RoutineIsChosenByThePathNotByTheKind)
{
    ScratchFolder scratch;
    const std::wstring folder = scratch / L"folder";
    const std::wstring file = scratch / L"file.txt";
    ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
    ASSERT_TRUE(KestrelTest::writeFile(file, "content"));
    LogCapture log;

    const TaskOutcome folderRun = runTask(folder, ItemKind::File);
    ASSERT_TRUE(folderRun.finished);
    EXPECT_EQ(folderRun.status, EraseStatus::Done);
    // Only the folder routine reports each item it begins.
    EXPECT_TRUE(log.contains(L"Begin to erase: " + folder + L". "));
    EXPECT_FALSE(exists(folder));

    log.clear();
    const TaskOutcome fileRun = runTask(file, ItemKind::Folder);
    ASSERT_TRUE(fileRun.finished);
    EXPECT_EQ(fileRun.status, EraseStatus::Done);
    EXPECT_FALSE(log.contains(L"Begin to erase: "));
    EXPECT_FALSE(exists(file));
}

TEST(EraseTask, MissingPathFailsAndTouchesNothing)
{
    ScratchFolder scratch;
    LogCapture log;
    const TaskOutcome outcome = runTask(scratch / L"missing.txt");
    ASSERT_TRUE(outcome.finished);
    EXPECT_EQ(outcome.status, EraseStatus::Failed);
    EXPECT_EQ(outcome.messageStatus, static_cast<WPARAM>(EraseStatus::Failed));
    EXPECT_FALSE(log.contains(L"Begin to erase: "));
    EXPECT_TRUE(namesIn(scratch.path()).empty());
}
