#include "app/WipewellMainDlg.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

class ErasingTasksListTest : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dialog.create(nullptr)); }

    WipewellMainDlg dialog;
    ErasingTasksListCtrl& list = dialog.taskList();
};

TEST_F(ErasingTasksListTest, TakesOverThePlaceholderWithFourColumns)
{
    EXPECT_EQ(list.handle(), dialog.getDlgItem(IDC_TASK_LIST).handle());
    ASSERT_EQ(list.columnCount(), 4);
    const struct {
        const wchar_t* title;
        int width;
        Kestrel::ItemFormat format;
    } columns[] = {{L"Path", 300, Kestrel::FormatText},
                   {L"Status", 100, Kestrel::FormatText},
                   {L"Progress", 110, Kestrel::FormatProgress},
                   {L"Action", 60, Kestrel::FormatLinkIfText}};
    for (int position = 0; position < 4; ++position) {
        const Kestrel::ListColumn* column = list.column(position);
        ASSERT_NE(column, nullptr);
        EXPECT_EQ(column->title, columns[position].title);
        EXPECT_EQ(column->width, columns[position].width);
        EXPECT_EQ(column->format, columns[position].format);
        EXPECT_FALSE(column->fixed);
    }
}

TEST_F(ErasingTasksListTest, EmptyListHasNoWaitingRunningOrSelectedRow)
{
    EXPECT_EQ(list.firstWaitingRow(), -1);
    EXPECT_EQ(list.firstRunningRow(), -1);
    std::vector<int> rows{7};
    list.selectedRows(rows);
    EXPECT_TRUE(rows.empty());
}

TEST_F(ErasingTasksListTest, RowsShowPathStatusProgressLinkAndIcon)
{
    EXPECT_EQ(list.addTask(ItemKind::File, L"C:\\a.txt", EraseStatus::Waiting, 0.0, dialog), 0);
    EXPECT_EQ(list.addTask(ItemKind::Folder, L"C:\\b", EraseStatus::Waiting, 0.0, dialog), 1);
    EXPECT_EQ(list.addTask(ItemKind::File, L"C:\\a.txt", EraseStatus::Waiting, 0.0, dialog), 2);
    EXPECT_EQ(list.getItemCount(), 3);

    EXPECT_EQ(list.getItemText(0, 0), L"C:\\a.txt");
    EXPECT_EQ(list.getItemText(2, 0), L"C:\\a.txt");
    EXPECT_EQ(list.getItemText(0, 1), L"Waiting");
    EXPECT_EQ(list.getItemText(0, 2), L"0.000000");
    EXPECT_EQ(list.getItemText(0, 3), L"Cancel");
    EXPECT_EQ(list.getItemText(0, 4), L"");
    EXPECT_EQ(list.getItemText(3, 0), L"");

    EXPECT_EQ(list.getItemImage(0, 0), ErasingTasksListCtrl::kFileImage);
    EXPECT_EQ(list.getItemImage(1, 0), ErasingTasksListCtrl::kFolderImage);
    EXPECT_EQ(list.getItemImage(1, 1), -1);
    EXPECT_EQ(list.getItemImage(3, 0), -1);

    ASSERT_TRUE(list.setRowStatus(1, EraseStatus::InProgress));
    ASSERT_TRUE(list.setRowProgress(1, 42.5));
    EXPECT_EQ(list.getItemText(1, 1), L"In Progress");
    EXPECT_EQ(list.getItemText(1, 2), L"42.500000");
    EXPECT_EQ(list.getItemText(1, 3), L"Cancel");
    EXPECT_EQ(list.firstRunningRow(), 1);
    EXPECT_EQ(list.firstWaitingRow(), 0);

    for (const EraseStatus ended : {EraseStatus::Done, EraseStatus::Failed, EraseStatus::Aborted}) {
        ASSERT_TRUE(list.setRowStatus(0, ended));
        EXPECT_EQ(list.getItemText(0, 1), statusText(ended));
        EXPECT_EQ(list.getItemText(0, 3), L"");
    }
    EXPECT_EQ(list.firstWaitingRow(), 2);
}

TEST_F(ErasingTasksListTest, IndexOutOfRangeChangesNothing)
{
    list.addTask(ItemKind::File, L"C:\\a.txt", EraseStatus::Waiting, 0.0, dialog);
    EraseTask task(ItemKind::Folder, L"untouched");
    for (const int bad : {-1, 1}) {
        EXPECT_FALSE(list.setRowStatus(bad, EraseStatus::Done));
        EXPECT_FALSE(list.setRowProgress(bad, 50.0));
        EXPECT_FALSE(list.copyTask(bad, task));
        EXPECT_FALSE(list.isRowWaiting(bad));
        EXPECT_FALSE(list.isRowRunning(bad));
    }
    EXPECT_EQ(task.path(), L"untouched");
    EXPECT_EQ(list.getItemText(0, 1), L"Waiting");

    ASSERT_TRUE(list.copyTask(0, task));
    EXPECT_EQ(task.path(), L"C:\\a.txt");
    EXPECT_EQ(task.kind(), ItemKind::File);
    EXPECT_EQ(task.ownerWindow(), dialog.handle());
}

TEST_F(ErasingTasksListTest, SelectedRowsComeInAscendingOrder)
{
    for (int row = 0; row < 4; ++row)
        list.addTask(ItemKind::File, L"C:\\x" + std::to_wstring(row), EraseStatus::Waiting, 0.0, dialog);
    list.selectItem(3, 0, 0);
    list.selectItem(0, 0, MK_CONTROL);
    list.selectItem(2, 0, MK_CONTROL);
    std::vector<int> rows;
    list.selectedRows(rows);
    EXPECT_EQ(rows, (std::vector<int>{0, 2, 3}));
}

// A drop adds its rows in one handler and the bar is not drawn after each: the vertical range must
// still cover every row and scrolling to the end must bring the last row in.
TEST_F(ErasingTasksListTest, ThousandRowsAddedInOneGoSetTheScrollBarsForAllOfThem)
{
    dialog.showWindow(SW_SHOWNORMAL);
    constexpr int kRows = 1000;
    for (int row = 0; row < kRows; ++row) {
        const std::wstring path = L"C:\\x" + std::to_wstring(row);
        ASSERT_EQ(list.addTask(ItemKind::File, path, EraseStatus::Waiting, 0.0, dialog), row);
    }

    EXPECT_NE(list.style() & WS_VSCROLL, 0u);
    const RECT client = list.clientRect();
    SCROLLINFO vertical{};
    vertical.cbSize = sizeof vertical;
    vertical.fMask = SIF_RANGE | SIF_PAGE;
    ASSERT_TRUE(GetScrollInfo(list.handle(), SB_VERT, &vertical));
    EXPECT_EQ(vertical.nMax, kRows * list.rowHeight() + list.headerHeight());
    EXPECT_EQ(static_cast<LONG>(vertical.nPage), client.bottom - list.headerHeight());
    // The four columns still fit beside the vertical bar.
    EXPECT_EQ(list.style() & WS_HSCROLL, 0u);

    SendMessageW(list.handle(), WM_VSCROLL, SB_BOTTOM, 0);
    EXPECT_TRUE(list.isItemVisible(kRows - 1));
}

} // namespace
