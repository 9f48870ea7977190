#include "framework/CWindowImpl.h"
#include "framework/HandlerFailure.h"

#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

using Kestrel::Command;
using Kestrel::CWindowImpl;

const UINT kRegisteredMessage = RegisterWindowMessageW(L"KestrelFrameworkTestMessage");
const UINT kNotRegistered = 0;

std::wstring classNameOf(HWND window)
{
    wchar_t name[64]{};
    GetClassNameW(window, name, 64);
    return name;
}

// A mix-in with its own map, as the shell-drop target and the double buffer are.
template <typename T>
class ClickTracker {
public:
    static constexpr auto messageMap()
    {
        return Kestrel::messageMapOf<ClickTracker>(
            Kestrel::onMessage<WM_LBUTTONDOWN, &ClickTracker::onLeftButtonDown>,
            Kestrel::onMessage<WM_RBUTTONDOWN, &ClickTracker::onRightButtonDown>);
    }
    std::vector<POINT> leftClicks;
    int rightClicksSeenByMixIn = 0;

private:
    void onLeftButtonDown(UINT, POINT point) { leftClicks.push_back(point); }
    void onRightButtonDown() { ++rightClicksSeenByMixIn; }
};

class Canvas : public CWindowImpl<Canvas>, public ClickTracker<Canvas> {
public:
    static constexpr auto messageMap()
    {
        return Kestrel::messageMapOf<Canvas>(
            Kestrel::onMessage<WM_CREATE, &Canvas::onCreate>,
            Kestrel::onMessage<WM_SIZE, &Canvas::onSize>,
            Kestrel::onMessage<WM_RBUTTONDOWN, &Canvas::onRightButtonDown>,
            Kestrel::onMessage<WM_APP, &Canvas::onApp>,
            Kestrel::onMessage<WM_APP + 1, &Canvas::onDestroyFromInside>,
            Kestrel::onCommand<42, &Canvas::onCommand42>,
            Kestrel::onRegisteredMessage<&kNotRegistered, &Canvas::onNeverRegistered>,
            Kestrel::onRegisteredMessage<&kRegisteredMessage, &Canvas::onRegistered>,
            Kestrel::chainTo<ClickTracker<Canvas>>);
    }

    void onFinalMessage(HWND window) override
    {
        ++finalMessages;
        handleInFinalHook = handle();
        windowInFinalHook = window;
        events.push_back(L"final");
    }

    int creates = 0;
    SIZE lastSize{};
    int rightClicks = 0;
    Command lastCommand{};
    int finalMessages = 0;
    HWND handleInFinalHook = reinterpret_cast<HWND>(1);
    HWND windowInFinalHook = nullptr;
    std::vector<std::wstring> events;

private:
    int onCreate(WPARAM, LPARAM lParam)
    {
        ++creates;
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        return create->lpCreateParams == this ? 0 : -1;
    }
    void onSize(UINT, SIZE size) { lastSize = size; }
    void onRightButtonDown() { ++rightClicks; }
    LRESULT onApp(WPARAM wParam, LPARAM lParam) { return static_cast<LRESULT>(wParam) + lParam; }
    void onDestroyFromInside()
    {
        events.push_back(L"handler starts");
        destroyWindow();
        events.push_back(L"handler ends");
    }
    void onCommand42(const Command& command) { lastCommand = command; }
    LRESULT onRegistered(WPARAM wParam, LPARAM) { return static_cast<LRESULT>(wParam) * 2; }
    LRESULT onNeverRegistered() { return 99; }
};

TEST(WindowImpl, CreatedWindowRoutesMappedMessagesToTypedHandlersAndTheRestToTheDefault)
{
    Canvas canvas;
    const HWND window = canvas.create(nullptr, RECT{10, 10, 210, 110}, L"Canvas", WS_POPUP, 0, 0, &canvas);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(canvas.handle(), window);
    EXPECT_EQ(canvas.creates, 1);
    EXPECT_EQ(canvas.create(nullptr, RECT{}, L"", WS_POPUP), nullptr); // one window per object

    SetWindowPos(window, nullptr, 0, 0, 150, 80, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_EQ(canvas.lastSize.cx, 150);
    EXPECT_EQ(canvas.lastSize.cy, 80);
    EXPECT_EQ(canvas.sendMessage(WM_APP, 40, 2), 42);

    // Unmapped: the default procedure keeps the text.
    EXPECT_TRUE(canvas.setWindowText(L"renamed"));
    EXPECT_EQ(canvas.windowText(), L"renamed");

    canvas.sendMessage(WM_COMMAND, MAKEWPARAM(42, BN_CLICKED), reinterpret_cast<LPARAM>(window));
    EXPECT_EQ(canvas.lastCommand.id, 42u);
    EXPECT_EQ(canvas.lastCommand.code, static_cast<UINT>(BN_CLICKED));
    EXPECT_EQ(canvas.lastCommand.control, window);

    // A registered message is matched by its run-time identifier; one not registered (0) never.
    ASSERT_NE(kRegisteredMessage, 0u);
    EXPECT_EQ(canvas.sendMessage(kRegisteredMessage, 21), 42);
    EXPECT_EQ(canvas.sendMessage(WM_NULL), 0);

    canvas.destroyWindow();
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(canvas.finalMessages, 1);
    EXPECT_EQ(canvas.handleInFinalHook, nullptr);
    EXPECT_EQ(canvas.windowInFinalHook, window);
    EXPECT_EQ(canvas.handle(), nullptr);
}

TEST(WindowImpl, WindowClassIsRegisteredOnceUnderAGeneratedName)
{
    Canvas first;
    Canvas second;
    ASSERT_NE(first.create(HWND_MESSAGE, RECT{}, L"", 0, 0, 0, &first), nullptr);
    ASSERT_NE(second.create(HWND_MESSAGE, RECT{}, L"", 0, 0, 0, &second), nullptr);
    const std::wstring name = classNameOf(first);
    EXPECT_EQ(name.rfind(L"Kestrel:", 0), 0u) << std::string(name.begin(), name.end());
    EXPECT_EQ(classNameOf(second), name);
    EXPECT_EQ(GetClassLongPtrW(first, GCW_ATOM), GetClassLongPtrW(second, GCW_ATOM));
}

TEST(WindowImpl, ChainedMapGetsWhatTheOwnMapLeavesAndEarlierEntriesWin)
{
    Canvas canvas;
    ASSERT_NE(canvas.create(HWND_MESSAGE, RECT{}, L"", 0, 0, 0, &canvas), nullptr);
    canvas.sendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(-3, 17));
    ASSERT_EQ(canvas.leftClicks.size(), 1u);
    EXPECT_EQ(canvas.leftClicks[0].x, -3);
    EXPECT_EQ(canvas.leftClicks[0].y, 17);

    canvas.sendMessage(WM_RBUTTONDOWN, 0, 0);
    EXPECT_EQ(canvas.rightClicks, 1);
    EXPECT_EQ(canvas.rightClicksSeenByMixIn, 0);
}

TEST(WindowImpl, FinalHookRunsOnceAfterTheOutermostMessageOfTheWindowReturned)
{
    Canvas canvas;
    const HWND window = canvas.create(HWND_MESSAGE, RECT{}, L"", 0, 0, 0, &canvas);
    ASSERT_NE(window, nullptr);
    canvas.sendMessage(WM_APP + 1);
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(canvas.events, (std::vector<std::wstring>{L"handler starts", L"handler ends", L"final"}));
    EXPECT_EQ(canvas.finalMessages, 1);

    // The object can make a new window afterwards.
    ASSERT_NE(canvas.create(HWND_MESSAGE, RECT{}, L"", 0, 0, 0, &canvas), nullptr);
    canvas.destroyWindow();
    EXPECT_EQ(canvas.finalMessages, 2);
}

TEST(WindowImpl, ObjectGoingFirstDestroysItsWindow)
{
    auto canvas = std::make_unique<Canvas>();
    const HWND window = canvas->create(HWND_MESSAGE, RECT{}, L"", 0, 0, 0, canvas.get());
    ASSERT_NE(window, nullptr);
    SetLastError(1234);
    canvas.reset();
    EXPECT_EQ(GetLastError(), 1234u);
    EXPECT_FALSE(IsWindow(window));
}

TEST(WindowImpl, FailedCreationLeavesNothingBound)
{
    Canvas refused;
    // WM_CREATE answers -1 when the creation parameter is not the object.
    EXPECT_EQ(refused.create(HWND_MESSAGE, RECT{}, L"", 0, 0, 0, nullptr), nullptr);
    EXPECT_EQ(refused.handle(), nullptr);
    EXPECT_EQ(refused.finalMessages, 1);

    Canvas next;
    ASSERT_NE(next.create(HWND_MESSAGE, RECT{}, L"", 0, 0, 0, &next), nullptr);
    EXPECT_EQ(next.creates, 1);
    EXPECT_EQ(refused.creates, 1);
}

POINT centreOf(const RECT& rect)
{
    return POINT{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
}

TEST(WindowImpl, CentresOverItsVisibleOwnerElseOnTheWorkArea)
{
    Canvas owner;
    Canvas owned;
    ASSERT_NE(owner.create(nullptr, RECT{200, 150, 600, 450}, L"Owner", WS_POPUP, 0, 0, &owner), nullptr);
    ASSERT_NE(owned.create(owner, RECT{0, 0, 100, 60}, L"Owned", WS_POPUP, 0, 0, &owned), nullptr);

    // A hidden owner has no useful rectangle.
    ASSERT_TRUE(owned.centerWindow());
    RECT workArea{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &workArea, 0);
    EXPECT_EQ(centreOf(owned.windowRect()).x, centreOf(workArea).x);
    EXPECT_EQ(centreOf(owned.windowRect()).y, centreOf(workArea).y);

    owner.showWindow(SW_SHOWNOACTIVATE);
    ASSERT_TRUE(owned.centerWindow());
    EXPECT_EQ(centreOf(owned.windowRect()).x, 400);
    EXPECT_EQ(centreOf(owned.windowRect()).y, 300);
    const RECT ownedRect = owned.windowRect();
    EXPECT_EQ(ownedRect.right - ownedRect.left, 100);
}

// Digits are refused; everything else is the edit control's own behaviour.
class LettersOnlyEdit : public CWindowImpl<LettersOnlyEdit> {
public:
    static constexpr auto messageMap()
    {
        return Kestrel::messageMapOf<LettersOnlyEdit>(
            Kestrel::onMessage<WM_CHAR, &LettersOnlyEdit::onChar>,
            Kestrel::onMessage<WM_APP, &LettersOnlyEdit::onThrow>);
    }
    void onFinalMessage(HWND) override { ++finalMessages; }

    int refused = 0;
    int finalMessages = 0;

private:
    LRESULT onChar(WPARAM wParam, LPARAM lParam)
    {
        if (wParam >= L'0' && wParam <= L'9') {
            ++refused;
            return 0;
        }
        return defWindowProc(WM_CHAR, wParam, lParam);
    }
    void onThrow() { throw std::runtime_error("refused"); }
};

class StandardEdit {
public:
    StandardEdit()
        : parent_(CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 200, 50, nullptr, nullptr, nullptr, nullptr)),
          edit_(CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL, 0, 0, 180, 20, parent_,
                                reinterpret_cast<HMENU>(UINT_PTR{5}), nullptr, nullptr))
    {
    }
    ~StandardEdit() { DestroyWindow(parent_); }
    HWND parent() const { return parent_; }
    HWND edit() const { return edit_; }

private:
    HWND parent_;
    HWND edit_;
};

void typeText(HWND window, const wchar_t* text)
{
    for (const wchar_t* c = text; *c; ++c)
        SendMessageW(window, WM_CHAR, *c, 1);
}

std::wstring textOf(HWND window)
{
    return Kestrel::CWindow(window).windowText();
}

TEST(WindowImpl, SubclassedEditGetsMappedMessagesAndKeepsItsOwnBehaviourForTheRest)
{
    StandardEdit standard;
    ASSERT_NE(standard.edit(), nullptr);
    const LONG_PTR editProcedure = GetWindowLongPtrW(standard.edit(), GWLP_WNDPROC);

    LettersOnlyEdit edit;
    ASSERT_TRUE(edit.subclassWindow(standard.edit()));
    EXPECT_FALSE(edit.subclassWindow(standard.parent())); // one window per object

    typeText(standard.edit(), L"a1b2c");
    EXPECT_EQ(textOf(standard.edit()), L"abc");
    EXPECT_EQ(edit.refused, 2);
    // Unmapped messages: the edit's own selection and replacement.
    SendMessageW(standard.edit(), EM_SETSEL, 1, 2);
    SendMessageW(standard.edit(), EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(L"XY"));
    EXPECT_EQ(textOf(standard.edit()), L"aXYc");
    EXPECT_EQ(SendMessageW(standard.edit(), WM_GETTEXTLENGTH, 0, 0), 4);

    // A throwing handler does not take the control down.
    EXPECT_EQ(SendMessageW(standard.edit(), WM_APP, 0, 0), 0);
    EXPECT_THROW(Kestrel::rethrowHandlerFailure(), std::runtime_error);

    EXPECT_EQ(edit.unsubclassWindow(), standard.edit());
    EXPECT_EQ(GetWindowLongPtrW(standard.edit(), GWLP_WNDPROC), editProcedure);
    EXPECT_EQ(GetWindowLongPtrW(standard.edit(), GWLP_USERDATA), 0);
    typeText(standard.edit(), L"9");
    EXPECT_EQ(textOf(standard.edit()), L"aXY9c"); // at the caret, after the replacement
    EXPECT_EQ(edit.refused, 2);
    EXPECT_EQ(edit.finalMessages, 0);
}

TEST(WindowImpl, SubclassedControlDestroyedWithItsParentRunsTheFinalHookOnce)
{
    LettersOnlyEdit edit;
    {
        StandardEdit standard;
        ASSERT_TRUE(edit.subclassWindow(standard.edit()));
    }
    EXPECT_EQ(edit.finalMessages, 1);
    EXPECT_EQ(edit.handle(), nullptr);
}

TEST(WindowImpl, SubclassingRefusesAWindowWhoseUserDataIsTaken)
{
    StandardEdit standard;
    SetWindowLongPtrW(standard.edit(), GWLP_USERDATA, 77);
    const LONG_PTR editProcedure = GetWindowLongPtrW(standard.edit(), GWLP_WNDPROC);
    LettersOnlyEdit edit;
    EXPECT_FALSE(edit.subclassWindow(standard.edit()));
    EXPECT_FALSE(edit.subclassWindow(nullptr));
    EXPECT_EQ(GetWindowLongPtrW(standard.edit(), GWLP_WNDPROC), editProcedure);
    EXPECT_EQ(GetWindowLongPtrW(standard.edit(), GWLP_USERDATA), 77);
}

TEST(WindowImpl, ObjectGoingFirstGivesASubclassedControlBackItsProcedure)
{
    StandardEdit standard;
    const LONG_PTR editProcedure = GetWindowLongPtrW(standard.edit(), GWLP_WNDPROC);
    {
        LettersOnlyEdit edit;
        ASSERT_TRUE(edit.subclassWindow(standard.edit()));
    }
    EXPECT_TRUE(IsWindow(standard.edit()));
    EXPECT_EQ(GetWindowLongPtrW(standard.edit(), GWLP_WNDPROC), editProcedure);
    EXPECT_EQ(GetWindowLongPtrW(standard.edit(), GWLP_USERDATA), 0);
    typeText(standard.edit(), L"7");
    EXPECT_EQ(textOf(standard.edit()), L"7");
}

} // namespace
