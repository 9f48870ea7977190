#include "tests/app/MainDialogAccess.h"
#include "tests/support/LogCapture.h"

#include "app/EraseScheduler.h"
#include "app/WipewellMainDlg.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// The scheduler over the dialog's real list, with a stand-in worker: the test plays the worker
// by setting the started record's status and reporting its end.
class EraseSchedulerTest : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dialog.create(nullptr));
        for (const wchar_t* path : {L"C:\\a", L"C:\\b", L"C:\\c"})
            rows.addTask(ItemKind::File, path, EraseStatus::Waiting, 0.0, dialog);
    }

    // The stand-in worker ends its task with the status; the scheduler takes the report.
    bool workerEnds(EraseStatus status)
    {
        started.back()->setStatus(status);
        return scheduler.taskFinished();
    }
    std::wstring status(int row) { return rows.getItemText(row, 1); }

    KestrelTest::LogCapture log;
    WipewellMainDlg dialog;
    ErasingTasksListCtrl& rows = MainDialogAccess::taskList(dialog);
    std::vector<EraseTask*> started;
    bool workersStart = true;
    bool clockRuns = false;
    EraseScheduler scheduler{rows,
                             [this](EraseTask& task) {
                                 started.push_back(&task);
                                 return workersStart;
                             },
                             [this](bool run) { clockRuns = run; }};
};

TEST_F(EraseSchedulerTest, RunsWaitingRowsOneAtATimeFromTheTopAndSkipsStoppedOnes)
{
    ASSERT_TRUE(scheduler.startNextTask());
    EXPECT_FALSE(scheduler.startNextTask());
    ASSERT_EQ(started.size(), 1u);
    EXPECT_EQ(started[0]->path(), L"C:\\a");
    EXPECT_EQ(status(0), L"In Progress");
    EXPECT_TRUE(clockRuns);

    started[0]->setProgress(42.0);
    scheduler.showProgress();
    EXPECT_EQ(rows.getItemText(0, 2).substr(0, 2), L"42");

    scheduler.stopRow(1);
    EXPECT_EQ(status(1), L"Aborted");
    EXPECT_FALSE(workerEnds(EraseStatus::Done));
    EXPECT_EQ(status(0), L"Done");
    ASSERT_EQ(started.size(), 2u);
    EXPECT_EQ(started[1]->path(), L"C:\\c");

    EXPECT_FALSE(workerEnds(EraseStatus::Failed));
    EXPECT_EQ(status(2), L"Failed");
    EXPECT_EQ(scheduler.currentTask(), nullptr);
    EXPECT_FALSE(clockRuns);
    EXPECT_FALSE(scheduler.hasWaitingRow());
}

TEST_F(EraseSchedulerTest, AWorkerThatCannotStartFailsItsRowAndStopsTheClock)
{
    workersStart = false;
    EXPECT_FALSE(scheduler.startNextTask());
    EXPECT_EQ(status(0), L"Failed");
    ASSERT_NE(scheduler.currentTask(), nullptr);
    EXPECT_EQ(scheduler.currentTask()->status(), EraseStatus::Failed);
    EXPECT_FALSE(clockRuns);
    EXPECT_TRUE(log.contains(L"ERROR: \tFailed to start erase.\r\n"));

    workersStart = true;
    EXPECT_TRUE(scheduler.startNextTask());
    EXPECT_EQ(started.back()->path(), L"C:\\b");
}

TEST_F(EraseSchedulerTest, TheExitQuestionHoldsTheQueueAndACloseWaitsForTheWorker)
{
    ASSERT_TRUE(scheduler.startNextTask());
    // The worker reports while the question is open: nothing starts until it is answered.
    EXPECT_FALSE(scheduler.confirmExit([this] {
        workerEnds(EraseStatus::Done);
        return false;
    }));
    ASSERT_EQ(started.size(), 2u);
    EXPECT_EQ(status(1), L"In Progress");

    EXPECT_TRUE(scheduler.confirmExit([] { return true; }));
    EXPECT_TRUE(started[1]->abortRequested());
    EXPECT_FALSE(scheduler.beginClosing());
    EXPECT_TRUE(workerEnds(EraseStatus::Aborted));
    EXPECT_EQ(status(1), L"Aborted");
    EXPECT_EQ(status(2), L"Waiting");
    EXPECT_EQ(started.size(), 2u);
}

TEST_F(EraseSchedulerTest, AFinishedTasksWarningIsItsRowsTipAndOneLogLine)
{
    const std::wstring warning = L"The cloud service keeps earlier versions.";
    ASSERT_TRUE(scheduler.startNextTask());
    started.back()->addWarning(warning);
    EXPECT_FALSE(workerEnds(EraseStatus::Done));
    EXPECT_FALSE(workerEnds(EraseStatus::Done));
    EXPECT_EQ(log.count(L"Warning: \t" + warning + L"\r\n"), 1u);
    EXPECT_EQ(rows.getItemToolTip(0, 1), warning);
    EXPECT_EQ(rows.getItemToolTip(1, 1), L"");
}

} // namespace
