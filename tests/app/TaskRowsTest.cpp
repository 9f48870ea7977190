#include "tests/app/DialogDriver.h"
#include "tests/app/MainDialogAccess.h"
#include "tests/app/MessageBoxAnswerer.h"
#include "tests/support/MessagePump.h"
#include "tests/support/ScratchFolder.h"
#include "tests/support/SparseFile.h"

#include "app/UserTexts.h"
#include "app/WipewellMainDlg.h"

#include <gtest/gtest.h>

#include <cwchar>
#include <string>
#include <vector>

namespace {

constexpr DWORD kBoundMilliseconds = 60000;

// The window shown and in front, typed at with real keys through the dialog's own filter, as the
// program's loop handles them; a failed row and a large file's row stopped part-way in its list.
class TaskRows : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dialog.create(nullptr));
        dialog.showWindow(SW_SHOW);
        ASSERT_EQ(GetForegroundWindow(), dialog.handle());
        ASSERT_TRUE(KestrelTest::writeFile(scratch / L"gone.txt", "text"));
        ASSERT_TRUE(KestrelTest::writeSparse(scratch / L"large.bin", std::uint64_t{1} << 30));
        list.addTask(ItemKind::File, scratch / L"gone.txt", EraseStatus::Waiting, 0.0, dialog);
        list.addTask(ItemKind::File, scratch / L"large.bin", EraseStatus::Waiting, 0.0, dialog);
        ASSERT_TRUE(DeleteFileW((scratch / L"gone.txt").c_str()));
        erase();
        ASSERT_TRUE(handleUntil([&] { return std::wcstod(list.getItemText(1, 2).c_str(), nullptr) > 0.0; }));
        ASSERT_TRUE(MainDialogAccess::stopCurrentTask(dialog));
        ASSERT_TRUE(handleUntil([&] { return status(1) == L"Aborted"; }));
    }
    void TearDown() override
    {
        if (MainDialogAccess::stopCurrentTask(dialog))
            handleUntil([this] { return MainDialogAccess::currentTask(dialog) == nullptr; });
        dialog.destroyWindow();
    }

    void erase()
    {
        KestrelTest::MessageBoxAnswerer answerer({IDYES});
        dialog.sendMessage(WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED));
        ASSERT_EQ(answerer.boxes().size(), 1u);
    }
    // Presses the keys together (the first ones held while the last goes down and up).
    template <typename Condition>
    bool type(std::vector<WORD> keys, Condition condition)
    {
        std::vector<INPUT> input;
        for (const bool up : {false, true}) {
            for (std::size_t index = 0; index < keys.size(); ++index) {
                INPUT one{};
                one.type = INPUT_KEYBOARD;
                one.ki.wVk = keys[up ? keys.size() - 1 - index : index];
                one.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
                input.push_back(one);
            }
        }
        const auto count = static_cast<UINT>(input.size());
        EXPECT_EQ(SendInput(count, input.data(), sizeof(INPUT)), count);
        return handleUntil(condition);
    }
    // Opens the row menu with the keys and chooses the item of the access letter.
    bool choose(std::vector<WORD> keys, wchar_t letter)
    {
        // A menu that did not take the letter is closed with Esc, and failing that ended as any
        // menu is when its owner cancels modes: the test then fails instead of waiting in the
        // menu's own loop for ever.
        const HWND owner = dialog.handle();
        KestrelTest::DialogDriver menu(
            L"",
            [letter, owner](HWND window) {
                const auto closes = [window] {
                    for (int tick = 0; tick < 500 && IsWindowVisible(window); ++tick)
                        Sleep(10);
                    return !IsWindowVisible(window);
                };
                PostMessageW(window, WM_CHAR, letter, 0);
                if (closes())
                    return;
                PostMessageW(window, WM_KEYDOWN, VK_ESCAPE, 0);
                if (!closes())
                    SendMessageTimeoutW(owner, WM_CANCELMODE, 0, 0, SMTO_ABORTIFHUNG, 5000, nullptr);
            },
            kBoundMilliseconds, L"#32768");
        type(std::move(keys), [] { return true; });
        return handleUntil([&] { return menu.acted() && !FindWindowW(L"#32768", nullptr); }) && menu.finish();
    }
    template <typename Condition>
    bool handleUntil(Condition condition)
    {
        return KestrelTest::pumpUntil(condition, kBoundMilliseconds,
                                      [this](MSG& message) { return dialog.preTranslateMessage(message); });
    }
    std::wstring status(int row) { return list.getItemText(row, 1); }
    std::wstring reasonLine() { return dialog.getDlgItem(IDC_ROW_REASON).windowText(); }

    KestrelTest::ScratchFolder scratch;
    WipewellMainDlg dialog;
    ErasingTasksListCtrl& list = MainDialogAccess::taskList(dialog);
};

// Up and Down show each row's reason below the list; the menu key's Retry makes the stopped row
// wait again without it, and Del removes the failed and Waiting rows but never the running one.
TEST_F(TaskRows, TheKeyboardReadsEachRowsReasonRetriesAndRemoves)
{
    const std::wstring notFound = L"File not found: " + scratch / L"gone.txt";
    ASSERT_EQ(status(0), L"Failed");
    SetFocus(list.handle());
    ASSERT_TRUE(type({VK_HOME}, [&] { return list.getFocusItem() == 0; }));
    EXPECT_EQ(reasonLine(), notFound);
    ASSERT_TRUE(type({VK_DOWN}, [&] { return list.getFocusItem() == 1; }));
    EXPECT_EQ(reasonLine(), UserTexts::kFileStoppedPartWay);

    ASSERT_TRUE(choose({VK_APPS}, L'r'));
    EXPECT_EQ(status(1), L"Waiting");
    EXPECT_EQ(list.getItemText(1, 2), L"0.000000");
    EXPECT_EQ(list.getItemToolTip(1, 0), L"");
    EXPECT_EQ(reasonLine(), L"");
    EXPECT_EQ(status(0), L"Failed") << "Retry touches the selected rows only";

    ASSERT_TRUE(type({VK_UP}, [&] { return reasonLine() == notFound; }));
    ASSERT_TRUE(type({VK_DELETE}, [&] { return list.getItemCount() == 1; }));
    EXPECT_EQ(list.getItemText(0, 0), scratch / L"large.bin");
    EXPECT_EQ(list.getFocusItem(), 0) << "the next row takes the removed one's place in the selection";

    ASSERT_TRUE(KestrelTest::writeFile(scratch / L"later.txt", "text"));
    list.addTask(ItemKind::File, scratch / L"later.txt", EraseStatus::Waiting, 0.0, dialog);
    erase();
    ASSERT_TRUE(list.isRowRunning(0));
    ASSERT_TRUE(type({VK_DELETE}, [] { return true; }));
    ASSERT_TRUE(type({VK_DOWN}, [&] { return list.getFocusItem() == 1; }));
    EXPECT_EQ(list.getItemCount(), 2) << "Del removed the running row";
    ASSERT_TRUE(type({VK_DELETE}, [&] { return list.getItemCount() == 1; }));
    EXPECT_TRUE(list.isRowRunning(0));
}

} // namespace
