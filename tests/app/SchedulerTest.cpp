#include "tests/app/MessageBoxAnswerer.h"
#include "tests/support/LogCapture.h"
#include "tests/support/ScratchFolder.h"
#include "tests/support/SparseFile.h"

#include "tests/app/MainDialogAccess.h"
#include "tests/support/MessagePump.h"
#include "tests/support/MessageWaiter.h"

#include "app/TaskbarFlash.h"
#include "app/UserTexts.h"
#include "app/WipewellMainDlg.h"
#include "erase/WorkerBoundary.h"
#include "foundation/UniqueHandle.h"

#include <gtest/gtest.h>

#include <cwchar>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

using KestrelTest::LogCapture;
using KestrelTest::MessageBoxAnswerer;
using KestrelTest::ScratchFolder;

constexpr DWORD kBoundMilliseconds = 60000;
// A 1 GiB file without data blocks: made at once, and its overwrite runs long enough that a stop
// requested right after the start always finds it running.
constexpr std::uint64_t kLargeFileBytes = std::uint64_t{1} << 30;

bool exists(const std::wstring& path)
{
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

class SchedulerTest : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dialog.create(nullptr)); }

    // A task still running after a failed check is stopped and awaited, so that nothing is left
    // writing into the scratch folder.
    void TearDown() override
    {
        if (MainDialogAccess::stopCurrentTask(dialog))
            pumpUntil([this] { return MainDialogAccess::currentTask(dialog) == nullptr; });
    }

    int addFile(const std::wstring& name, const std::string& content = "some content")
    {
        const std::wstring path = scratch / name;
        EXPECT_TRUE(KestrelTest::writeFile(path, content));
        return MainDialogAccess::taskList(dialog).addTask(ItemKind::File, path, EraseStatus::Waiting, 0.0, dialog);
    }
    int addLargeFile(const std::wstring& name)
    {
        EXPECT_TRUE(KestrelTest::writeSparse(scratch / name, kLargeFileBytes));
        return MainDialogAccess::taskList(dialog).addTask(ItemKind::File, scratch / name, EraseStatus::Waiting, 0.0, dialog);
    }
    std::wstring cell(int row, int column) { return MainDialogAccess::taskList(dialog).getItemText(row, column); }
    std::wstring status(int row) { return cell(row, 1); }
    double progress(int row) { return std::wcstod(cell(row, 2).c_str(), nullptr); }

    void command(int id) { dialog.sendMessage(WM_COMMAND, MAKEWPARAM(id, BN_CLICKED)); }
    // Erase! answered Yes.
    void erase()
    {
        MessageBoxAnswerer answerer({IDYES});
        command(IDOK);
        ASSERT_EQ(answerer.boxes().size(), 1u);
    }

    // Handles this thread's messages until the condition holds or the bound passes; a quit
    // message is kept in quitCode instead of ending anything.
    template <typename Condition>
    bool pumpUntil(Condition condition, DWORD bound = kBoundMilliseconds)
    {
        return KestrelTest::pumpUntil(condition, bound, [this](MSG& message) {
            if (message.message == WM_QUIT)
                quitCode = message.wParam;
            return false;
        });
    }
    // Waits, without handling anything, until the worker's end message is queued for the dialog.
    bool waitUntilTaskEndIsQueued(DWORD bound = kBoundMilliseconds)
    {
        const DWORD start = GetTickCount();
        MSG message;
        while (!PeekMessageW(&message, dialog, WM_ERASE_TASK_FINISHED, WM_ERASE_TASK_FINISHED, PM_NOREMOVE)) {
            const DWORD elapsed = GetTickCount() - start;
            if (elapsed >= bound)
                return false;
            MsgWaitForMultipleObjects(0, nullptr, FALSE, bound - elapsed, QS_POSTMESSAGE);
        }
        return true;
    }
    LRESULT sendLinkClicked(int row)
    {
        Kestrel::ListNotifyInfo info{};
        info.header.hwndFrom = MainDialogAccess::taskList(dialog).handle();
        info.header.idFrom = IDC_TASK_LIST;
        info.header.code = static_cast<UINT>(Kestrel::LinkClicked);
        info.item = row;
        info.subItem = 3;
        return dialog.sendMessage(WM_NOTIFY, IDC_TASK_LIST, reinterpret_cast<LPARAM>(&info));
    }
    bool waitForStatus(int row, const std::wstring& wanted)
    {
        return pumpUntil([&] { return status(row) == wanted; });
    }
    // The position of the first captured line that contains the text, or npos.
    std::size_t lineOf(const std::wstring& text)
    {
        const auto lines = log.lines();
        for (std::size_t index = 0; index < lines.size(); ++index) {
            if (lines[index].find(text) != std::wstring::npos)
                return index;
        }
        return std::wstring::npos;
    }

    ScratchFolder scratch;
    LogCapture log;
    WipewellMainDlg dialog;
    std::optional<WPARAM> quitCode;
};

TEST_F(SchedulerTest, EraseWithOnlyFinishedRowsSaysNothingWaitsAndStartsNothing)
{
    addFile(L"done.txt");
    addFile(L"failed.txt");
    MainDialogAccess::taskList(dialog).setRowStatus(0, EraseStatus::Done);
    MainDialogAccess::taskList(dialog).setRowStatus(1, EraseStatus::Failed);
    MessageBoxAnswerer answerer;
    command(IDOK);
    ASSERT_EQ(answerer.boxes().size(), 1u);
    EXPECT_EQ(answerer.boxes()[0].text, UserTexts::kNothingWaiting);
    EXPECT_EQ(MainDialogAccess::currentTask(dialog), nullptr);
    EXPECT_TRUE(exists(scratch / L"done.txt"));
}

// The question says what goes below its own words, the Waiting rows only; its Enter is No.
TEST_F(SchedulerTest, EraseAnsweredNoStartsNothing)
{
    for (const wchar_t* name : {L"a.txt", L"b.txt", L"c.txt", L"d.txt", L"e.txt"})
        addFile(name);
    auto& list = MainDialogAccess::taskList(dialog);
    list.addTask(ItemKind::Folder, scratch.path(), EraseStatus::Waiting, 0.0, dialog);
    list.addTask(ItemKind::FreeSpace, L"C:\\", EraseStatus::Waiting, 0.0, dialog);
    list.addTask(ItemKind::RecycleBin, L"Recycle Bin (3 items, 12 KB)", EraseStatus::Waiting, 0.0, dialog);
    list.addTask(ItemKind::File, scratch / L"a.txt", EraseStatus::Done, 100.0, dialog);
    MessageBoxAnswerer answerer({IDNO});
    command(IDOK);
    ASSERT_EQ(answerer.boxes().size(), 1u);
    EXPECT_EQ(answerer.boxes()[0].caption, L"Kestrel Wipewell");
    EXPECT_EQ(answerer.boxes()[0].text, std::wstring(UserTexts::kConfirmErase) +
                                            L"\r\n\r\n6 items: 5 files, 1 folder\r\nThe free space of C:\\\r\n"
                                            L"Recycle Bin (3 items, 12 KB)");
    EXPECT_TRUE(answerer.boxes()[0].hasYesNo);
    EXPECT_EQ(answerer.boxes()[0].defaultButton, IDNO);
    EXPECT_EQ(answerer.boxes()[0].owner, dialog.handle());
    EXPECT_EQ(status(0), L"Waiting");
    EXPECT_EQ(MainDialogAccess::currentTask(dialog), nullptr);
    EXPECT_EQ(lineOf(L"Start to erase"), std::wstring::npos);
}

// A file, a folder and a file: one Erase! runs them from the top, each to Done with a full bar.
TEST_F(SchedulerTest, OneEraseRunsEveryWaitingRowTopDown)
{
    addFile(L"first.txt");
    ASSERT_TRUE(CreateDirectoryW((scratch / L"second").c_str(), nullptr));
    ASSERT_TRUE(KestrelTest::writeFile(scratch / L"second\\inner.txt", "inner"));
    MainDialogAccess::taskList(dialog).addTask(ItemKind::Folder, scratch / L"second", EraseStatus::Waiting, 0.0, dialog);
    addFile(L"third.txt");

    erase();
    ASSERT_TRUE(waitForStatus(2, L"Done"));

    std::size_t previous = 0;
    for (const wchar_t* name : {L"first.txt", L"second", L"third.txt"}) {
        const std::wstring path = scratch / name;
        const std::size_t started = lineOf(L"Info: \tStart to erase: " + path + L". \r\n");
        const std::size_t erased = lineOf(L"Info: \tFile erased: " + path + L". \r\n");
        ASSERT_NE(started, std::wstring::npos) << path;
        ASSERT_NE(erased, std::wstring::npos) << path;
        EXPECT_LT(started, erased);
        EXPECT_LE(previous, started);
        previous = erased;
        EXPECT_FALSE(exists(path));
    }
    for (int row = 0; row < 3; ++row) {
        EXPECT_EQ(status(row), L"Done");
        EXPECT_EQ(cell(row, 2), L"100.000000");
        EXPECT_EQ(cell(row, 3), L"");
    }
    EXPECT_EQ(MainDialogAccess::currentTask(dialog), nullptr);
}

std::vector<FLASHWINFO> flashes;

// A row whose file is gone by its turn fails, and its tip says why in the words of its log line;
// the tip of a row that is erased says only that what was written was read back. When the queue
// ends, the window says how the run went, and flashes in the taskbar unless it is in front.
TEST_F(SchedulerTest, AFailedRowsTipIsTheReasonItsWorkerReportedAndTheRunsEndIsTold)
{
    flashes.clear();
    setTaskbarFlashHook([](const FLASHWINFO& flash) { flashes.push_back(flash); });
    addFile(L"gone.txt");
    addFile(L"kept.txt");
    ASSERT_TRUE(DeleteFileW((scratch / L"gone.txt").c_str()));
    erase();
    ASSERT_TRUE(waitForStatus(1, L"Done"));
    const std::wstring reason = L"File not found: " + scratch / L"gone.txt";
    EXPECT_EQ(status(0), L"Failed");
    EXPECT_EQ(MainDialogAccess::taskList(dialog).getItemToolTip(0, 1), reason);
    EXPECT_NE(lineOf(L"ERROR: \t" + reason + L"\r\n"), std::wstring::npos);
    EXPECT_EQ(MainDialogAccess::taskList(dialog).getItemToolTip(1, 1), L"Read back: yes.");
    EXPECT_NE(lineOf(L"Info: \tRead back all that was written: " + scratch / L"kept.txt" + L". \r\n"),
              std::wstring::npos);
    wchar_t line[64]{};
    GetDlgItemTextW(dialog, IDC_QUEUE_OUTCOME, line, 64);
    EXPECT_STREQ(line, L"Last run: 1 done, 1 failed, 0 aborted");
    ASSERT_EQ(flashes.size(), 1u) << "the hidden window did not flash";
    EXPECT_EQ(flashes[0].hwnd, dialog.handle());
    EXPECT_EQ(flashes[0].dwFlags, DWORD{FLASHW_TRAY | FLASHW_TIMERNOFG});

    dialog.showWindow(SW_SHOW);
    ASSERT_EQ(GetForegroundWindow(), dialog.handle());
    addFile(L"later.txt");
    erase();
    ASSERT_TRUE(waitForStatus(2, L"Done"));
    EXPECT_EQ(flashes.size(), 1u) << "the window in front flashed";
    setTaskbarFlashHook(nullptr);
}

TEST_F(SchedulerTest, RowAddedWhileATaskRunsRunsNext)
{
    addFile(L"running.txt");
    erase();
    // The first task's end cannot be handled before this thread pumps again.
    ASSERT_TRUE(MainDialogAccess::taskList(dialog).isRowRunning(0));
    addFile(L"added.txt");
    ASSERT_TRUE(waitForStatus(1, L"Done"));
    EXPECT_EQ(status(0), L"Done");
    EXPECT_FALSE(exists(scratch / L"added.txt"));
}

// Progress reaches the row while the task runs; its "Cancel" link stops it, and the next row runs.
TEST_F(SchedulerTest, RunningRowShowsProgressAndItsCancelLinkStopsIt)
{
    addLargeFile(L"large.bin");
    addFile(L"next.txt");
    erase();
    ASSERT_TRUE(pumpUntil([&] { return progress(0) > 0.0; }));
    EXPECT_EQ(status(0), L"In Progress");
    EXPECT_EQ(cell(0, 3), L"Cancel");

    MainDialogAccess::taskList(dialog).notifyParent(0, Kestrel::ColumnId(3), Kestrel::LinkClicked);
    EXPECT_NE(lineOf(L"Info: \tCancel to erase: " + scratch / L"large.bin" + L". \r\n"), std::wstring::npos);
    ASSERT_TRUE(waitForStatus(1, L"Done"));

    EXPECT_EQ(status(0), L"Aborted");
    EXPECT_EQ(cell(0, 2), L"0.000000");
    EXPECT_EQ(cell(0, 3), L"");
    EXPECT_EQ(MainDialogAccess::taskList(dialog).rowReason(0), UserTexts::kFileStoppedPartWay);
    EXPECT_NE(lineOf(L"Info: \tCancel erasing: " + scratch / L"large.bin" + L". \r\n"), std::wstring::npos);
    EXPECT_TRUE(exists(scratch / L"large.bin"));
}

// A link of no row answers -1 and changes nothing.
TEST_F(SchedulerTest, CancelLinkOfAWaitingRowAbortsItAtOnce)
{
    addFile(L"waiting.txt");
    MainDialogAccess::taskList(dialog).setRowProgress(0, 12.0);
    EXPECT_EQ(sendLinkClicked(1), -1);
    EXPECT_EQ(sendLinkClicked(-1), -1);
    EXPECT_EQ(status(0), L"Waiting");
    EXPECT_EQ(sendLinkClicked(0), 0);
    EXPECT_EQ(status(0), L"Aborted");
    EXPECT_EQ(cell(0, 2), L"0.000000");
    EXPECT_EQ(cell(0, 3), L"");
    EXPECT_EQ(MainDialogAccess::currentTask(dialog), nullptr);
    EXPECT_TRUE(exists(scratch / L"waiting.txt"));
}

TEST_F(SchedulerTest, StopSelectedStopsTheRunningRowAndAbortsTheWaitingOneOnly)
{
    addLargeFile(L"large.bin");
    addFile(L"selected.txt");
    addFile(L"unselected.txt");
    erase();
    ASSERT_TRUE(MainDialogAccess::taskList(dialog).isRowRunning(0));

    command(IDC_STOP_SELECTED);
    EXPECT_TRUE(MainDialogAccess::taskList(dialog).isRowRunning(0));
    EXPECT_EQ(status(1), L"Waiting");
    EXPECT_EQ(lineOf(L"Cancel to erase"), std::wstring::npos);

    MainDialogAccess::taskList(dialog).selectItem(1, Kestrel::ColumnPosition(0), 0);
    MainDialogAccess::taskList(dialog).selectItem(0, Kestrel::ColumnPosition(0), MK_CONTROL);
    command(IDC_STOP_SELECTED);
    EXPECT_EQ(status(1), L"Aborted");
    EXPECT_EQ(cell(1, 2), L"0.000000");
    EXPECT_NE(lineOf(L"Info: \tCancel to erase: " + scratch / L"large.bin" + L". \r\n"), std::wstring::npos);

    ASSERT_TRUE(waitForStatus(2, L"Done"));
    EXPECT_EQ(status(0), L"Aborted");
    EXPECT_EQ(status(1), L"Aborted");
    EXPECT_TRUE(exists(scratch / L"selected.txt"));
    EXPECT_FALSE(exists(scratch / L"unselected.txt"));
}

// No keeps the task running and the dialog open; Yes stops it, and the dialog goes and quits
// with 2 only once the worker has reported, starting nothing more.
TEST_F(SchedulerTest, CloseWhileErasingAsksAndEndsAfterTheWorkerReported)
{
    addLargeFile(L"large.bin");
    addFile(L"waiting.txt");
    erase();
    const HWND window = dialog;
    MessageBoxAnswerer answerer({IDNO, IDYES});

    command(IDCANCEL);
    ASSERT_EQ(answerer.boxes().size(), 1u);
    EXPECT_EQ(answerer.boxes()[0].text, UserTexts::kConfirmExit);
    EXPECT_TRUE(answerer.boxes()[0].hasYesNo);
    EXPECT_EQ(answerer.boxes()[0].defaultButton, IDNO);
    EXPECT_TRUE(IsWindow(window));
    EXPECT_TRUE(MainDialogAccess::taskList(dialog).isRowRunning(0));
    EXPECT_EQ(lineOf(L"Cancel to erase"), std::wstring::npos);

    command(IDCANCEL);
    ASSERT_EQ(answerer.boxes().size(), 2u);
    EXPECT_NE(lineOf(L"Info: \tCancel to erase: " + scratch / L"large.bin" + L". \r\n"), std::wstring::npos);
    EXPECT_TRUE(IsWindow(window)) << "the window must wait for the worker's report";
    EXPECT_FALSE(quitCode.has_value());

    ASSERT_TRUE(pumpUntil([&] { return quitCode.has_value(); }));
    EXPECT_EQ(*quitCode, 2u);
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(MainDialogAccess::currentTask(dialog), nullptr);
    EXPECT_EQ(status(0), L"Aborted");
    EXPECT_EQ(status(1), L"Waiting");
    EXPECT_EQ(lineOf(L"Start to erase: " + scratch / L"waiting.txt"), std::wstring::npos);
    EXPECT_TRUE(exists(scratch / L"waiting.txt"));
}

// The running task ends while the exit question is open, its end handled inside the question's
// own message loop: no task starts there. On No the queue goes on; on Yes the dialog goes at once,
// the next row untouched.
TEST_F(SchedulerTest, NoTaskStartsWhileTheExitQuestionIsOpen)
{
    addFile(L"first.txt");
    addFile(L"second.txt");
    addFile(L"third.txt");
    erase();
    MessageBoxAnswerer answerer({IDNO, IDYES});
    answerer.beforeEachAnswer([this] { EXPECT_TRUE(waitUntilTaskEndIsQueued()); });

    command(IDCANCEL);
    ASSERT_EQ(answerer.boxes().size(), 1u);
    EXPECT_EQ(status(0), L"Done");
    EXPECT_TRUE(MainDialogAccess::taskList(dialog).isRowRunning(1)) << "after No the queue goes on";

    command(IDCANCEL);
    ASSERT_EQ(answerer.boxes().size(), 2u);
    EXPECT_EQ(answerer.boxes()[1].text, UserTexts::kConfirmExit);
    ASSERT_TRUE(pumpUntil([&] { return quitCode.has_value(); }));
    EXPECT_EQ(*quitCode, 2u);
    EXPECT_EQ(status(1), L"Done");
    EXPECT_EQ(status(2), L"Waiting");
    EXPECT_EQ(lineOf(L"Start to erase: " + scratch / L"third.txt"), std::wstring::npos);
    EXPECT_EQ(KestrelTest::readFile(scratch / L"third.txt"), "some content");
}

// A routine that throws ends its task Failed and still reports the end. The boundary writes no
// line: the dialog writes the one "Failed to erase: " line of every task that ended Failed.
TEST(WorkerBoundaryTest, ARoutineThatThrowsEndsTheTaskFailedWithoutALineOfItsOwn)
{
    LogCapture log;
    KestrelTest::MessageWaiter owner(WM_ERASE_TASK_FINISHED);
    EraseTask task(ItemKind::File, L"C:\\thrown.txt", EraseStatus::InProgress, 0.0, owner.window());
    runWorker(&task, [](EraseTask&) -> WorkerOutcome { throw std::runtime_error("lost"); });
    EXPECT_EQ(task.status(), EraseStatus::Failed);
    EXPECT_EQ(owner.waitFor(kBoundMilliseconds), static_cast<WPARAM>(EraseStatus::Failed));
    EXPECT_FALSE(log.contains(L"Failed to erase"));
}

} // namespace
