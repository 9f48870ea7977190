#include "tests/app/MainDialogAccess.h"
#include "tests/support/PixelSurface.h"

#include "app/WipewellMainDlg.h"
#include "framework/SelectedObject.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

namespace {

class ErasingTasksListTest : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dialog.create(nullptr)); }

    WipewellMainDlg dialog;
    ErasingTasksListCtrl& list = MainDialogAccess::taskList(dialog);
};

TEST_F(ErasingTasksListTest, TakesOverThePlaceholderWithFourColumns)
{
    EXPECT_EQ(list.handle(), dialog.getDlgItem(IDC_TASK_LIST).handle());
    ASSERT_EQ(list.columnCount(), 4);
    // At 96 DPI; Path takes what the others leave of the list's width.
    const int others = 100 + 110 + 60;
    const struct {
        const wchar_t* title;
        int width;
        Kestrel::ItemFormat format;
    } columns[] = {{L"Path", static_cast<int>(list.clientRect().right) - others, Kestrel::FormatText},
                   {L"Status", 100, Kestrel::FormatText},
                   {L"Progress", 110, Kestrel::FormatProgress},
                   {L"Action", 60, Kestrel::FormatLinkIfText}};
    ASSERT_EQ(list.dpi(), Kestrel::Dpi(96));
    EXPECT_GE(columns[0].width, 300);
    for (int position = 0; position < 4; ++position) {
        const Kestrel::ListColumn* column = list.column(Kestrel::ColumnPosition(position));
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
    list.selectItem(3, Kestrel::ColumnPosition(0), 0);
    list.selectItem(0, Kestrel::ColumnPosition(0), MK_CONTROL);
    list.selectItem(2, Kestrel::ColumnPosition(0), MK_CONTROL);
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

// The box around every pixel of the given colour, or an empty one.
RECT boxOfColour(const KestrelTest::PixelSurface& surface, const RECT& area, COLORREF colour)
{
    RECT box{area.right, area.bottom, area.left, area.top};
    for (int y = area.top; y < area.bottom; ++y) {
        for (int x = area.left; x < area.right; ++x) {
            if (surface.pixel(x, y) == colour) {
                box = RECT{std::min(box.left, static_cast<LONG>(x)), std::min(box.top, static_cast<LONG>(y)),
                           std::max(box.right, static_cast<LONG>(x + 1)), std::max(box.bottom, static_cast<LONG>(y + 1))};
            }
        }
    }
    return IsRectEmpty(&box) ? RECT{} : box;
}

// The empty list says how to fill it: one line in the grey text colour, centred in the rows'
// area as the list's own font measures it; a click there hits nothing, and the first row takes
// its place.
TEST_F(ErasingTasksListTest, EmptyListShowsHowToFillItUntilTheFirstRow)
{
    const std::wstring text = ErasingTasksListCtrl::kEmptyListText;
    const COLORREF grey = GetSysColor(COLOR_GRAYTEXT);
    const RECT client = list.clientRect();
    const RECT rows{0, list.headerHeight(), client.right, client.bottom};
    const auto render = [&] {
        auto surface = std::make_unique<KestrelTest::PixelSurface>(client.right, client.bottom);
        list.sendMessage(WM_PRINTCLIENT, reinterpret_cast<WPARAM>(surface->dc()), PRF_CLIENT);
        return surface;
    };
    SIZE extent{};
    {
        const KestrelTest::PixelSurface measure(1, 1);
        const Kestrel::SelectedObject font(measure.dc(), list.getItemFont(0, 0));
        ASSERT_TRUE(GetTextExtentPoint32W(measure.dc(), text.c_str(), static_cast<int>(text.size()), &extent));
    }
    ASSERT_LT(extent.cx, client.right) << "the list is too narrow for the line";

    const RECT box = boxOfColour(*render(), rows, grey);
    ASSERT_FALSE(IsRectEmpty(&box)) << "no grey text in the empty list";
    const int left = (client.right - extent.cx) / 2;
    const int top = rows.top + (rows.bottom - rows.top - extent.cy) / 2;
    // The glyphs lie inside the line's cell, and span most of its width.
    EXPECT_GE(box.left, left);
    EXPECT_LE(box.right, left + extent.cx + 1);
    EXPECT_GT(box.right - box.left, extent.cx * 9 / 10);
    EXPECT_GE(box.top, top);
    EXPECT_LE(box.bottom, top + extent.cy + 1);
    const POINT middle{(box.left + box.right) / 2, (box.top + box.bottom) / 2};
    EXPECT_EQ(list.hitTest(middle).item, -1);

    list.addTask(ItemKind::File, L"C:\\a.txt", EraseStatus::Waiting, 0.0, dialog);
    const RECT after = boxOfColour(*render(), box, grey);
    EXPECT_TRUE(IsRectEmpty(&after));
}

} // namespace
