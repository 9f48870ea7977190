#include "tests/app/DialogDriver.h"
#include "tests/app/MainDialogAccess.h"

#include "tests/support/ScratchFolder.h"

#include "app/BrowseForFolder.h"
#include "app/MultiSelectionFileDialog.h"
#include "app/UserTexts.h"
#include "app/WipewellMainDlg.h"

#include <objbase.h>
#include <shlobj.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

using Kestrel::MultiSelectionFileDialog;
using KestrelTest::DialogDriver;
using KestrelTest::ScratchFolder;
using Paths = std::vector<std::wstring>;

// The selection read back from a result buffer filled as the platform fills it.
Paths selectionOf(const std::wstring& platformResult)
{
    MultiSelectionFileDialog dialog(UserTexts::kAllFilesFilter);
    const auto buffer = dialog.resultBuffer();
    std::copy(platformResult.begin(), platformResult.end(), buffer.begin());
    Paths paths;
    for (int index = 0; index < dialog.getFileCount(); ++index)
        paths.push_back(dialog.getFilePath(index));
    return paths;
}

TEST(MultiSelectionFileDialog, ReadsOneFileSeveralFilesAndADriveRoot)
{
    EXPECT_EQ(selectionOf(std::wstring(L"C:\\data\\a.txt\0", 14)), (Paths{L"C:\\data\\a.txt"}));
    EXPECT_EQ(selectionOf(std::wstring(L"C:\\data\0a.txt\0b b.txt\0c\0\0", 26)),
              (Paths{L"C:\\data\\a.txt", L"C:\\data\\b b.txt", L"C:\\data\\c"}));
    EXPECT_EQ(selectionOf(std::wstring(L"D:\\\0a.txt\0b.txt\0\0", 17)), (Paths{L"D:\\a.txt", L"D:\\b.txt"}));
}

TEST(MultiSelectionFileDialog, ReadsASelectionLongerThanAClassicPath)
{
    const std::wstring folder = L"C:\\" + std::wstring(200, L'f');
    std::wstring result = folder + L'\0';
    Paths expected;
    for (int file = 0; file < 40; ++file) {
        const std::wstring name = std::wstring(50, L'n') + std::to_wstring(file);
        result += name + L'\0';
        expected.push_back(folder + L"\\" + name);
    }
    EXPECT_EQ(selectionOf(result + L'\0'), expected);
}

class FileDialogRun : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(KestrelTest::writeFile(folder_ / L"a.txt", "a"));
        ASSERT_TRUE(KestrelTest::writeFile(folder_ / L"b.txt", "b"));
        owner_ = CreateWindowExW(0, L"STATIC", L"Owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 30, 700, 500, nullptr,
                                 nullptr, nullptr, nullptr);
        ASSERT_NE(owner_, nullptr);
    }
    void TearDown() override { DestroyWindow(owner_); }

    // Types into the file name box and presses Open, as a user does.
    static void typeAndOpen(HWND dialog, const std::wstring& text, bool waitForIt)
    {
        const HWND nameBox = GetDlgItem(dialog, kNameBox);
        const HWND combo = FindWindowExW(nameBox, nullptr, nullptr, nullptr);
        const HWND edit = combo ? FindWindowExW(combo, nullptr, L"Edit", nullptr) : nullptr;
        SendMessageW(edit ? edit : nameBox, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
        if (waitForIt)
            SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        else
            KestrelTest::pressButton(dialog, IDOK);
    }

    // Opens the folder by its path, then chooses two names in it.
    std::function<void(HWND)> chooseTwoFiles()
    {
        return [this](HWND dialog) {
            dialogRect_ = windowRect(dialog);
            typeAndOpen(dialog, folder_.path(), true);
            typeAndOpen(dialog, L"\"a.txt\" \"b.txt\"", false);
        };
    }

    static RECT windowRect(HWND window)
    {
        RECT rect{};
        GetWindowRect(window, &rect);
        return rect;
    }

    static constexpr int kNameBox = 0x47C;
    ScratchFolder folder_;
    HWND owner_ = nullptr;
    RECT dialogRect_{};
};

TEST_F(FileDialogRun, ChosenFilesComeBackWithTheirFolderAndTheDialogIsCentredOverItsOwner)
{
    MultiSelectionFileDialog dialog(UserTexts::kAllFilesFilter);
    DialogDriver driver(L"Open", chooseTwoFiles());
    ASSERT_TRUE(dialog.run(owner_));
    ASSERT_TRUE(driver.finish());
    ASSERT_EQ(dialog.getFileCount(), 2);
    Paths chosen{dialog.getFilePath(0), dialog.getFilePath(1)};
    std::sort(chosen.begin(), chosen.end());
    EXPECT_EQ(chosen, (Paths{folder_ / L"a.txt", folder_ / L"b.txt"}));

    const RECT owner = windowRect(owner_);
    EXPECT_NEAR((dialogRect_.left + dialogRect_.right) / 2, (owner.left + owner.right) / 2, 1);
    EXPECT_NEAR((dialogRect_.top + dialogRect_.bottom) / 2, (owner.top + owner.bottom) / 2, 1);
}

TEST_F(FileDialogRun, ASelectionTooLargeForTheBufferIsToldToTheUser)
{
    // (Wine checks the room only for a single file; Windows for any selection.)
    MultiSelectionFileDialog dialog(UserTexts::kAllFilesFilter, 16);
    std::wstring told;
    DialogDriver answer(L"Kestrel Wipewell", [&told](HWND box) {
        told = KestrelTest::messageBoxText(box);
        KestrelTest::pressButton(box, IDOK);
    });
    DialogDriver driver(L"Open", [this](HWND dialog) { typeAndOpen(dialog, folder_ / L"a.txt", false); });
    EXPECT_FALSE(dialog.run(owner_));
    EXPECT_EQ(dialog.extendedError(), static_cast<DWORD>(FNERR_BUFFERTOOSMALL));
    ASSERT_TRUE(answer.finish());
    EXPECT_EQ(told, UserTexts::kTooManyFiles);
}

class FolderBrowser : public ::testing::Test {
protected:
    static void SetUpTestSuite() { ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr))); }
    static void TearDownTestSuite() { CoUninitialize(); }
};

TEST_F(FolderBrowser, OpensAtTheInitialFolderAndHandsItBackUnlessCancelled)
{
    ScratchFolder folder;
    Kestrel::BrowseForFolder browser;
    browser.setInitialFolder(folder.path());
    for (const int button : {IDCANCEL, IDOK}) {
        DialogDriver driver(L"Browse for Folder", [button](HWND dialog) { KestrelTest::pressButton(dialog, button); });
        EXPECT_EQ(browser.browse(), button == IDOK);
        EXPECT_TRUE(driver.finish());
        EXPECT_EQ(browser.selectedPath(), button == IDOK ? folder.path() : L"");
    }
}

// Add Folder... opens the browser saying what the folder is for, with OK off until a folder is
// chosen; an OK forced on the browser as it opened (on the desktop, its root) adds nothing.
TEST_F(FolderBrowser, AddFolderSaysWhatItIsForAndStartsWithNothingChosen)
{
    // The desktop's folder exists, as it does for a user: an OK that took the desktop would add it.
    wchar_t desktop[MAX_PATH]{};
    ASSERT_EQ(SHGetFolderPathW(nullptr, CSIDL_DESKTOPDIRECTORY | CSIDL_FLAG_CREATE, nullptr, SHGFP_TYPE_CURRENT, desktop),
              S_OK);
    WipewellMainDlg dialog;
    ASSERT_TRUE(dialog.create(nullptr));
    bool titled = false;
    bool okOff = false;
    DialogDriver driver(L"Browse for Folder", [&](HWND browser) {
        for (HWND child = GetWindow(browser, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
            wchar_t text[256]{};
            InternalGetWindowText(child, text, 256);
            titled = titled || text == std::wstring(UserTexts::kChooseFolderToErase);
        }
        const DWORD start = GetTickCount();
        while (!(okOff = !IsWindowEnabled(GetDlgItem(browser, IDOK))) && GetTickCount() - start < 5000)
            Sleep(10);
        KestrelTest::pressButton(browser, IDOK);
    });
    dialog.sendMessage(WM_COMMAND, MAKEWPARAM(IDC_ADD_FOLDER, BN_CLICKED));
    ASSERT_TRUE(driver.finish());
    EXPECT_TRUE(titled);
    EXPECT_TRUE(okOff);
    EXPECT_EQ(MainDialogAccess::taskList(dialog).getItemCount(), 0);
}

} // namespace
