#include "tests/support/ScratchFolder.h"

#include "framework/CHyperLink.h"
#include "framework/DeviceContext.h"
#include "framework/GdiObject.h"
#include "framework/SelectedObject.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <string>

namespace {

using Kestrel::CHyperLink;

class HyperLink : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES};
        InitCommonControlsEx(&controls);
    }
    void SetUp() override
    {
        parent_ = CreateWindowExW(0, L"STATIC", L"Parent", WS_POPUP | WS_VISIBLE, 100, 100, 300, 100, nullptr, nullptr,
                                  nullptr, nullptr);
        ASSERT_NE(parent_, nullptr);
        label_ = CreateWindowExW(0, L"STATIC", L"Visit Larkspan", WS_CHILD | WS_VISIBLE | SS_LEFT, 10, 10, 200, 30,
                                 parent_, nullptr, nullptr, nullptr);
        ASSERT_NE(label_, nullptr);
        ASSERT_TRUE(link_.subclassWindow(label_));
    }
    void TearDown() override { DestroyWindow(parent_); }

    // How many pixels of the colour the link paints.
    int pixelsOf(COLORREF colour)
    {
        const RECT client = link_.clientRect();
        const Kestrel::ClientDC screen(nullptr);
        const Kestrel::MemoryDC memory(screen.get());
        const Kestrel::Bitmap bitmap(CreateCompatibleBitmap(screen.get(), client.right, client.bottom));
        const Kestrel::SelectedObject selected(memory.get(), bitmap.get());
        link_.sendMessage(WM_PRINTCLIENT, reinterpret_cast<WPARAM>(memory.get()), PRF_CLIENT);
        int count = 0;
        for (int y = 0; y < client.bottom; ++y)
            for (int x = 0; x < client.right; ++x)
                count += GetPixel(memory.get(), x, y) == colour;
        return count;
    }

    HWND parent_ = nullptr;
    HWND label_ = nullptr;
    CHyperLink link_;
};

TEST_F(HyperLink, ShowsItsTargetInATipAndTheHandOverTheLabel)
{
    link_.setHyperLink(L"https://larkspan.example/");
    EXPECT_TRUE(GetWindowLongPtrW(label_, GWL_STYLE) & SS_NOTIFY);

    wchar_t tipText[128]{};
    TOOLINFOW tool{};
    tool.cbSize = TTTOOLINFOW_V2_SIZE;
    tool.hwnd = parent_;
    tool.uId = reinterpret_cast<UINT_PTR>(label_);
    tool.lpszText = tipText;
    SendMessageW(link_.tipWindow(), TTM_GETTEXTW, 128, reinterpret_cast<LPARAM>(&tool));
    EXPECT_STREQ(tipText, L"https://larkspan.example/");

    POINT overLabel{3, 3};
    ClientToScreen(label_, &overLabel);
    ASSERT_TRUE(SetCursorPos(overLabel.x, overLabel.y));
    EXPECT_TRUE(SendMessageW(label_, WM_SETCURSOR, reinterpret_cast<WPARAM>(label_), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)));
    EXPECT_EQ(GetCursor(), LoadCursorW(nullptr, IDC_HAND));
}

TEST_F(HyperLink, PaintsInTheLinkColourUntilAClickOpensTheTarget)
{
    // Link and visited colours differ, whether they come from the user's settings or the defaults.
    EXPECT_NE(link_.linkColour(), link_.visitedColour());
    EXPECT_GT(pixelsOf(link_.linkColour()), 0);
    EXPECT_EQ(pixelsOf(link_.visitedColour()), 0);

    KestrelTest::ScratchFolder folder;
    link_.setHyperLink(folder / L"missing.bat");
    SendMessageW(label_, WM_LBUTTONUP, 0, MAKELPARAM(3, 3));
    EXPECT_FALSE(link_.isVisited());
    EXPECT_EQ(pixelsOf(link_.visitedColour()), 0);

    ASSERT_TRUE(KestrelTest::writeFile(folder / L"done.bat", "@exit 0\r\n"));
    link_.setHyperLink(folder / L"done.bat");
    SendMessageW(label_, WM_LBUTTONUP, 0, MAKELPARAM(3, 3));
    EXPECT_TRUE(link_.isVisited());
    EXPECT_GT(pixelsOf(link_.visitedColour()), 0);
    EXPECT_EQ(pixelsOf(link_.linkColour()), 0);
}

} // namespace
