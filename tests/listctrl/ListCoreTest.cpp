#include "ListTestSupport.h"

#include <gtest/gtest.h>

// Every member compiles, also the ones no test calls.
template class Kestrel::CListImpl<KestrelTest::TestList>;

namespace {

using namespace Kestrel;
using KestrelTest::ListTest;
using KestrelTest::TestList;

// A dialog's list placeholder: a list-view control with its border and report style.
HWND placeholder()
{
    return CreateWindowExW(WS_EX_CLIENTEDGE, WC_LISTVIEWW, L"", WS_CHILD | WS_VISIBLE | WS_BORDER | LVS_REPORT, 0, 0,
                           300, 150, KestrelTest::ListHost::instance().handle(),
                           reinterpret_cast<HMENU>(static_cast<UINT_PTR>(ListTest::kListId)), nullptr, nullptr);
}

class ListCore : public ListTest {
protected:
    void SetUp() override
    {
        ListTest::SetUp();
        makeList();
        for (const wchar_t* title : {L"Name", L"Size", L"Kind"})
            list.addColumn(title, 100);
        addRows(10, 3);
        // Display order Kind, Name, Size: identifiers 2, 0, 1.
        list.moveColumn(ColumnPosition(2), ColumnPosition(0));
    }
};

TEST_F(ListCore, SelectItemRulesAndTheirNotificationsCarryColumnIdentifiers)
{
    list.selectItem(3, ColumnPosition(0), 0);
    EXPECT_EQ(list.selectedItems(), (std::set<int>{3}));
    ASSERT_EQ(notifications().size(), 1u);
    EXPECT_EQ(notifications()[0].code, SelectionChanged);
    EXPECT_EQ(notifications()[0].item, 3);
    EXPECT_EQ(notifications()[0].subItem, 2); // Kind, shown first

    // The sole selected row again: nothing changes, nothing is sent; the focus cell moves.
    list.selectItem(3, ColumnPosition(2), 0);
    EXPECT_EQ(notifications().size(), 1u);
    ColumnPosition focusColumn;
    EXPECT_EQ(list.getFocusItem(&focusColumn), 3);
    EXPECT_EQ(focusColumn.value(), 2);

    // Shift extends from the anchor; the focus column goes once two rows are selected.
    list.selectItem(5, ColumnPosition(1), MK_SHIFT);
    EXPECT_EQ(list.selectedItems(), (std::set<int>{3, 4, 5}));
    ASSERT_EQ(notifications().size(), 2u);
    EXPECT_EQ(notifications()[1].item, 5);
    EXPECT_EQ(notifications()[1].subItem, -1);

    // Control toggles a selected row off without a notification.
    list.selectItem(4, ColumnPosition(1), MK_CONTROL);
    EXPECT_EQ(list.selectedItems(), (std::set<int>{3, 5}));
    EXPECT_EQ(notifications().size(), 2u);
    // ... and an unselected one on, with one.
    list.selectItem(8, ColumnPosition(1), MK_CONTROL);
    EXPECT_EQ(list.selectedItems(), (std::set<int>{3, 5, 8}));
    EXPECT_EQ(notifications().size(), 3u);

    // Shift without an anchor selects just the row and makes it the anchor.
    list.clearSelection();
    EXPECT_EQ(list.getFocusItem(), -1);
    list.selectItem(6, ColumnPosition(1), MK_SHIFT);
    EXPECT_EQ(list.selectedItems(), (std::set<int>{6}));
    list.selectItem(7, ColumnPosition(1), MK_SHIFT);
    EXPECT_EQ(list.selectedItems(), (std::set<int>{6, 7}));
    EXPECT_EQ(notifications().back().subItem, -1);
}

TEST_F(ListCore, SingleSelectionTreatsShiftAsAPlainClickAndControlAsReplacing)
{
    list.setSingleSelection(true);
    list.selectItem(2, ColumnPosition(1), 0);
    list.selectItem(6, ColumnPosition(1), MK_SHIFT);
    EXPECT_EQ(list.selectedItems(), (std::set<int>{6}));
    list.selectItem(8, ColumnPosition(1), MK_CONTROL);
    EXPECT_EQ(list.selectedItems(), (std::set<int>{8}));
    EXPECT_EQ(notifications().back().subItem, 0); // Name, shown second
}

TEST_F(ListCore, OutOfRangeRowsAndColumnsChangeNothing)
{
    list.selectItem(1, ColumnPosition(0), 0);
    notifications().clear();
    for (int row : {-1, 10, 1000}) {
        list.selectItem(row, ColumnPosition(0), 0);
        list.selectItem(row, ColumnPosition(0), MK_SHIFT | MK_CONTROL);
        list.ensureItemVisible(row, ColumnPosition(0));
        EXPECT_FALSE(list.isItemVisible(row, ColumnPosition(0), true));
        const RECT rect = list.itemRect(row);
        EXPECT_TRUE(IsRectEmpty(&rect));
    }
    EXPECT_TRUE(notifications().empty());
    EXPECT_EQ(list.selectedItems(), (std::set<int>{1}));
    const RECT outside = list.cellRect(0, ColumnPosition(3));
    EXPECT_TRUE(IsRectEmpty(&outside));
    EXPECT_FALSE(list.isItemVisible(0, ColumnPosition(7), false));
    EXPECT_EQ(list.column(ColumnPosition(-1)), nullptr);
    EXPECT_EQ(list.columnId(ColumnPosition(3)).value(), -1);
    EXPECT_EQ(list.columnPosition(ColumnId(9)).value(), -1);
    list.setColumnWidth(ColumnPosition(5), 40);
    list.moveColumn(ColumnPosition(0), ColumnPosition(5));
    EXPECT_EQ(list.columnId(ColumnPosition(0)).value(), 2);
    // A click right of the columns hits the row but no column.
    const RECT row = list.itemRect(1);
    const Kestrel::ListHit hit = list.hitTest(POINT{350, (row.top + row.bottom) / 2});
    EXPECT_EQ(hit.item, 1);
    EXPECT_EQ(hit.column.value(), -1);
}

TEST_F(ListCore, TheFocusCellAndACellColourStayWithADraggedColumn)
{
    list.colouredColumn = 0; // Name
    list.selectItem(3, ColumnPosition(1), 0); // Name
    list.moveColumn(ColumnPosition(1), ColumnPosition(2)); // Kind, Size, Name

    ColumnPosition focusColumn;
    EXPECT_EQ(list.getFocusItem(&focusColumn), 3);
    EXPECT_EQ(focusColumn.value(), 2);
    const auto surface = render();
    for (const int position : {0, 1, 2}) {
        const RECT cell = list.cellRect(5, ColumnPosition(position));
        const COLORREF background = surface->pixel(cell.left + 2, (cell.top + cell.bottom) / 2);
        EXPECT_EQ(background == TestList::colouredBackground, position == 2) << "position " << position;
    }
}

TEST_F(ListCore, ScrollRangesFollowRowsAndColumns)
{
    EXPECT_EQ(KestrelTest::scrollInfo(list, SB_VERT).nMax, 0); // ten rows fit

    addRows(30, 3);
    const RECT client = list.clientRect();
    SCROLLINFO info = KestrelTest::scrollInfo(list, SB_VERT);
    EXPECT_EQ(info.nMax, 40 * list.rowHeight() + list.headerHeight());
    EXPECT_EQ(static_cast<int>(info.nPage), client.bottom - list.headerHeight());

    // 300 pixels of columns fit the width; one wide column more does not.
    EXPECT_EQ(KestrelTest::scrollInfo(list, SB_HORZ).nMax, 0);
    list.addColumn(L"Wide", 250);
    EXPECT_EQ(KestrelTest::scrollInfo(list, SB_HORZ).nMax, 549);
}

TEST_F(ListCore, ColumnFlagsAreNormalisedAndAnImageColumnWithoutTitleFitsItsImage)
{
    Kestrel::ImageList images(ImageList_Create(16, 16, ILC_COLOR24, 1, 0));
    list.setItemImageList(images.get());
    const ColumnId id = list.addColumn(L"", 200, 0);
    EXPECT_EQ(id.value(), 3);
    EXPECT_EQ(list.column(ColumnPosition(3))->width, 21);
    EXPECT_EQ(list.column(ColumnPosition(3))->flags, static_cast<unsigned>(FlagCentre));

    struct Case {
        unsigned given;
        unsigned kept;
    };
    const Case cases[] = {
        {FlagCentre | FlagLeft | FlagRight, FlagCentre},
        {FlagRight | FlagLeft, FlagRight},
        {FlagDateOnly | FlagTimeOnly, FlagDateOnly},
        {FlagEditNumber | FlagEditUpperCase | FlagEditNegative, FlagEditNumber | FlagEditNegative},
        {FlagEditUpperCase | FlagEditNegative | FlagEditNull, FlagEditUpperCase},
        {FlagEditNoDate | FlagTimeOnly | FlagEditSeconds | FlagReadOnly, FlagEditNoDate | FlagReadOnly},
    };
    for (const Case& each : cases) {
        const ColumnId added = list.addColumn(L"x", 10, -1, false, FormatEdit, each.given);
        EXPECT_EQ(list.column(list.columnPosition(added))->flags, each.kept) << std::hex << each.given;
    }
}

TEST_F(ListCore, VisibilityAndScrollingARowIntoView)
{
    addRows(90, 3);
    const int visible = list.visibleItemCount();
    ASSERT_GT(visible, 2);
    EXPECT_TRUE(list.isItemVisible(visible - 1));
    EXPECT_FALSE(list.isItemVisible(visible));
    list.ensureItemVisible(50);
    EXPECT_EQ(list.topItem(), 50 - visible + 1);
    EXPECT_TRUE(list.isItemVisible(50));
    list.ensureItemVisible(10);
    EXPECT_EQ(list.topItem(), 10);
}

// A list whose image strip cannot be loaded is not ready: it has no row height, and painting,
// hit tests and scrolling must not divide by it.
TEST_F(ListTest, AListWhoseInitialisationFailedShowsOnlyItsBackgroundAndHitsNothing)
{
    ASSERT_TRUE(list.subclassWindow(placeholder()));
    list.failResources = true;
    EXPECT_EQ(list.initialise(), 0);
    list.addColumn(L"Name", 100);
    addRows(5, 1);
    EXPECT_EQ(list.rowHeight(), 0);

    const auto surface = render();
    EXPECT_EQ(surface->pixel(10, 30), GetSysColor(COLOR_WINDOW));
    EXPECT_EQ(list.hitTest(POINT{10, 30}).item, -1);
    EXPECT_EQ(list.visibleItemCount(true), 0);
    EXPECT_FALSE(list.isItemVisible(0));
    click(WM_LBUTTONDOWN, POINT{10, 30});
    click(WM_LBUTTONUP, POINT{10, 30});
    for (UINT key : {UINT{VK_DOWN}, UINT{VK_NEXT}, UINT{VK_END}, UINT{'R'}})
        this->key(key);
    list.sendMessage(WM_VSCROLL, SB_PAGEDOWN);
    list.sendMessage(WM_MOUSEWHEEL, MAKEWPARAM(0, -WHEEL_DELTA), 0);
    EXPECT_EQ(list.topItem(), 0);
    list.destroyWindow();
}

// Taking over a dialog's list-view placeholder: the control's border and report style go, and the
// list paints its own header and rows there.
TEST_F(ListTest, TakesOverAnExistingListViewControl)
{
    const HWND control = placeholder();
    ASSERT_TRUE(list.subclassWindow(control));
    list.addColumn(L"Name", 100);
    ASSERT_NE(list.initialise(), 0);
    EXPECT_GT(list.rowHeight(), 6);
    EXPECT_EQ(list.headerHeight(), list.rowHeight());
    EXPECT_EQ(list.style() & (WS_BORDER | LVS_REPORT), 0u);
    EXPECT_NE(list.style() & WS_CLIPCHILDREN, 0u);
    EXPECT_EQ(list.exStyle() & WS_EX_CLIENTEDGE, 0u);
    EXPECT_NE(list.exStyle() & WS_EX_STATICEDGE, 0u);

    addRows(40, 1);
    SetWindowPos(control, nullptr, 0, 0, 320, 160, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_EQ(KestrelTest::scrollInfo(list, SB_VERT).nMax, 40 * list.rowHeight() + list.headerHeight());
    list.selectItem(1, ColumnPosition(0), 0);
    EXPECT_EQ(notifications().back().code, SelectionChanged);
    list.destroyWindow();
}

} // namespace
