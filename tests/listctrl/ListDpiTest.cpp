#include "ListTestSupport.h"

#include "framework/Dpi.h"

#include <gtest/gtest.h>

namespace {

using Kestrel::Dpi;

// A list made at 100 % (the suite's prefix), its first column stretching, moved to other scales by
// the message Windows sends.
class ListDpi : public KestrelTest::ListTest {
protected:
    void SetUp() override
    {
        ListTest::SetUp();
        makeList(400, 240);
        ASSERT_EQ(list.dpi(), Dpi(96));
        list.addColumn(L"Name", 120);
        list.addColumn(L"Size", 81);
        list.setStretchColumn(Kestrel::ColumnId(0), 50);
        addRows(40, 2);
    }
    void moveTo(UINT dpi) { list.sendMessage(WM_DPICHANGED, MAKEWPARAM(dpi, dpi), 0); }
    int width(int position) { return list.column(Kestrel::ColumnPosition(position))->width; }
    bool filled() { return width(0) + width(1) == list.clientRect().right; }
    static int cursorWidth(HCURSOR cursor)
    {
        ICONINFO info{};
        if (!GetIconInfo(cursor, &info))
            return 0;
        const Kestrel::Bitmap mask(info.hbmMask);
        const Kestrel::Bitmap colour(info.hbmColor);
        BITMAP bitmap{};
        return GetObjectW(mask.get(), sizeof bitmap, &bitmap) ? bitmap.bmWidth : 0;
    }
};

TEST_F(ListDpi, WmDpiChangedRebuildsFontRowsImagesAndWidthsInProportion)
{
    const int rowHeight = list.rowHeight();
    list.ensureItemVisible(25);
    const int top = list.topItem();
    EXPECT_TRUE(filled()) << "the vertical bar that the rows brought narrows the stretch column";

    moveTo(144);
    EXPECT_GE(list.rowHeight(), rowHeight * 3 / 2) << "the font and the row's margin follow the DPI";
    int image = 0;
    ASSERT_TRUE(ImageList_GetIconSize(list.imageStrip(), &image, &image));
    EXPECT_EQ(image, 24);
    EXPECT_EQ(width(1), 122);
    EXPECT_TRUE(filled());
    EXPECT_EQ(list.topItem(), top);

    // From the user's drag on, the widths are the user's, and keep their share.
    const POINT divider{width(0) - 1, list.headerHeight() / 2};
    click(WM_LBUTTONDOWN, divider, MK_LBUTTON);
    EXPECT_EQ(cursorWidth(GetCursor()), 48) << "the divider cursor is the one drawn for 150 %";
    click(WM_MOUSEMOVE, POINT{divider.x - 60, divider.y}, MK_LBUTTON);
    click(WM_LBUTTONUP, POINT{divider.x - 60, divider.y});
    const int chosen = width(0);
    moveTo(96);
    EXPECT_EQ(width(0), Dpi(96).rescale(chosen, Dpi(144)));
    EXPECT_EQ(width(1), 81);
    EXPECT_EQ(list.rowHeight(), rowHeight);
}

} // namespace
