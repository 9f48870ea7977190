#include "FrameworkTestResources.h"
#include "tests/support/MessagePump.h"

#include "framework/CDialogImpl.h"
#include "framework/CWindowImpl.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

namespace {

using Kestrel::CDialogImpl;
using Kestrel::Command;

constexpr int kLinkClicked = -1507;

// A notification record of our own, as the task list sends.
struct RowNotification {
    NMHDR header;
    int item;
};

class TestDialog : public CDialogImpl<TestDialog> {
public:
    static constexpr UINT templateId = IDD_FRAMEWORK_TEST;

    static constexpr auto messageMap()
    {
        return Kestrel::messageMapOf<TestDialog>(
            Kestrel::onMessage<WM_INITDIALOG, &TestDialog::onInitDialog>,
            Kestrel::onCommand<IDC_TEST_BUTTON, &TestDialog::onButton>,
            Kestrel::onCommand<IDOK, &TestDialog::onOk>,
            Kestrel::onCommand<IDCANCEL, &TestDialog::onCancel>,
            Kestrel::onNotify<IDC_TEST_LIST, NM_SETFOCUS, &TestDialog::onListFocus>,
            Kestrel::onNotify<IDC_TEST_LIST, kLinkClicked, &TestDialog::onLinkClicked>);
    }

    void onFinalMessage(HWND) override { ++finalMessages; }

    std::vector<std::wstring> events;
    LPARAM initParam = 0;
    HWND defaultFocus = nullptr;
    Command lastCommand{};
    HWND notifySender = nullptr;
    int linkItem = -2;
    int finalMessages = 0;
    bool throwOnInit = false;
    bool closeFromInit = false;
    bool escapeFromInit = false;

private:
    bool onInitDialog(HWND focus, LPARAM param)
    {
        if (throwOnInit)
            throw std::runtime_error("init failed");
        events.push_back(L"init");
        initParam = param;
        defaultFocus = focus;
        if (closeFromInit) {
            EXPECT_TRUE(getDlgItem(IDC_TEST_BUTTON).postMessage(BM_CLICK));
        }
        if (escapeFromInit) {
            EXPECT_TRUE(getDlgItem(IDC_TEST_EDIT).postMessage(WM_KEYDOWN, VK_ESCAPE, 1 | (0x01 << 16)));
        }
        return true;
    }
    void onButton(const Command& command)
    {
        events.push_back(L"button");
        lastCommand = command;
        if (closeFromInit)
            endDialog(7);
    }
    void onOk() { events.push_back(L"ok"); endDialog(IDOK); }
    void onCancel() { events.push_back(L"cancel"); endDialog(IDCANCEL); }
    void onListFocus(const NMHDR& header)
    {
        events.push_back(L"list focus");
        notifySender = header.hwndFrom;
    }
    LRESULT onLinkClicked(const RowNotification& notification)
    {
        linkItem = notification.item;
        return notification.item < 0 ? -1 : 0;
    }
};

class DialogImpl : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        INITCOMMONCONTROLSEX controls{sizeof controls, ICC_LISTVIEW_CLASSES};
        InitCommonControlsEx(&controls);
    }
};

TEST_F(DialogImpl, ModelessDialogMapSeesInitCommandAndNotifications)
{
    TestDialog dialog;
    const HWND window = dialog.create(nullptr, 1234);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(dialog.handle(), window);
    EXPECT_EQ(dialog.initParam, 1234);
    EXPECT_EQ(dialog.defaultFocus, GetDlgItem(window, IDC_TEST_EDIT));
    EXPECT_EQ(dialog.create(nullptr), nullptr);

    const HWND button = GetDlgItem(window, IDC_TEST_BUTTON);
    SendMessageW(button, BM_CLICK, 0, 0);
    EXPECT_EQ(dialog.lastCommand.id, static_cast<UINT>(IDC_TEST_BUTTON));
    EXPECT_EQ(dialog.lastCommand.code, static_cast<UINT>(BN_CLICKED));
    EXPECT_EQ(dialog.lastCommand.control, button);

    // The list view tells its parent that it got the focus.
    const HWND list = GetDlgItem(window, IDC_TEST_LIST);
    SetFocus(list);
    ASSERT_TRUE(KestrelTest::pumpUntil([&] { return dialog.notifySender != nullptr; }));
    EXPECT_EQ(dialog.notifySender, list);

    // A handled message answers through DWLP_MSGRESULT: SendMessage sees the handler's result.
    RowNotification row{{list, IDC_TEST_LIST, static_cast<UINT>(kLinkClicked)}, -1};
    EXPECT_EQ(SendMessageW(window, WM_NOTIFY, IDC_TEST_LIST, reinterpret_cast<LPARAM>(&row)), -1);
    EXPECT_EQ(dialog.linkItem, -1);
    row.item = 3;
    EXPECT_EQ(SendMessageW(window, WM_NOTIFY, IDC_TEST_LIST, reinterpret_cast<LPARAM>(&row)), 0);
    EXPECT_EQ(dialog.linkItem, 3);
    // Another control's notification with the same code does not match.
    row.header.idFrom = IDC_TEST_EDIT;
    row.item = 9;
    SendMessageW(window, WM_NOTIFY, IDC_TEST_EDIT, reinterpret_cast<LPARAM>(&row));
    EXPECT_EQ(dialog.linkItem, 3);

    EXPECT_EQ(dialog.events, (std::vector<std::wstring>{L"init", L"button", L"list focus"}));

    dialog.destroyWindow();
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(dialog.handle(), nullptr);
    EXPECT_EQ(dialog.finalMessages, 1);
}

TEST_F(DialogImpl, ModalRunEndsWithTheResultGivenToEndDialog)
{
    TestDialog dialog;
    dialog.closeFromInit = true;
    EXPECT_EQ(dialog.doModal(nullptr, 55), 7);
    EXPECT_EQ(dialog.initParam, 55);
    EXPECT_EQ(dialog.events, (std::vector<std::wstring>{L"init", L"button"}));
    EXPECT_EQ(dialog.handle(), nullptr);
    EXPECT_EQ(dialog.finalMessages, 1);
}

TEST_F(DialogImpl, EscapeInAModalRunReachesTheMapAsCancel)
{
    // The modal loop's dialog manager turns the key into IDCANCEL.
    TestDialog dialog;
    dialog.escapeFromInit = true;
    EXPECT_EQ(dialog.doModal(nullptr), IDCANCEL);
    EXPECT_EQ(dialog.events, (std::vector<std::wstring>{L"init", L"cancel"}));
}

TEST_F(DialogImpl, FailingHandlerEndsTheModalRunAndItsExceptionLeavesDoModal)
{
    TestDialog dialog;
    dialog.throwOnInit = true;
    EXPECT_THROW(dialog.doModal(nullptr), std::runtime_error);
    EXPECT_FALSE(Kestrel::hasHandlerFailure());
    EXPECT_EQ(dialog.handle(), nullptr);
    EXPECT_EQ(dialog.finalMessages, 1);
}

TEST_F(DialogImpl, FailingHandlerDuringModelessCreationThrowsFromCreate)
{
    HWND window = nullptr;
    {
        TestDialog dialog;
        dialog.throwOnInit = true;
        EXPECT_THROW(static_cast<void>(dialog.create(nullptr)), std::runtime_error);
        EXPECT_FALSE(Kestrel::hasHandlerFailure());
        // The window stays with its object, which destroys it when it goes.
        window = dialog.handle();
        EXPECT_TRUE(IsWindow(window));
    }
    EXPECT_FALSE(IsWindow(window));
}

TEST_F(DialogImpl, DialogStillOpenWhenItsObjectGoesIsDestroyed)
{
    HWND window = nullptr;
    {
        TestDialog dialog;
        window = dialog.create(nullptr);
        ASSERT_NE(window, nullptr);
    }
    EXPECT_FALSE(IsWindow(window));
}

} // namespace
