#include "tests/app/DialogDriver.h"
#include "tests/app/MainDialogAccess.h"
#include "tests/app/MessageBoxAnswerer.h"
#include "tests/support/InputScript.h"
#include "tests/support/MessagePump.h"

#include "app/UserTexts.h"
#include "app/WipewellMainDlg.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <cwctype>
#include <string>
#include <vector>

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
    EXPECT_EQ(style & (WS_MAXIMIZEBOX | WS_THICKFRAME), DWORD{WS_MAXIMIZEBOX | WS_THICKFRAME});
    EXPECT_EQ(windowText(dialog.getDlgItem(IDOK)), L"&Erase! ");
    EXPECT_NE(dialog.getDlgItem(IDC_TASK_LIST).handle(), nullptr);

    const struct {
        int id;
        const wchar_t* tip;
    } buttons[] = {
        {IDC_ADD_FILE, UserTexts::kAddFileTip},
        {IDC_ADD_FOLDER, UserTexts::kAddFolderTip},
        {IDC_ADD_FREE_SPACE, UserTexts::kAddFreeSpaceTip},
        {IDC_ADD_RECYCLE_BIN, UserTexts::kAddRecycleBinTip},
        {IDC_SHOW_HELP, UserTexts::kHelpTip},
        {ID_APP_ABOUT, UserTexts::kAboutTip},
        {IDC_STOP_SELECTED, UserTexts::kStopSelectedTip},
        {IDOK, UserTexts::kEraseTip},
    };
    ASSERT_NE(MainDialogAccess::tooltip(dialog), nullptr);
    EXPECT_EQ(SendMessageW(MainDialogAccess::tooltip(dialog), TTM_GETTOOLCOUNT, 0, 0), 8);
    for (const auto& button : buttons)
        EXPECT_EQ(tooltipText(MainDialogAccess::tooltip(dialog), dialog, dialog.getDlgItem(button.id)), button.tip) << button.id;

    EXPECT_NE(dialog.sendMessage(WM_GETICON, ICON_BIG), 0);
    EXPECT_NE(dialog.sendMessage(WM_GETICON, ICON_SMALL), 0);
    EXPECT_TRUE(GetWindowLongPtrW(dialog, GWL_EXSTYLE) & WS_EX_ACCEPTFILES);
}

// The dialog shown and in front, its messages handled as the program's loop does: through the
// dialog's filter, which runs the dialog keys.
class DialogKeys : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dialog.create(nullptr));
        dialog.showWindow(SW_SHOW);
        ASSERT_EQ(GetForegroundWindow(), dialog.handle());
    }
    void TearDown() override { dialog.destroyWindow(); }

    // Types the key on the keyboard, or clicks the middle of the control, and handles messages
    // until the condition holds or the bound passes; answers the condition.
    template <typename Condition>
    bool type(WORD key, Condition condition, bool shift = false, bool alt = false)
    {
        std::vector<INPUT> input;
        auto stroke = [&input](WORD code, DWORD flags) {
            INPUT one{};
            one.type = INPUT_KEYBOARD;
            one.ki.wVk = code;
            one.ki.dwFlags = flags;
            input.push_back(one);
        };
        if (shift)
            stroke(VK_SHIFT, 0);
        if (alt)
            stroke(VK_MENU, 0);
        stroke(key, 0);
        stroke(key, KEYEVENTF_KEYUP);
        if (alt)
            stroke(VK_MENU, KEYEVENTF_KEYUP);
        if (shift)
            stroke(VK_SHIFT, KEYEVENTF_KEYUP);
        const auto count = static_cast<UINT>(input.size());
        EXPECT_EQ(SendInput(count, input.data(), sizeof(INPUT)), count);
        return handleUntil(condition);
    }
    template <typename Condition>
    bool click(HWND control, Condition condition)
    {
        RECT rect{};
        GetWindowRect(control, &rect);
        const POINT middle{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
        KestrelTest::InputScript::pressLeft(middle);
        KestrelTest::InputScript::releaseLeft(middle);
        return handleUntil(condition);
    }
    template <typename Condition>
    bool handleUntil(Condition condition)
    {
        return KestrelTest::pumpUntil(condition, kBoundMilliseconds,
                                      [this](MSG& message) { return dialog.preTranslateMessage(message); });
    }
    std::wstring status(int row) { return MainDialogAccess::taskList(dialog).getItemText(row, 1); }
    HWND button(int id) { return dialog.getDlgItem(id).handle(); }

    static constexpr DWORD kBoundMilliseconds = 10000;
    WipewellMainDlg dialog;
};

// Enter presses the push button that has the focus: Add File... at start, one moved to by a click
// or by Tab, and Erase! only when it is Erase! that has it; on the list it presses nothing.
TEST_F(DialogKeys, EnterPressesTheFocusedButton)
{
    ASSERT_EQ(GetFocus(), button(IDC_ADD_FILE));
    for (const wchar_t* path : {L"C:\\first.txt", L"C:\\second.txt", L"C:\\third.txt"})
        MainDialogAccess::taskList(dialog).addTask(ItemKind::File, path, EraseStatus::Waiting, 0.0, dialog);
    KestrelTest::MessageBoxAnswerer answerer({IDNO});
    {
        KestrelTest::DialogDriver fileDialog(L"Open", [](HWND open) { KestrelTest::pressButton(open, IDCANCEL); });
        ASSERT_TRUE(type(VK_RETURN, [&] { return fileDialog.acted() || !answerer.boxes().empty(); }));
        EXPECT_TRUE(fileDialog.acted()) << "Enter on Add File... did not open the file dialog";
        ASSERT_TRUE(answerer.boxes().empty()) << "Enter on Add File... asked: " << answerer.boxes()[0].text;
    }

    MainDialogAccess::taskList(dialog).selectItem(0, Kestrel::ColumnPosition(0), 0);
    ASSERT_TRUE(click(button(IDC_STOP_SELECTED), [&] { return status(0) == L"Aborted"; }));
    MainDialogAccess::taskList(dialog).selectItem(1, Kestrel::ColumnPosition(0), 0);
    ASSERT_TRUE(type(VK_RETURN, [&] { return status(1) == L"Aborted" || !answerer.boxes().empty(); }));
    EXPECT_TRUE(answerer.boxes().empty()) << "Enter after a click on Stop Selected pressed Erase!";

    ASSERT_TRUE(type(VK_TAB, [&] { return GetFocus() == button(IDOK); }));
    ASSERT_TRUE(type(VK_RETURN, [&] { return !answerer.boxes().empty(); }));
    EXPECT_EQ(answerer.boxes()[0].text.rfind(L"Are you sure to erase the files and folders? ", 0), 0u);
    EXPECT_EQ(MainDialogAccess::currentTask(dialog), nullptr);

    // On the list Enter presses nothing: the Down after it is handled, and no question came.
    auto& list = MainDialogAccess::taskList(dialog);
    ASSERT_TRUE(type(VK_TAB, [&] { return GetFocus() == list.handle(); }));
    ASSERT_TRUE(type(VK_RETURN, [] { return true; }));
    ASSERT_TRUE(type(VK_DOWN, [&] { return list.getFocusItem() == 2; }));
    EXPECT_EQ(answerer.boxes().size(), 1u);
}

// Once in the task list, Tab walks the focus row's cells and leaves after the last for the next
// control; Shift+Tab walks back and leaves before the first for the previous one.
TEST_F(DialogKeys, TabLeavesTheTaskListAfterItsLastCellAndShiftTabBeforeItsFirst)
{
    auto& list = MainDialogAccess::taskList(dialog);
    list.addTask(ItemKind::File, L"C:\\first.txt", EraseStatus::Waiting, 0.0, dialog);
    const RECT cell = list.cellRect(0, Kestrel::ColumnPosition(0));
    POINT path{(cell.left + cell.right) / 2, (cell.top + cell.bottom) / 2};
    ClientToScreen(list.handle(), &path);
    KestrelTest::InputScript::pressLeft(path);
    KestrelTest::InputScript::releaseLeft(path);
    auto focusColumn = [&list] {
        Kestrel::ColumnPosition column;
        return list.getFocusItem(&column) == 0 ? column.value() : -1;
    };
    ASSERT_TRUE(handleUntil([&] { return GetFocus() == list.handle() && focusColumn() == 0; }));

    const int last = list.columnCount() - 1;
    for (int column = 1; column <= last; ++column)
        ASSERT_TRUE(type(VK_TAB, [&] { return focusColumn() == column; })) << "Tab to column " << column;
    ASSERT_TRUE(type(VK_TAB, [&] { return GetFocus() != list.handle(); })) << "Tab on the last column";
    EXPECT_EQ(GetFocus(), button(IDC_SHOW_HELP));

    ASSERT_TRUE(type(VK_TAB, [&] { return GetFocus() == list.handle(); }, true));
    for (int column = last - 1; column >= 0; --column)
        ASSERT_TRUE(type(VK_TAB, [&] { return focusColumn() == column; }, true)) << "Shift+Tab to column " << column;
    ASSERT_TRUE(type(VK_TAB, [&] { return GetFocus() != list.handle(); }, true)) << "Shift+Tab on the first column";
    EXPECT_EQ(GetFocus(), button(IDOK));
}

// Each button, and the list through its label, has a letter of its own; Alt and that letter
// press the button from anywhere, the list included, where the letter alone would search the rows.
TEST_F(DialogKeys, AltAndAnAccessKeyPressItsButtonEvenFromTheTaskList)
{
    std::wstring letters;
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        const std::wstring text = windowText(child);
        const std::size_t mark = text.find(L'&');
        if (mark != std::wstring::npos && mark + 1 < text.size())
            letters += static_cast<wchar_t>(std::towupper(text[mark + 1]));
    }
    EXPECT_EQ(letters, L"FOPBSETHA");

    auto& list = MainDialogAccess::taskList(dialog);
    list.addTask(ItemKind::File, L"C:\\kept.txt", EraseStatus::Waiting, 0.0, dialog);
    list.addTask(ItemKind::File, L"S:\\starts with the key.txt", EraseStatus::Waiting, 0.0, dialog);
    ASSERT_TRUE(type('T', [&] { return GetFocus() == list.handle(); }, false, true));
    list.selectItem(0, Kestrel::ColumnPosition(0), 0);
    ASSERT_TRUE(type('S', [&] { return status(0) == L"Aborted"; }, false, true));
    EXPECT_EQ(status(1), L"Waiting") << "Alt+S searched the rows before it pressed Stop Selected";
}

} // namespace
