#include "StandInList.h"

#include "framework/SelectedObject.h"
#include "listctrl/CTitleTip.h"

#include <gtest/gtest.h>

namespace {

using Kestrel::CTitleTip;

constexpr int kCellHeight = 20;
const std::wstring kText = L"C:\\Users\\Someone\\Documents\\a rather long file name.txt";

// A window's client area as WM_PRINTCLIENT paints it, pixel by pixel.
class Painted {
public:
    Painted(HWND window, int width, int height)
        : screen_(nullptr), memory_(screen_.get()), bitmap_(CreateCompatibleBitmap(screen_.get(), width, height)),
          selected_(memory_.get(), bitmap_.get())
    {
        SendMessageW(window, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(memory_.get()), PRF_CLIENT);
    }
    COLORREF operator()(int x, int y) const { return GetPixel(memory_.get(), x, y); }

private:
    Kestrel::ClientDC screen_;
    Kestrel::MemoryDC memory_;
    Kestrel::Bitmap bitmap_;
    Kestrel::SelectedObject selected_;
};

class TitleTip : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(font);
        ASSERT_TRUE(tip.create(list.handle()));
        const Kestrel::ClientDC dc(list.handle());
        const Kestrel::SelectedObject selected(dc.get(), font.get());
        SIZE size{};
        GetTextExtentPoint32W(dc.get(), kText.c_str(), static_cast<int>(kText.size()), &size);
        textWidth = size.cx;
        ASSERT_GT(textWidth, 100);
    }

    // Row 2, sub-item 1, its text rectangle from x = left in the list.
    CTitleTip::Cell cell(int left, int width, bool themed = true) const
    {
        return {2, Kestrel::ColumnId(1), RECT{left, 40, left + width, 40 + kCellHeight}, kCellHeight, kText, font.get(), themed, {}, Kestrel::Dpi()};
    }

    KestrelTest::StandInList& list = KestrelTest::StandInList::fresh();
    Kestrel::Font font = KestrelTest::messageFont();
    CTitleTip tip;
    int textWidth = 0;
};

TEST_F(TitleTip, ShowsOnlyForCutOffTextBesideTheTextAndHoldsTheMouse)
{
    EXPECT_FALSE(tip.show(cell(20, textWidth + 1)));
    EXPECT_FALSE(IsWindowVisible(tip.handle()));

    ASSERT_TRUE(tip.show(cell(20, textWidth)));
    EXPECT_TRUE(IsWindowVisible(tip.handle()));
    EXPECT_TRUE(tip.shows(2, Kestrel::ColumnId(1)));
    EXPECT_EQ(GetCapture(), tip.handle());
    POINT origin{20, 40};
    ClientToScreen(list.handle(), &origin);
    const RECT frame = tip.windowRect();
    EXPECT_EQ(frame.left, origin.x - 4);
    EXPECT_EQ(frame.top, origin.y);
    EXPECT_EQ(frame.right - frame.left, textWidth + 11);
    EXPECT_EQ(frame.bottom - frame.top, kCellHeight);

    EXPECT_FALSE(tip.show(cell(20, textWidth + 40)));
    EXPECT_FALSE(IsWindowVisible(tip.handle()));
    EXPECT_EQ(tip.item(), -1);
    EXPECT_NE(GetCapture(), tip.handle());
}

TEST_F(TitleTip, PassesButtonsToTheListBelowAndHidesWhenTheMouseLeaves)
{
    // The tip sticks out over the list's vertical scroll bar.
    const RECT client = list.clientRect();
    const int left = client.right - textWidth / 2;
    ASSERT_TRUE(tip.show(cell(left, 50)));

    tip.sendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 5));
    tip.sendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(client.right - (left - 4) + 3, 5));
    tip.sendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(10, 5));
    tip.sendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(10, -3));

    ASSERT_EQ(list.mouse.size(), 3u);
    EXPECT_EQ(list.mouse[0].message, static_cast<UINT>(WM_LBUTTONDOWN));
    EXPECT_EQ(list.mouse[0].point.x, left - 4 + 10);
    EXPECT_EQ(list.mouse[0].point.y, 40 + 5);
    EXPECT_EQ(list.mouse[1].message, static_cast<UINT>(WM_NCLBUTTONDOWN));
    EXPECT_EQ(list.mouse[1].wParam, static_cast<WPARAM>(HTVSCROLL));
    // Only the move that leaves the tip reaches the list.
    EXPECT_EQ(list.mouse[2].message, static_cast<UINT>(WM_MOUSEMOVE));
    EXPECT_EQ(list.mouse[2].point.y, 40 - 3);
    EXPECT_FALSE(IsWindowVisible(tip.handle()));
    EXPECT_NE(GetCapture(), tip.handle());
}

TEST_F(TitleTip, PaintsARoundedDoubleFrameOverAGradientThemedAndInfoColoursClassic)
{
    ASSERT_TRUE(tip.show(cell(20, 40)));
    const int width = textWidth + 11;
    const Painted themed(tip.handle(), width, kCellHeight);
    // Right of the text, which ends 7 pixels before the tip's right edge.
    EXPECT_EQ(themed(0, 0), GetSysColor(COLOR_WINDOW)); // outside the round corner
    EXPECT_EQ(themed(width - 5, 0), RGB(220, 220, 220));
    EXPECT_EQ(themed(width - 1, kCellHeight / 2), RGB(220, 220, 220));
    EXPECT_EQ(themed(width - 4, 1), RGB(245, 245, 245));
    EXPECT_EQ(themed(width - 4, 2), RGB(250, 250, 250));
    EXPECT_LE(GetRValue(themed(width - 4, kCellHeight - 3)), 236);
    bool textSeen = false;
    for (int x = 4; x < width - 7; ++x)
        textSeen = textSeen || GetRValue(themed(x, kCellHeight / 2)) < 128;
    EXPECT_TRUE(textSeen);

    ASSERT_TRUE(tip.show(cell(20, 40, false)));
    const Painted classic(tip.handle(), width, kCellHeight);
    EXPECT_EQ(classic(0, 0), GetSysColor(COLOR_WINDOWFRAME));
    EXPECT_EQ(classic(width - 2, 1), GetSysColor(COLOR_INFOBK));
}

} // namespace
