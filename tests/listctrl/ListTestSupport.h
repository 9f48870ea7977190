#pragma once

#include "TestList.h"
#include "tests/support/PixelSurface.h"

#include "framework/CWindowImpl.h"
#include "framework/DeviceContext.h"
#include "framework/GdiObject.h"

#include <gtest/gtest.h>

#include <vector>

namespace KestrelTest {

struct Notification {
    int code;
    int item;
    int subItem;
};

// One visible top-level window for the whole suite, parent of every list under test: it records
// the notifications its children send. (It is never hidden: without a window manager, hiding a
// visible top-level window makes Wine wait.)
class ListHost : public Kestrel::CWindowImpl<ListHost> {
public:
    static constexpr auto messageMap()
    {
        return Kestrel::messageMapOf<ListHost>(Kestrel::onMessage<WM_NOTIFY, &ListHost::onNotify>);
    }
    static ListHost& instance();

    std::vector<Notification> notifications;
    // The codes received, in order.
    [[nodiscard]] std::vector<int> codes() const;

private:
    LRESULT onNotify(WPARAM, LPARAM lParam);
};

// A list of the given client size in the host, made and initialised as a child of its own, with
// cell focus on; columns and rows are the test's.
class ListTest : public ::testing::Test {
public:
    static constexpr UINT kListId = 1007;

protected:
    void SetUp() override;
    void makeList(int width = 400, int height = 240);
    // Renders the client area as WM_PRINTCLIENT does into a bitmap.
    [[nodiscard]] std::unique_ptr<PixelSurface> render();
    // Client point of a cell's centre.
    [[nodiscard]] POINT cellCentre(int item, int column);
    void click(UINT message, POINT point, UINT keys = 0);
    void key(UINT key);
    [[nodiscard]] std::vector<Notification>& notifications() { return ListHost::instance().notifications; }
    void addRows(int count, int columns);

    TestList list;
};

[[nodiscard]] inline int red(COLORREF colour) { return GetRValue(colour); }
[[nodiscard]] inline int green(COLORREF colour) { return GetGValue(colour); }
[[nodiscard]] inline int blue(COLORREF colour) { return GetBValue(colour); }
[[nodiscard]] SCROLLINFO scrollInfo(HWND window, int bar);
// Whether a colour lies channel by channel between two others (a gradient's ends).
[[nodiscard]] bool between(COLORREF colour, COLORREF first, COLORREF second);

} // namespace KestrelTest
