#include "tests/support/MessagePump.h"
#include "tests/support/PixelSurface.h"

#include "framework/CDoubleBufferImpl.h"
#include "framework/CWindowImpl.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using KestrelTest::PixelSurface;

using Kestrel::DCHandle;

constexpr COLORREF kRed = RGB(200, 0, 0);
constexpr COLORREF kBlue = RGB(0, 0, 200);
constexpr COLORREF kGreen = RGB(0, 160, 0);
constexpr COLORREF kGrey = RGB(90, 90, 90);
constexpr int kWidth = 60;
constexpr int kHeight = 40;

class Swatch : public Kestrel::CWindowImpl<Swatch>, public Kestrel::CDoubleBufferImpl<Swatch> {
public:
    static constexpr auto messageMap()
    {
        return Kestrel::messageMapOf<Swatch>(Kestrel::chainTo<Kestrel::CDoubleBufferImpl<Swatch>>);
    }

    // Fills the whole client area, whatever the clip, with a marker square at (5, 5).
    void doPaint(DCHandle dc)
    {
        clipBoxes.push_back(dc.clipBox());
        dc.fillSolidRect(RECT{0, 0, kWidth, kHeight}, fill);
        dc.fillSolidRect(RECT{5, 5, 15, 15}, kBlue);
    }

    COLORREF fill = kRed;
    std::vector<RECT> clipBoxes;
};

HWND createSwatch(Swatch& swatch, DWORD style)
{
    RECT frame{100, 100, 100 + kWidth, 100 + kHeight};
    return swatch.create(nullptr, frame, L"Swatch", style);
}

TEST(DoubleBuffer, PrintClientRendersTheWholeClientAreaInClientCoordinates)
{
    Swatch swatch;
    ASSERT_NE(createSwatch(swatch, WS_POPUP), nullptr);
    PixelSurface surface(kWidth, kHeight);
    ASSERT_TRUE(surface.valid());

    swatch.sendMessage(WM_PRINTCLIENT, reinterpret_cast<WPARAM>(surface.dc()), PRF_CLIENT);

    ASSERT_EQ(swatch.clipBoxes.size(), 1u);
    EXPECT_EQ(swatch.clipBoxes[0].left, 0);
    EXPECT_EQ(swatch.clipBoxes[0].top, 0);
    EXPECT_EQ(swatch.clipBoxes[0].right, kWidth);
    EXPECT_EQ(swatch.clipBoxes[0].bottom, kHeight);
    EXPECT_EQ(surface.pixel(0, 0), kRed);
    EXPECT_EQ(surface.pixel(4, 4), kRed);
    EXPECT_EQ(surface.pixel(5, 5), kBlue);
    EXPECT_EQ(surface.pixel(14, 14), kBlue);
    EXPECT_EQ(surface.pixel(15, 15), kRed);
    EXPECT_EQ(surface.pixel(kWidth - 1, kHeight - 1), kRed);
}

TEST(DoubleBuffer, EraseBackgroundIsAnsweredWithoutErasing)
{
    Swatch swatch;
    ASSERT_NE(createSwatch(swatch, WS_POPUP), nullptr);
    PixelSurface surface(kWidth, kHeight);
    ASSERT_TRUE(surface.valid());
    DCHandle(surface.dc()).fillSolidRect(RECT{0, 0, kWidth, kHeight}, kGrey);

    EXPECT_NE(swatch.sendMessage(WM_ERASEBKGND, reinterpret_cast<WPARAM>(surface.dc())), 0);
    EXPECT_EQ(surface.pixel(10, 10), kGrey);
    EXPECT_TRUE(swatch.clipBoxes.empty());
}

TEST(DoubleBuffer, PaintCoversOnlyTheInvalidRectangle)
{
    Swatch swatch;
    const HWND window = createSwatch(swatch, WS_POPUP | WS_VISIBLE);
    ASSERT_NE(window, nullptr);
    swatch.updateWindow();
    ASSERT_TRUE(KestrelTest::pumpUntil([&] { return GetUpdateRect(window, nullptr, FALSE) == FALSE; }));

    swatch.clipBoxes.clear();
    swatch.fill = kGreen;
    const RECT invalid{20, 10, 30, 25};
    swatch.invalidateRect(invalid);
    swatch.updateWindow();

    ASSERT_EQ(swatch.clipBoxes.size(), 1u);
    EXPECT_EQ(swatch.clipBoxes[0].left, invalid.left);
    EXPECT_EQ(swatch.clipBoxes[0].top, invalid.top);
    EXPECT_EQ(swatch.clipBoxes[0].right, invalid.right);
    EXPECT_EQ(swatch.clipBoxes[0].bottom, invalid.bottom);

    // What reached the window: the new colour inside the rectangle only.
    PixelSurface surface(kWidth, kHeight);
    ASSERT_TRUE(surface.valid());
    const Kestrel::ClientDC screen(window);
    ASSERT_TRUE(BitBlt(surface.dc(), 0, 0, kWidth, kHeight, screen.get(), 0, 0, SRCCOPY));
    EXPECT_EQ(surface.pixel(25, 15), kGreen);
    EXPECT_EQ(surface.pixel(19, 15), kRed);
    EXPECT_EQ(surface.pixel(30, 15), kRed);
    EXPECT_EQ(surface.pixel(7, 7), kBlue);
}

} // namespace
