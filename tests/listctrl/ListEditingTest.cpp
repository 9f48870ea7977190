#include "ListTestSupport.h"
#include "tests/support/MessagePump.h"

#include <gtest/gtest.h>

namespace {

using namespace Kestrel;
using KestrelTest::ListHost;
using KestrelTest::ListTest;

constexpr int kEditId = 1; // the edit box's and the date picker's child identifiers
constexpr int kDateId = 3;

// Columns shown as Note (Edit, identifier 1), Name (Text, 0), When (DateTime, 2).
class ListEditing : public ListTest {
protected:
    void SetUp() override
    {
        ListTest::SetUp();
        makeList();
        list.addColumn(L"Name", 100);
        list.addColumn(L"Note", 100, -1, false, FormatEdit);
        list.addColumn(L"When", 150, -1, false, FormatDateTime);
        list.moveColumn(ColumnPosition(1), ColumnPosition(0));
        list.rows = {{L"a", L"first", L"20240102030405"}, {L"b", L"second", L""}};
        list.resetScrollBars(SB_BOTH);
        SetForegroundWindow(ListHost::instance().handle());
    }

    // Opens the editor of a cell by clicking it; answers the editor window.
    HWND edit(int item, int column, int editorId)
    {
        const POINT point = cellCentre(item, column);
        click(WM_LBUTTONDOWN, point, MK_LBUTTON);
        click(WM_LBUTTONUP, point);
        const HWND editor = GetDlgItem(list.handle(), editorId);
        return editor && IsWindowVisible(editor) && list.isEditing() ? editor : nullptr;
    }
    void end(HWND editor, UINT key) { SendMessageW(editor, WM_KEYDOWN, key, 0); }
    int modifications() const
    {
        int count = 0;
        for (const KestrelTest::Notification& each : ListHost::instance().notifications)
            count += each.code == ItemModified;
        return count;
    }
};

TEST_F(ListEditing, AnEditBoxCommitsOnEnterKeepsOnEscapeAndMovesOnOnTab)
{
    HWND editor = edit(0, 0, kEditId);
    ASSERT_NE(editor, nullptr);
    if (GetFocus() != editor)
        GTEST_SKIP() << "the editor cannot take the keyboard focus here";
    wchar_t shown[32]{};
    GetWindowTextW(editor, shown, 32);
    EXPECT_STREQ(shown, L"first");

    SetWindowTextW(editor, L"changed");
    end(editor, VK_RETURN);
    EXPECT_FALSE(list.isEditing());
    EXPECT_EQ(list.rows[0][1], L"changed");
    ASSERT_EQ(notifications().back().code, ItemModified);
    EXPECT_EQ(notifications().back().item, 0);
    EXPECT_EQ(notifications().back().subItem, 1); // the identifier, though shown first

    editor = edit(0, 0, kEditId);
    ASSERT_NE(editor, nullptr);
    SetWindowTextW(editor, L"thrown away");
    end(editor, VK_ESCAPE);
    EXPECT_EQ(list.rows[0][1], L"changed");
    EXPECT_EQ(modifications(), 1);

    editor = edit(1, 0, kEditId);
    ASSERT_NE(editor, nullptr);
    SetWindowTextW(editor, L"tabbed");
    end(editor, VK_TAB);
    EXPECT_EQ(list.rows[1][1], L"tabbed");
    EXPECT_EQ(modifications(), 2);
    ColumnPosition column;
    ASSERT_TRUE(KestrelTest::pumpUntil([&] {
        (void)list.getFocusItem(&column);
        return column == ColumnPosition(1);
    }));
    EXPECT_EQ(list.getFocusItem(), 1);

    // Clicking elsewhere takes the focus from the editor: that commits too.
    editor = edit(0, 0, kEditId);
    ASSERT_NE(editor, nullptr);
    SetWindowTextW(editor, L"left behind");
    click(WM_LBUTTONDOWN, cellCentre(1, 1), MK_LBUTTON);
    click(WM_LBUTTONUP, cellCentre(1, 1));
    EXPECT_EQ(list.rows[0][1], L"left behind");
    EXPECT_EQ(modifications(), 3);
}

TEST_F(ListEditing, ADatePickerStoresItsDateAndDeleteEmptiesTheCell)
{
    HWND picker = edit(1, 2, kDateId);
    ASSERT_NE(picker, nullptr);
    end(picker, VK_RETURN);
    EXPECT_EQ(list.rows[1][2].size(), 14u); // stored as yyyyMMddhhmmss
    ASSERT_EQ(notifications().back().code, ItemModified);
    EXPECT_EQ(notifications().back().subItem, 2);

    picker = edit(0, 2, kDateId);
    ASSERT_NE(picker, nullptr);
    SYSTEMTIME shown{};
    ASSERT_EQ(SendMessageW(picker, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&shown)), GDT_VALID);
    EXPECT_EQ(shown.wYear, 2024);
    EXPECT_EQ(shown.wDay, 2);
    end(picker, VK_DELETE);
    EXPECT_EQ(list.rows[0][2], L"");
    EXPECT_EQ(modifications(), 1);
}

TEST_F(ListEditing, ReadOnlyAndTextCellsOpenNoEditor)
{
    EXPECT_EQ(edit(0, 1, kEditId), nullptr); // Name is a text cell
    list.addColumn(L"Fixed", 80, -1, false, FormatEdit, FlagReadOnly);
    list.rows[0].push_back(L"fixed");
    EXPECT_EQ(edit(0, 3, kEditId), nullptr);
    EXPECT_FALSE(list.isEditing());
}

} // namespace
