#include "app/WipewellMainDlg.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <string>

namespace {

std::wstring windowText(HWND window)
{
    wchar_t text[256]{};
    GetWindowTextW(window, text, 256);
    return text;
}

std::wstring tooltipText(HWND tooltip, HWND dialog, HWND button)
{
    wchar_t text[256]{};
    TTTOOLINFOW tool{};
    tool.cbSize = TTTOOLINFOW_V2_SIZE;
    tool.hwnd = dialog;
    tool.uId = reinterpret_cast<UINT_PTR>(button);
    tool.lpszText = text;
    SendMessageW(tooltip, TTM_GETTEXTW, 256, reinterpret_cast<LPARAM>(&tool));
    return text;
}

TEST(MainDialogTest, TemplateButtonsTooltipsAndIcons)
{
    WipewellMainDlg dialog;
    ASSERT_TRUE(dialog.create(nullptr));
    EXPECT_EQ(windowText(dialog), L"Kestrel Wipewell");
    const DWORD style = dialog.style();
    EXPECT_EQ(style & (WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX), DWORD{WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX});
    EXPECT_EQ(style & (WS_MAXIMIZEBOX | WS_THICKFRAME), 0u);
    EXPECT_EQ(windowText(dialog.getDlgItem(IDOK)), L"Erase! ");
    EXPECT_NE(dialog.getDlgItem(IDC_TASK_LIST).handle(), nullptr);

    const struct {
        int id;
        const wchar_t* tip;
    } buttons[] = {
        {IDC_ADD_FILE, L"Add or drag and drop files into erasing tasks"},
        {IDC_ADD_FOLDER, L"Add or drag and drop folder into erasing tasks"},
        {IDC_SHOW_HELP, L"Help"},
        {ID_APP_ABOUT, L"About Kestrel Wipewell"},
        {IDC_STOP_SELECTED, L"Stop the selected erasing tasks"},
        {IDOK, L"Start erasing tasks now"},
    };
    ASSERT_NE(dialog.tooltip(), nullptr);
    EXPECT_EQ(SendMessageW(dialog.tooltip(), TTM_GETTOOLCOUNT, 0, 0), 6);
    for (const auto& button : buttons)
        EXPECT_EQ(tooltipText(dialog.tooltip(), dialog, dialog.getDlgItem(button.id)), button.tip) << button.id;

    EXPECT_NE(dialog.sendMessage(WM_GETICON, ICON_BIG), 0);
    EXPECT_NE(dialog.sendMessage(WM_GETICON, ICON_SMALL), 0);
    EXPECT_TRUE(GetWindowLongPtrW(dialog, GWL_EXSTYLE) & WS_EX_ACCEPTFILES);
}

} // namespace
