#include "ListTestSupport.h"
#include "tests/support/MessagePump.h"

#include <gtest/gtest.h>

namespace {

using namespace Kestrel;
using KestrelTest::ListTest;

using Rows = std::set<int>;

// The thread's Shift and Control state as GetKeyState reports it during the next key.
void holdKeys(bool shift, bool control)
{
    BYTE state[256]{};
    GetKeyboardState(state);
    state[VK_SHIFT] = shift ? 0x80 : 0;
    state[VK_CONTROL] = control ? 0x80 : 0;
    SetKeyboardState(state);
}

// Puts the real pointer over a client point of a window, and back where it was when done.
class PointerAt {
public:
    PointerAt(HWND window, POINT client)
    {
        GetCursorPos(&parked_);
        ClientToScreen(window, &client);
        SetCursorPos(client.x, client.y);
    }
    ~PointerAt() { SetCursorPos(parked_.x, parked_.y); }
    PointerAt(const PointerAt&) = delete;
    PointerAt& operator=(const PointerAt&) = delete;

private:
    POINT parked_{};
};

class ListInteraction : public ListTest {
protected:
    void SetUp() override
    {
        ListTest::SetUp();
        makeList(400, 300);
        list.addColumn(L"Name", 150);
        list.addColumn(L"Action", 80, -1, false, FormatLinkIfText);
    }
    void TearDown() override { holdKeys(false, false); }

    void rows(std::initializer_list<const wchar_t*> names)
    {
        for (const wchar_t* name : names)
            list.rows.push_back({name, L"Cancel"});
        list.resetScrollBars(SB_BOTH);
    }
    void press(POINT point, UINT keys = 0) { click(WM_LBUTTONDOWN, point, keys | MK_LBUTTON); }
    void drag(POINT point) { click(WM_MOUSEMOVE, point, MK_LBUTTON); }
    void release(POINT point, UINT keys = 0) { click(WM_LBUTTONUP, point, keys); }
    // Whether the cell's text shows in the link colour, as the hot link's does.
    bool paintedAsLink(int item, int column)
    {
        const auto surface = render();
        const RECT cell = list.cellRect(item, Kestrel::ColumnPosition(column));
        for (int x = cell.left; x < cell.right; ++x) {
            for (int y = cell.top; y < cell.bottom; ++y) {
                if (surface->pixel(x, y) == RGB(0, 0, 200))
                    return true;
            }
        }
        return false;
    }
    void setClientHeight(int height)
    {
        RECT window{};
        GetWindowRect(list.handle(), &window);
        const int frame = window.bottom - window.top - list.clientRect().bottom;
        SetWindowPos(list.handle(), nullptr, 0, 0, window.right - window.left, height + frame,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    // Types a key as the keyboard would, stamped with the given time (which the list reads as
    // the message time), and handles it.
    void keyWithTime(WORD code, DWORD time)
    {
        INPUT input[2]{};
        input[0].type = INPUT_KEYBOARD;
        input[0].ki.wVk = code;
        input[0].ki.time = time;
        input[1] = input[0];
        input[1].ki.dwFlags = KEYEVENTF_KEYUP;
        keyUps = 0;
        const HHOOK hook = SetWindowsHookExW(WH_KEYBOARD, countKeyUps, nullptr, GetCurrentThreadId());
        ASSERT_NE(hook, nullptr);
        ASSERT_EQ(SendInput(2, input, sizeof(INPUT)), 2u);
        const bool handled = KestrelTest::pumpUntil([] { return keyUps > 0; }, 5000);
        UnhookWindowsHookEx(hook);
        ASSERT_TRUE(handled);
    }
    static LRESULT CALLBACK countKeyUps(int code, WPARAM key, LPARAM flags)
    {
        if (code == HC_ACTION && (flags & 0x80000000))
            ++keyUps;
        return CallNextHookEx(nullptr, code, key, flags);
    }
    static inline int keyUps = 0;

    // What a key press left to paint: the area it invalidated, the WM_PAINT messages the list got
    // for it and the rows their painting asked for.
    struct KeyRepaint {
        Region invalidated{CreateRectRgn(0, 0, 0, 0)};
        int paints = 0;
        Rows rowsPainted;
    };
    KeyRepaint keyAndPaint(UINT code)
    {
        UpdateWindow(list.handle());
        KeyRepaint repaint;
        key(code);
        GetUpdateRgn(list.handle(), repaint.invalidated.get(), FALSE);
        list.rowsAsked.clear();
        KestrelTest::drainMessages([&](const MSG& message) {
            repaint.paints += message.message == WM_PAINT && message.hwnd == list.handle() ? 1 : 0;
            return false;
        });
        repaint.rowsPainted = list.rowsAsked;
        return repaint;
    }
    bool coversExactly(HRGN region, const Rows& rows)
    {
        const Region expected(CreateRectRgn(0, 0, 0, 0));
        for (const int row : rows) {
            const RECT rect = list.itemRect(row);
            const Region one(CreateRectRgnIndirect(&rect));
            CombineRgn(expected.get(), expected.get(), one.get(), RGN_OR);
        }
        return EqualRgn(region, expected.get()) != FALSE;
    }
};

TEST_F(ListInteraction, ShiftDownExtendsFromTheAnchorAndControlDownMovesOnlyTheFocus)
{
    addRows(10, 2);
    list.selectItem(3, ColumnPosition(0), 0);
    holdKeys(true, false);
    key(VK_DOWN);
    EXPECT_EQ(list.selectedItems(), (Rows{3, 4}));
    holdKeys(false, true);
    key(VK_DOWN);
    EXPECT_EQ(list.selectedItems(), (Rows{3, 4}));
    // The focus went on to row 5: Shift+Down extends from the anchor to row 6.
    holdKeys(true, false);
    key(VK_DOWN);
    EXPECT_EQ(list.selectedItems(), (Rows{3, 4, 5, 6}));
    holdKeys(false, false);
    key(VK_END);
    EXPECT_EQ(list.selectedItems(), (Rows{9}));
    key(VK_NEXT); // at the bottom: nothing moves
    EXPECT_EQ(list.selectedItems(), (Rows{9}));
    EXPECT_FALSE(list.isScrollAnimating());
    key(VK_HOME);
    EXPECT_EQ(list.selectedItems(), (Rows{0}));
    holdKeys(false, true);
    key('A');
    EXPECT_EQ(list.selectedItems().size(), 10u);
}

// A key that moves the focus and the selection repaints the rows they leave and reach, in one
// paint; only a key that scrolls repaints the whole view.
TEST_F(ListInteraction, AKeyPressRepaintsOnlyTheRowsItChangesInOnePaint)
{
    addRows(30, 2);
    list.selectItem(3, ColumnPosition(0), 0);
    const KeyRepaint down = keyAndPaint(VK_DOWN);
    EXPECT_TRUE(coversExactly(down.invalidated.get(), Rows{3, 4}));
    EXPECT_EQ(down.paints, 1);
    EXPECT_EQ(down.rowsPainted, (Rows{3, 4}));
    // The focus cell moves along its row.
    EXPECT_EQ(keyAndPaint(VK_RIGHT).rowsPainted, (Rows{4}));
    // Row 5 joins the selection, the focus leaves row 4.
    holdKeys(true, false);
    EXPECT_EQ(keyAndPaint(VK_DOWN).rowsPainted, (Rows{4, 5}));
    holdKeys(false, false);
    const KeyRepaint end = keyAndPaint(VK_END);
    Rows shown;
    for (int row = list.topItem(); row < 30; ++row)
        shown.insert(row);
    EXPECT_GT(list.topItem(), 0);
    EXPECT_EQ(end.paints, 1);
    EXPECT_EQ(end.rowsPainted, shown);
}

TEST_F(ListInteraction, PressingOneOfSeveralSelectedRowsSelectsItAloneOnRelease)
{
    addRows(6, 2);
    list.selectItem(1, ColumnPosition(0), 0);
    list.selectItem(3, ColumnPosition(0), MK_SHIFT);
    notifications().clear();
    const POINT point = cellCentre(2, 0);
    press(point);
    EXPECT_EQ(list.selectedItems(), (Rows{1, 2, 3}));
    release(point);
    EXPECT_EQ(list.selectedItems(), (Rows{2}));
    ASSERT_EQ(KestrelTest::ListHost::instance().codes(), (std::vector<int>{SelectionChanged, LeftClick}));
    EXPECT_EQ(notifications()[1].item, 2);
    EXPECT_EQ(notifications()[1].subItem, 0);
}

// Dragged from below the last row up past the header: the rows it crosses, none that do not exist.
TEST_F(ListInteraction, ARubberBandFromBelowTheLastRowSelectsTheRowsItCrosses)
{
    addRows(6, 2);
    const POINT start{60, list.headerHeight() + 9 * list.rowHeight()};
    press(start);
    EXPECT_TRUE(list.selectedItems().empty());
    drag(POINT{start.x + 2, start.y - 2}); // within the threshold: no band yet
    EXPECT_TRUE(list.selectedItems().empty());
    drag(POINT{70, list.itemRect(3).top + 2});
    EXPECT_EQ(list.selectedItems(), (Rows{3, 4, 5}));
    drag(POINT{70, -40});
    EXPECT_EQ(list.selectedItems(), (Rows{0, 1, 2, 3, 4, 5}));
    release(POINT{70, -40});
    EXPECT_EQ(list.selectedItems(), (Rows{0, 1, 2, 3, 4, 5}));
    // A band sends its selection once, and no click.
    ASSERT_EQ(KestrelTest::ListHost::instance().codes(), (std::vector<int>{SelectionChanged}));
    EXPECT_EQ(notifications()[0].item, 5) << "the band's last row is the focus row";
    KillTimer(list.handle(), 1003);
}

// A page step leaves the view between two rows; the rows are painted from the top row down, and
// the band takes the rows it covers there.
TEST_F(ListInteraction, ARubberBandSelectsThePaintedRowsItCoversWhenTheViewLiesBetweenRows)
{
    addRows(100, 2);
    setClientHeight(list.headerHeight() + 10 * list.rowHeight() + list.rowHeight() / 2);
    list.sendMessage(WM_VSCROLL, SB_PAGEDOWN);
    ASSERT_GE(GetScrollPos(list.handle(), SB_VERT) % list.rowHeight(), 2);
    const int first = list.topItem() + 2;
    const POINT end{70, list.itemRect(first + 2).top + 2};
    press(POINT{60, list.itemRect(first).bottom - 2});
    drag(end);
    EXPECT_EQ(list.selectedItems(), (Rows{first, first + 1, first + 2}));
    release(end);
    KillTimer(list.handle(), 1003);
}

TEST_F(ListInteraction, ClickingALinkSelectsItsRowAndReportsItAndAnEmptyLinkIsNoLink)
{
    rows({L"one", L"two", L"three"});
    list.rows[2][1] = L"";
    list.selectItem(0, ColumnPosition(0), 0);
    notifications().clear();
    const HCURSOR arrow = LoadCursorW(nullptr, IDC_ARROW);

    SetCursor(arrow);
    click(WM_MOUSEMOVE, cellCentre(1, 1));
    EXPECT_NE(GetCursor(), arrow);
    EXPECT_TRUE(paintedAsLink(1, 1)) << "the hot link is drawn in the link colour";

    press(cellCentre(1, 1));
    release(cellCentre(1, 1));
    EXPECT_EQ(list.selectedItems(), (Rows{1}));
    ASSERT_EQ(KestrelTest::ListHost::instance().codes(), (std::vector<int>{SelectionChanged, LinkClicked, LeftClick}));
    EXPECT_EQ(notifications()[1].item, 1);
    EXPECT_EQ(notifications()[1].subItem, 1);

    notifications().clear();
    SetCursor(arrow);
    click(WM_MOUSEMOVE, cellCentre(2, 1));
    EXPECT_EQ(GetCursor(), arrow);
    press(cellCentre(2, 1));
    release(cellCentre(2, 1));
    EXPECT_EQ(KestrelTest::ListHost::instance().codes(), (std::vector<int>{SelectionChanged, LeftClick}));
}

TEST_F(ListInteraction, ScrollingByBarWheelAndPagesWithTheAnimationOnlyWhereTheViewMoves)
{
    addRows(100, 2);
    UINT lines = 3;
    SystemParametersInfoW(SPI_GETWHEELSCROLLLINES, 0, &lines, 0);
    ASSERT_NE(lines, WHEEL_PAGESCROLL);
    list.sendMessage(WM_MOUSEWHEEL, MAKEWPARAM(0, -WHEEL_DELTA), 0);
    EXPECT_EQ(list.topItem(), static_cast<int>(lines));
    list.sendMessage(WM_MOUSEWHEEL, MAKEWPARAM(0, 2 * WHEEL_DELTA), 0);
    EXPECT_EQ(list.topItem(), 0);

    // A page step is animated by its timer, once per scroll sequence.
    list.sendMessage(WM_VSCROLL, SB_PAGEDOWN);
    EXPECT_EQ(list.topItem(), list.visibleItemCount());
    EXPECT_TRUE(list.isScrollAnimating());
    EXPECT_TRUE(KestrelTest::pumpUntil([&] { return !list.isScrollAnimating(); }, 3000));
    list.sendMessage(WM_VSCROLL, SB_LINEDOWN);
    EXPECT_FALSE(list.isScrollAnimating());
    list.sendMessage(WM_VSCROLL, SB_ENDSCROLL);
    list.sendMessage(WM_VSCROLL, SB_LINEUP);
    EXPECT_TRUE(list.isScrollAnimating());
    list.sendMessage(WM_HSCROLL, SB_LINERIGHT); // ends it at once
    EXPECT_FALSE(list.isScrollAnimating());
    list.sendMessage(WM_VSCROLL, SB_ENDSCROLL);
    list.sendMessage(WM_VSCROLL, SB_BOTTOM);
    const int bottom = list.topItem();
    EXPECT_GE(bottom + list.visibleItemCount(), 100);
    list.sendMessage(WM_VSCROLL, SB_PAGEDOWN);
    EXPECT_EQ(list.topItem(), bottom);
    EXPECT_FALSE(list.isScrollAnimating()) << "at the bottom nothing moves";

    // "One screen at a time": a page of rows per notch, downwards.
    ASSERT_TRUE(SystemParametersInfoW(SPI_SETWHEELSCROLLLINES, WHEEL_PAGESCROLL, nullptr, 0));
    list.sendMessage(WM_SETTINGCHANGE);
    list.sendMessage(WM_VSCROLL, SB_TOP);
    list.sendMessage(WM_MOUSEWHEEL, MAKEWPARAM(0, -WHEEL_DELTA), 0);
    const int page = list.topItem();
    SystemParametersInfoW(SPI_SETWHEELSCROLLLINES, lines, nullptr, 0);
    list.sendMessage(WM_SETTINGCHANGE);
    EXPECT_EQ(page, list.visibleItemCount() - 1);
}

TEST_F(ListInteraction, DraggingADividerResizesAndADoubleClickFitsTheLongestText)
{
    rows({L"a", L"a rather longer name than the title", L"b"});
    const int divider = list.column(ColumnPosition(0))->width - 1;
    const int y = list.headerHeight() / 2;
    press(POINT{divider, y});
    drag(POINT{divider + 30, y});
    release(POINT{divider + 30, y});
    EXPECT_EQ(list.column(ColumnPosition(0))->width, 180);
    EXPECT_TRUE(notifications().empty());

    const Kestrel::ClientDC dc(list.handle());
    const Kestrel::SelectedObject selected(dc.get(), list.getItemFont(0, 0));
    SIZE longest{};
    const std::wstring& text = list.rows[1][0];
    GetTextExtentPoint32W(dc.get(), text.c_str(), static_cast<int>(text.size()), &longest);

    click(WM_LBUTTONDBLCLK, POINT{179, y}, MK_LBUTTON);
    drag(POINT{180, y}); // the fit is not a resize that the button still drives
    release(POINT{180, y});
    EXPECT_EQ(list.column(ColumnPosition(0))->width, longest.cx + 20);
    EXPECT_EQ(KestrelTest::ListHost::instance().codes(), (std::vector<int>{DoubleClick}));
}

// Shrinking the last column with the view scrolled to its right end: the timer shrinks it while
// the (real) mouse stays left of where the shrinking began.
TEST_F(ListInteraction, ShrinkingAColumnAtTheRightEndFollowsTheMouseByItsTimer)
{
    list.addColumn(L"Wide", 400);
    list.sendMessage(WM_HSCROLL, SB_RIGHT);
    const int right = list.clientRect().right;
    const int y = list.headerHeight() / 2;
    press(POINT{right - 2, y});
    drag(POINT{right - 12, y});
    EXPECT_EQ(list.column(ColumnPosition(2))->width, 400);

    const PointerAt pointer(list.handle(), POINT{right - 22, y});
    EXPECT_TRUE(KestrelTest::pumpUntil([&] { return list.column(ColumnPosition(2))->width <= 380; }, 3000));
    release(POINT{right - 22, y});
    EXPECT_FALSE(KillTimer(list.handle(), 1001)) << "the release ends the shrinking";
}

// The mouse rests while the view scrolls under it: the link now under it is the hot one.
TEST_F(ListInteraction, AfterAScrollTheLinkUnderTheRestingPointerIsHot)
{
    addRows(30, 2); // the second column's cells are links
    const POINT over = cellCentre(1, 1);
    const PointerAt pointer(list.handle(), over);
    click(WM_MOUSEMOVE, over);
    list.sendMessage(WM_MOUSEWHEEL, MAKEWPARAM(0, -WHEEL_DELTA), 0);
    ASSERT_GT(list.topItem(), 0);
    const int under = list.hitTest(over).item;
    EXPECT_TRUE(paintedAsLink(under, 1)) << "after the wheel";
    key(VK_HOME);
    ASSERT_EQ(list.topItem(), 0);
    EXPECT_TRUE(paintedAsLink(1, 1)) << "after a key";
    EXPECT_FALSE(paintedAsLink(under, 1));
}

// The system asks for the cursor before each move; the answer is the one the move sets.
TEST_F(ListInteraction, TheCursorOverLinksAndDividersIsTheSameBeforeAndAfterAMove)
{
    rows({L"one", L"two"});
    const HCURSOR other = LoadCursorW(nullptr, IDC_CROSS);
    auto cursorsAround = [&](POINT point) {
        const PointerAt pointer(list.handle(), point);
        SetCursor(other);
        list.sendMessage(WM_SETCURSOR, reinterpret_cast<WPARAM>(list.handle()), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
        const HCURSOR before = GetCursor();
        click(WM_MOUSEMOVE, point);
        return std::pair{before, GetCursor()};
    };
    const auto [beforeLink, afterLink] = cursorsAround(cellCentre(0, 1));
    EXPECT_NE(afterLink, other);
    EXPECT_EQ(beforeLink, afterLink);
    const auto [beforeDivider, afterDivider] = cursorsAround(POINT{list.column(ColumnPosition(0))->width - 1, list.headerHeight() / 2});
    EXPECT_NE(afterDivider, afterLink);
    EXPECT_EQ(beforeDivider, afterDivider);
    EXPECT_EQ(cursorsAround(cellCentre(0, 0)).first, LoadCursorW(nullptr, IDC_ARROW)) << "the window's own";
}

TEST_F(ListInteraction, TypeAheadStepsThroughAnInitialAndAPauseStartsAPrefixAgain)
{
    rows({L"apple", L"Avocado", L"banana", L"Blueberry", L"cherry", L"blackcurrant"});
    SetForegroundWindow(KestrelTest::ListHost::instance().handle());
    SetFocus(list.handle());
    if (GetFocus() != list.handle())
        GTEST_SKIP() << "the list cannot take the keyboard focus here";
    const DWORD start = GetTickCount();
    keyWithTime('B', start);
    EXPECT_EQ(list.selectedItems(), (Rows{2}));
    keyWithTime('B', start + 100);
    EXPECT_EQ(list.selectedItems(), (Rows{3}));
    keyWithTime('L', start + 200); // "bl": Blueberry already matches
    EXPECT_EQ(list.selectedItems(), (Rows{3}));
    keyWithTime('A', start + 300); // "bla"
    EXPECT_EQ(list.selectedItems(), (Rows{5}));
    keyWithTime('A', start + 1200); // a pause: "a" again from the top
    EXPECT_EQ(list.selectedItems(), (Rows{0}));
    keyWithTime('A', start + 2100); // the same initial after a pause steps on
    EXPECT_EQ(list.selectedItems(), (Rows{1}));
}

TEST_F(ListInteraction, TheTitleTipShowsOnlyForCutOffTextAndFollowsTheMouse)
{
    const std::wstring longText = L"a name far too long for the narrow first column";
    rows({longText.c_str(), L"short", longText.c_str()});
    ASSERT_TRUE(list.titleTip().handle());
    click(WM_MOUSEMOVE, POINT{20, cellCentre(1, 0).y});
    EXPECT_FALSE(list.titleTip().isShown());
    click(WM_MOUSEMOVE, POINT{20, cellCentre(0, 0).y});
    ASSERT_TRUE(list.titleTip().shows(0, ColumnId(0)));
    EXPECT_TRUE(IsWindowVisible(list.titleTip().handle()));

    // The tip holds the mouse: a move below it goes on to the list, which offers the next cell.
    POINT next{20, cellCentre(2, 0).y};
    ClientToScreen(list.handle(), &next);
    ScreenToClient(list.titleTip().handle(), &next);
    list.titleTip().sendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(next.x, next.y));
    EXPECT_TRUE(list.titleTip().shows(2, ColumnId(0)));
    click(WM_LBUTTONDOWN, POINT{20, cellCentre(1, 0).y});
    EXPECT_FALSE(list.titleTip().isShown());
    click(WM_LBUTTONUP, POINT{20, cellCentre(1, 0).y});
}

TEST_F(ListInteraction, TheHotLinkAndTheTitleTipNameADraggedColumn)
{
    const std::wstring longText = L"a name far too long for the narrow first column";
    rows({longText.c_str(), L"two"});
    click(WM_MOUSEMOVE, cellCentre(1, 1));
    list.moveColumn(ColumnPosition(1), ColumnPosition(0)); // Action, Name
    EXPECT_TRUE(paintedAsLink(1, 0)) << "the hot link moved with its column";

    click(WM_MOUSEMOVE, cellCentre(0, 1));
    EXPECT_TRUE(list.titleTip().shows(0, ColumnId(0)));
    click(WM_LBUTTONDOWN, cellCentre(1, 1));
    click(WM_LBUTTONUP, cellCentre(1, 1));
}

TEST_F(ListInteraction, APressThatACancelModeEndedLeavesNothingToTheNextPress)
{
    rows({L"one", L"two", L"three", L"four"});
    list.setItemDragEnabled(true);
    press(POINT{20, list.itemRect(3).bottom + 20}); // below the rows: a drag would draw a band
    list.sendMessage(WM_CANCELMODE, 0, 0);

    // A drag from a row's first column is the rows' to move: it draws no band.
    const POINT below{cellCentre(2, 0).x + 20, cellCentre(2, 0).y};
    press(cellCentre(0, 0));
    drag(below);
    release(below);
    EXPECT_EQ(list.selectedItems(), (Rows{0}));
}

TEST_F(ListInteraction, CheckBoxesToggleByClickAndSpaceUnlessReadOnly)
{
    list.addColumn(L"Done", 40, -1, false, FormatCheckBox);
    list.addColumn(L"State", 40, -1, false, FormatCheckBox3State);
    list.addColumn(L"Locked", 40, -1, false, FormatCheckBox, FlagReadOnly);
    list.rows = {{L"a", L"", L"0", L"-1", L"1"}};
    list.resetScrollBars(SB_BOTH);

    press(cellCentre(0, 2));
    release(cellCentre(0, 2));
    EXPECT_EQ(list.rows[0][2], L"1");
    key(VK_SPACE); // the clicked cell has the focus
    EXPECT_EQ(list.rows[0][2], L"0");
    for (const wchar_t* next : {L"0", L"1", L"-1"}) {
        press(cellCentre(0, 3));
        release(cellCentre(0, 3));
        EXPECT_EQ(list.rows[0][3], next);
    }
    press(cellCentre(0, 4));
    release(cellCentre(0, 4));
    key(VK_SPACE);
    EXPECT_EQ(list.rows[0][4], L"1");
    int modified = 0;
    for (const KestrelTest::Notification& each : notifications()) {
        if (each.code == ItemModified) {
            ++modified;
            EXPECT_TRUE(each.subItem == 2 || each.subItem == 3);
        }
    }
    EXPECT_EQ(modified, 5);
}

TEST_F(ListInteraction, TheItemToolTipHoldsATipOnlyOverACellThatHasOne)
{
    addRows(4, 2);
    list.toolTipItem = 2;
    // The list's tooltip: a popup made with a child for its parent is owned by the child's
    // top-level window, and the host has no other.
    const HWND host = GetAncestor(list.handle(), GA_ROOT);
    HWND tip = nullptr;
    do
        tip = FindWindowExW(nullptr, tip, TOOLTIPS_CLASSW, nullptr);
    while (tip && GetWindow(tip, GW_OWNER) != host);
    ASSERT_NE(tip, nullptr);
    click(WM_MOUSEMOVE, POINT{20, cellCentre(2, 0).y});
    EXPECT_EQ(SendMessageW(tip, TTM_GETTOOLCOUNT, 0, 0), 1);
    click(WM_MOUSEMOVE, POINT{20, cellCentre(1, 0).y});
    EXPECT_EQ(SendMessageW(tip, TTM_GETTOOLCOUNT, 0, 0), 0);
    click(WM_MOUSEMOVE, POINT{20, cellCentre(2, 0).y});
    click(WM_MOUSEMOVE, POINT{20, list.clientRect().bottom - 2}); // below the rows
    EXPECT_EQ(SendMessageW(tip, TTM_GETTOOLCOUNT, 0, 0), 0);
}

} // namespace
