#include "tests/app/DialogDriver.h"

#include "app/WipewellAboutDlg.h"
#include "app/WipewellMainDlg.h"
#include "resources/AboutDialog.h"

#include "ProgramVersion.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <string>

namespace {

class AboutBox : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES};
        InitCommonControlsEx(&controls);
    }
    void SetUp() override
    {
        owner_ = CreateWindowExW(0, L"STATIC", L"Owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 60, 40, 640, 480, nullptr,
                                 nullptr, nullptr, nullptr);
        ASSERT_NE(owner_, nullptr);
    }
    void TearDown() override { DestroyWindow(owner_); }

    // Runs the box over the owner, gives it one input, and answers the run's result.
    INT_PTR runWith(UINT message, WPARAM wParam)
    {
        DialogDriver driver(L"About Kestrel Wipewell", [&](HWND box) {
            GetWindowRect(box, &boxRect_);
            GetDlgItemTextW(box, IDC_ABOUT_LINK, label_, 64);
            versionText_ = FindWindowExW(box, nullptr, L"Static", L"Kestrel Wipewell " KWW_VERSION_TEXT);
            PostMessageW(GetDlgItem(box, IDOK), message, wParam, 0);
        });
        const INT_PTR result = about_.doModal(owner_);
        EXPECT_TRUE(driver.finish());
        return result;
    }

    using DialogDriver = KestrelTest::DialogDriver;
    HWND owner_ = nullptr;
    WipewellAboutDlg about_;
    RECT boxRect_{};
    wchar_t label_[64]{};
    HWND versionText_ = nullptr;
};

TEST_F(AboutBox, OpensCentredOverItsOwnerWithItsLinkAndEnterGivesOne)
{
    EXPECT_EQ(runWith(WM_KEYDOWN, VK_RETURN), 1);
    RECT owner{};
    GetWindowRect(owner_, &owner);
    EXPECT_NEAR((boxRect_.left + boxRect_.right) / 2, (owner.left + owner.right) / 2, 1);
    EXPECT_NEAR((boxRect_.top + boxRect_.bottom) / 2, (owner.top + owner.bottom) / 2, 1);

    // The version is the project's, the one the program's version resource carries.
    EXPECT_NE(versionText_, nullptr) << "no \"Kestrel Wipewell " KWW_VERSION_TEXT "\" in the box";

    // The link leads to the About section of the help page beside the program.
    EXPECT_STREQ(label_, L"Visit Larkspan");
    const std::wstring target = about_.link().hyperLink();
    const std::wstring page = L"/help/help.html#about";
    EXPECT_EQ(target.rfind(L"file:///", 0), 0u) << target;
    EXPECT_TRUE(target.size() > page.size() && target.ends_with(page)) << target;
}

TEST_F(AboutBox, EscapeAndTheCloseBoxGiveTwo)
{
    EXPECT_EQ(runWith(WM_KEYDOWN, VK_ESCAPE), 2);
    WipewellAboutDlg second;
    DialogDriver driver(L"About Kestrel Wipewell", [](HWND box) { PostMessageW(box, WM_SYSCOMMAND, SC_CLOSE, 0); });
    EXPECT_EQ(second.doModal(owner_), 2);
    EXPECT_TRUE(driver.finish());
}

TEST_F(AboutBox, AboutButtonOfTheMainDialogOpensTheBoxOverIt)
{
    WipewellMainDlg dialog;
    ASSERT_TRUE(dialog.create(nullptr));
    dialog.showWindow(SW_SHOW);
    ASSERT_EQ(GetActiveWindow(), dialog.handle());
    HWND owner = nullptr;
    DialogDriver driver(L"About Kestrel Wipewell", [&owner](HWND box) {
        owner = GetWindow(box, GW_OWNER);
        PostMessageW(box, WM_COMMAND, IDCANCEL, 0);
    });
    dialog.sendMessage(WM_COMMAND, MAKEWPARAM(ID_APP_ABOUT, BN_CLICKED));
    EXPECT_TRUE(driver.finish());
    EXPECT_EQ(owner, dialog.handle());
    dialog.destroyWindow();
}

} // namespace
