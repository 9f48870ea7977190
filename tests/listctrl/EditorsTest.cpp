#include "StandInList.h"

#include "listctrl/CListCombo.h"
#include "listctrl/CListDate.h"
#include "listctrl/CListEdit.h"
#include "listctrl/ListColumn.h"
#include "tests/support/MessagePump.h"

#include <gtest/gtest.h>

namespace {

using namespace Kestrel;

const RECT kCell{40, 60, 200, 82};

void press(HWND window, int key)
{
    SendMessageW(window, WM_KEYDOWN, key, 1 | (MapVirtualKeyW(key, MAPVK_VK_TO_VSC) << 16));
}

void type(HWND window, const std::wstring& text)
{
    for (const wchar_t c : text)
        SendMessageW(window, WM_CHAR, c, 1);
}

// Ends the open editor with a key, or with the focus going back to the list for key 0.
void end(HWND editor, HWND list, int key)
{
    if (key)
        press(editor, key);
    else
        SetFocus(list);
}

class Editors : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(font);
        SetFocus(list.handle());
    }

    // The one notification the edit sent; its window is gone and the list has the focus.
    KestrelTest::EditDoneRecord ended(HWND editor, int key)
    {
        EXPECT_FALSE(IsWindow(editor));
        EXPECT_EQ(GetFocus(), list.handle());
        EXPECT_EQ(list.editDone.size(), 1u);
        KestrelTest::EditDoneRecord done = list.editDone.empty() ? KestrelTest::EditDoneRecord{} : list.editDone[0];
        EXPECT_EQ(done.exitKey, key);
        EXPECT_TRUE(done.senderAlive);
        list.editDone.clear();
        return done;
    }

    KestrelTest::StandInList& list = KestrelTest::StandInList::fresh();
    Font font = KestrelTest::messageFont();
};

TEST_F(Editors, EditEndsOnEnterEscapeTabAndLossOfFocusWithItsTextForTheColumn)
{
    CListEdit edit;
    for (const int key : {VK_RETURN, VK_ESCAPE, VK_TAB, 0}) {
        ASSERT_TRUE(edit.open(list.handle(), 4, ColumnId(7), kCell, L"old text", 0, font.get()));
        const HWND window = edit.handle();
        EXPECT_EQ(GetFocus(), window);
        type(window, L"new"); // replaces the selected cell text
        press(window, VK_HOME);
        press(window, VK_DELETE); // an editing key here
        EXPECT_TRUE(list.editDone.empty());
        end(window, list.handle(), key);

        const auto done = ended(window, key);
        EXPECT_EQ(done.text, L"ew");
        EXPECT_EQ(done.item, 4);
        EXPECT_EQ(done.subItem, 7);
        EXPECT_FALSE(done.date);
        EXPECT_FALSE(edit.isOpen());
    }
}

TEST_F(Editors, EditSitsInsideTheCellAndFiltersNumbers)
{
    CListEdit edit;
    ASSERT_TRUE(edit.open(list.handle(), 0, ColumnId(0), kCell, L"", FlagEditUpperCase, font.get()));
    RECT frame = edit.windowRect();
    MapWindowPoints(nullptr, list.handle(), reinterpret_cast<POINT*>(&frame), 2);
    EXPECT_EQ(frame.left, kCell.left + 2);
    EXPECT_EQ(frame.top, kCell.top + 3);
    EXPECT_EQ(frame.right, kCell.right - 3);
    EXPECT_EQ(frame.bottom, kCell.bottom - 2);
    EXPECT_EQ(edit.sendMessage(EM_GETMARGINS), MAKELONG(5, 5));
    type(edit.handle(), L"ab-1");
    EXPECT_EQ(edit.windowText(), L"AB-1");

    struct Case {
        unsigned flags;
        const wchar_t* typed;
        const wchar_t* ended;
    };
    for (const Case& c : {Case{FlagEditNumber, L"1a-2.3", L"123"}, Case{FlagEditNumber | FlagEditNegative, L"-1-2", L"-12"},
                          Case{FlagEditFloat, L"1.2.5x", L"1.25"}, Case{FlagEditNumber, L"-", L"0"},
                          Case{FlagEditFloat | FlagEditNull, L".", L""}}) {
        ASSERT_TRUE(edit.open(list.handle(), 0, ColumnId(0), kCell, L"", c.flags, font.get()));
        EXPECT_TRUE(edit.style() & ES_RIGHT);
        type(edit.handle(), c.typed);
        const HWND window = edit.handle();
        press(window, VK_RETURN);
        EXPECT_EQ(ended(window, VK_RETURN).text, c.ended) << c.typed;
    }
}

TEST_F(Editors, EscapeReachesTheEditorInsideADialog)
{
    CListEdit edit;
    ASSERT_TRUE(edit.open(list.handle(), 1, ColumnId(2), kCell, L"kept", 0, font.get()));
    MSG message{edit.handle(), WM_KEYDOWN, VK_ESCAPE, 1, 0, {}};
    // Unless the editor asks for every key, the dialog manager takes Escape for its Cancel button.
    EXPECT_TRUE(IsDialogMessageW(list.handle(), &message));
    EXPECT_EQ(ended(message.hwnd, VK_ESCAPE).text, L"kept");
}

TEST_F(Editors, ComboChoosesByKeysAndKeepsATextThatIsNoChoice)
{
    const std::vector<std::wstring> choices{L"Low", L"Medium", L"High"};
    CListCombo combo;
    ASSERT_TRUE(combo.open(list.handle(), 3, ColumnId(5), kCell, L"Medium", choices, font.get()));
    HWND window = combo.handle();
    press(window, VK_DOWN);
    press(window, VK_RETURN);
    const auto chosen = ended(window, VK_RETURN);
    EXPECT_EQ(chosen.text, L"High");
    EXPECT_EQ(chosen.subItem, 5);

    for (const int key : {VK_TAB, VK_DELETE}) {
        ASSERT_TRUE(combo.open(list.handle(), 3, ColumnId(5), kCell, L"Unknown", choices, font.get()));
        EXPECT_EQ(combo.sendMessage(CB_GETCOUNT), 4);
        window = combo.handle();
        press(window, key);
        EXPECT_EQ(ended(window, key).text, L"Unknown");
    }
}

TEST_F(Editors, DatePickerEndsWithItsDateAndCanEndWithoutOne)
{
    const SYSTEMTIME leapDay{2024, 2, 4, 29, 13, 45, 10, 0};
    CListDate picker;
    for (const int key : {VK_RETURN, VK_DELETE, 0}) {
        ASSERT_TRUE(picker.open(list.handle(), 2, ColumnId(6), kCell, &leapDay, FlagEditSeconds, font.get()));
        const HWND window = picker.handle();
        end(window, list.handle(), key);
        const auto done = ended(window, key);
        EXPECT_EQ(done.subItem, 6);
        EXPECT_EQ(done.text, L"20240229134510");
        ASSERT_TRUE(done.date);
        EXPECT_EQ(done.date->wDay, 29);
        EXPECT_EQ(done.date->wSecond, 10);
    }

    ASSERT_TRUE(picker.open(list.handle(), 2, ColumnId(6), kCell, nullptr, FlagEditNoDate, font.get()));
    HWND window = picker.handle();
    press(window, VK_RETURN);
    const auto none = ended(window, VK_RETURN);
    EXPECT_FALSE(none.date);
    EXPECT_EQ(none.text, L"");

    // The drop-down calendar, opened and closed by the picker's button, leaves the edit open with
    // the focus in the picker; the focus going elsewhere from the open calendar ends it.
    ASSERT_TRUE(picker.open(list.handle(), 2, ColumnId(6), kCell, &leapDay, 0, font.get()));
    window = picker.handle();
    const RECT client = picker.clientRect();
    const auto clickButton = [&] {
        const LPARAM point = MAKELPARAM(client.right - 5, client.bottom / 2);
        SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, point);
        SendMessageW(window, WM_LBUTTONUP, 0, point);
    };
    clickButton();
    clickButton();
    EXPECT_TRUE(KestrelTest::pumpUntil([&] { return GetFocus() == window; }));
    EXPECT_TRUE(list.editDone.empty());
    clickButton();
    SetFocus(list.handle());
    EXPECT_EQ(ended(window, 0).text, L"20240229134510");
}

} // namespace
