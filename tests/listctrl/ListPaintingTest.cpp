#include "ListTestSupport.h"

#include <gtest/gtest.h>

namespace {

using namespace Kestrel;
using KestrelTest::between;
using KestrelTest::ListTest;

constexpr COLORREF kSelectionOuterFocused = RGB(170, 200, 245);
constexpr COLORREF kSelectionOuterUnfocused = RGB(220, 220, 220);
constexpr COLORREF kFocusedTop = RGB(210, 240, 250);
constexpr COLORREF kFocusedBottom = RGB(185, 215, 250);
constexpr COLORREF kUnfocusedTop = RGB(250, 250, 250);
constexpr COLORREF kUnfocusedBottom = RGB(235, 235, 235);
constexpr COLORREF kFocusTop = RGB(235, 245, 245);
constexpr COLORREF kFocusBottom = RGB(225, 235, 245);
constexpr COLORREF kClassicFocus = RGB(180, 190, 210);
constexpr COLORREF kRed = RGB(255, 0, 0);

class ListPainting : public ListTest {
protected:
    void SetUp() override
    {
        ListTest::SetUp();
        makeList();
        list.addColumn(L"Name", 120);
        list.addColumn(L"Progress", 110, -1, false, FormatProgress);
        list.addColumn(L"Empty", 60);
        for (const wchar_t* progress : {L"0", L"-7", L"42.5", L"100", L"250"})
            list.rows.push_back({L"r", progress, L""});
        list.resetScrollBars(SB_BOTH);
    }

    // The painted cell rectangle: the column's last pixel belongs to the divider.
    RECT paintedCell(int item, int column)
    {
        RECT cell = list.cellRect(item, ColumnPosition(column));
        cell.right -= 1;
        return cell;
    }
    static int middle(const RECT& rect) { return (rect.top + rect.bottom) / 2; }

    // Pixels from x on the cell's middle line that differ from the same pixels of row 0 (value 0).
    int filledFrom(const KestrelTest::PixelSurface& surface, int item, int x)
    {
        const RECT empty = paintedCell(0, 1);
        const RECT cell = paintedCell(item, 1);
        int last = x - 1;
        for (int at = x; at < cell.right; ++at) {
            if (surface.pixel(at, middle(cell)) != surface.pixel(at, middle(empty)))
                last = at;
        }
        return last - x + 1;
    }

    bool focusList()
    {
        SetFocus(list.handle());
        return GetFocus() == list.handle();
    }
};

TEST_F(ListPainting, ProgressCellsFillTheirShareOfTheBarClassicAndThemed)
{
    const int width = list.column(ColumnPosition(1))->width;

    list.setUseThemes(false);
    auto surface = render();
    // Classic: frame 3 + 3 pixels in from the cell on each side, then the gradient.
    const int classicWidth = width - 1 - 12;
    const int classic[] = {0, 0, static_cast<int>(classicWidth * 0.425), classicWidth, classicWidth};
    for (int row = 0; row < 5; ++row)
        EXPECT_EQ(filledFrom(*surface, row, paintedCell(row, 1).left + 6), classic[row]) << "row " << row;
    EXPECT_TRUE(between(surface->pixel(cellCentre(3, 1).x, cellCentre(3, 1).y), RGB(170, 240, 170), RGB(45, 210, 50)));

    list.setUseThemes(true);
    list.sendMessage(WM_THEMECHANGED);
    surface = render();
    const int themedWidth = width - 1 - 11;
    const int themed[] = {0, 0, static_cast<int>(themedWidth * 0.425), themedWidth, themedWidth};
    for (int row = 0; row < 5; ++row)
        EXPECT_EQ(filledFrom(*surface, row, paintedCell(row, 1).left + 6), themed[row]) << "row " << row;
}

TEST_F(ListPainting, SelectedRowsWithAndWithoutFocusAndTheFocusCellOverThem)
{
    list.selectItem(2, ColumnPosition(2), 0); // the Empty cell of row 2 is the focus cell
    list.setFocusSubItem(false);
    if (!focusList())
        GTEST_SKIP() << "the list cannot take the focus here";

    auto surface = render();
    const RECT row = list.itemRect(2);
    const POINT empty = cellCentre(2, 2);
    const POINT name{cellCentre(2, 0).x + 30, empty.y}; // right of the text
    EXPECT_EQ(surface->pixel(row.left, middle(row)), kSelectionOuterFocused);
    EXPECT_TRUE(between(surface->pixel(empty.x, empty.y), kFocusedTop, kFocusedBottom));

    list.setFocusSubItem(true);
    surface = render();
    const RECT focusCell = paintedCell(2, 2);
    EXPECT_EQ(surface->pixel(focusCell.left, middle(focusCell)), kSelectionOuterFocused);
    EXPECT_TRUE(between(surface->pixel(empty.x, empty.y), kFocusTop, kFocusBottom));
    EXPECT_FALSE(between(surface->pixel(empty.x, empty.y), kFocusedTop, kFocusedBottom));
    EXPECT_TRUE(between(surface->pixel(name.x, name.y), kFocusedTop, kFocusedBottom));

    SetFocus(KestrelTest::ListHost::instance().handle());
    surface = render();
    EXPECT_EQ(surface->pixel(row.left, middle(row)), kSelectionOuterUnfocused);
    EXPECT_TRUE(between(surface->pixel(empty.x, empty.y), kUnfocusedTop, kUnfocusedBottom));

    list.setUseThemes(false);
    focusList();
    surface = render();
    EXPECT_EQ(surface->pixel(name.x, name.y), GetSysColor(COLOR_HIGHLIGHT));
    EXPECT_EQ(surface->pixel(empty.x, empty.y), kClassicFocus);
}

TEST_F(ListPainting, TheHeaderIsPaintedOverScrolledRows)
{
    addRows(60, 3);
    list.setUseThemes(false);
    list.selectItem(20, ColumnPosition(0), 0);
    list.resetScrollBars(SB_VERT, 20 * list.rowHeight(), false);
    ASSERT_EQ(list.topItem(), 20);
    const auto surface = render();
    const int x = cellCentre(0, 2).x;
    EXPECT_EQ(surface->pixel(x, 2), GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(surface->pixel(x, list.headerHeight() + list.rowHeight() / 2), GetSysColor(COLOR_HIGHLIGHT));
    EXPECT_EQ(surface->pixel(x, list.headerHeight() + list.rowHeight() * 3 / 2), GetSysColor(COLOR_WINDOW));
}

TEST_F(ListPainting, TheClassicHeaderFrameRunsAlongTheVisibleHeaderWhenScrolledSideways)
{
    list.addColumn(L"Wide", 300);
    list.setUseThemes(false);
    list.sendMessage(WM_HSCROLL, SB_LINERIGHT);
    ASSERT_GT(GetScrollPos(list.handle(), SB_HORZ), 0);
    const COLORREF light = GetSysColor(COLOR_BTNHIGHLIGHT);
    const COLORREF dark = GetSysColor(COLOR_BTNSHADOW);
    ASSERT_NE(light, GetSysColor(COLOR_BTNFACE));
    const auto surface = render();
    const int right = list.clientRect().right - 1;
    const int bottom = list.headerHeight() - 1;
    EXPECT_EQ(surface->pixel(0, bottom / 2), light) << "left edge";
    EXPECT_EQ(surface->pixel(right, 0), light) << "top edge, to the right end";
    EXPECT_EQ(surface->pixel(right, bottom), dark) << "bottom edge, to the right end";
}

TEST_F(ListPainting, AnImageWithoutTextIsCentredInItsCell)
{
    Kestrel::ImageList images(ImageList_Create(16, 16, ILC_COLOR24, 1, 0));
    {
        const Kestrel::ClientDC screen(nullptr);
        Kestrel::Bitmap red(CreateCompatibleBitmap(screen.get(), 16, 16));
        const Kestrel::MemoryDC memory(screen.get());
        {
            const Kestrel::SelectedObject selected(memory.get(), red.get());
            Kestrel::DCHandle(memory.get()).fillSolidRect(RECT{0, 0, 16, 16}, kRed);
        }
        ASSERT_EQ(ImageList_Add(images.get(), red.get(), nullptr), 0);
    }
    list.setItemImageList(images.get());
    list.images = {0, 0};
    list.rows[0][0] = L"";
    for (const bool themed : {false, true}) {
        list.setUseThemes(themed);
        const auto surface = render();
        const RECT cell = paintedCell(0, 0);
        const int contentLeft = cell.left + 8;
        const int contentRight = cell.right - 4;
        const int left = contentLeft + (contentRight - contentLeft - 16) / 2 - (themed ? 1 : 0);
        const int y = middle(cell);
        EXPECT_NE(surface->pixel(left - 1, y), kRed) << themed;
        EXPECT_EQ(surface->pixel(left, y), kRed) << themed;
        EXPECT_EQ(surface->pixel(left + 15, y), kRed) << themed;
        EXPECT_NE(surface->pixel(left + 16, y), kRed) << themed;
        // With text the image starts at the content's left edge.
        const RECT second = paintedCell(1, 0);
        EXPECT_EQ(surface->pixel(second.left + 8, middle(second)), kRed) << themed;
    }
    list.setItemImageList(nullptr);
}

TEST_F(ListPainting, ABackgroundImageLiesUnderTheRowsTiledOrCentred)
{
    auto solidRed = [](int size) {
        const Kestrel::ClientDC screen(nullptr);
        HBITMAP image = CreateCompatibleBitmap(screen.get(), size, size);
        const Kestrel::MemoryDC memory(screen.get());
        const Kestrel::SelectedObject selected(memory.get(), image);
        Kestrel::DCHandle(memory.get()).fillSolidRect(RECT{0, 0, size, size}, kRed);
        return image;
    };
    const RECT client = list.clientRect();
    list.setBackgroundImage(solidRed(3), true);
    auto surface = render();
    EXPECT_EQ(surface->pixel(client.right - 2, client.bottom - 2), kRed);
    EXPECT_EQ(surface->pixel(cellCentre(0, 2).x, cellCentre(0, 2).y), kRed); // under an empty cell
    EXPECT_NE(surface->pixel(client.right - 2, 2), kRed);                     // not under the header

    list.setBackgroundImage(solidRed(20), false);
    surface = render();
    const int middleY = (list.headerHeight() + client.bottom) / 2;
    EXPECT_EQ(surface->pixel(client.right / 2, middleY), kRed);
    EXPECT_EQ(surface->pixel(client.right / 2 + 9, middleY + 9), kRed);
    EXPECT_NE(surface->pixel(client.right / 2 + 11, middleY), kRed);
    EXPECT_NE(surface->pixel(client.right - 2, client.bottom - 2), kRed);
}

} // namespace
