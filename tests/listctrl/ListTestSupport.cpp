#include "ListTestSupport.h"

#include <algorithm>
#include <memory>

namespace KestrelTest {

ListHost& ListHost::instance()
{
    static ListHost host;
    if (!host.handle()) {
        INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES | ICC_DATE_CLASSES};
        InitCommonControlsEx(&controls);
        (void)host.create(nullptr, RECT{0, 0, 700, 500}, L"List tests", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN);
    }
    return host;
}

std::vector<int> ListHost::codes() const
{
    std::vector<int> result;
    for (const Notification& each : notifications)
        result.push_back(each.code);
    return result;
}

LRESULT ListHost::onNotify(WPARAM, LPARAM lParam)
{
    const auto& info = *reinterpret_cast<const Kestrel::ListNotifyInfo*>(lParam);
    if (static_cast<int>(info.header.code) <= Kestrel::SelectionChanged &&
        static_cast<int>(info.header.code) >= Kestrel::ButtonClicked)
        notifications.push_back(Notification{static_cast<int>(info.header.code), info.item, info.subItem});
    return 0;
}

void ListTest::SetUp()
{
    ListHost::instance().notifications.clear();
}

void ListTest::makeList(int width, int height)
{
    ASSERT_NE(list.create(ListHost::instance().handle(), RECT{0, 0, width, height}, L"",
                          WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_HSCROLL, 0, kListId),
              nullptr);
    list.setFocusSubItem(true);
    RECT client = list.clientRect();
    // The bars come and go with the ranges; tests size rows against the client area they get.
    ASSERT_GT(client.right, 0);
}

std::unique_ptr<PixelSurface> ListTest::render()
{
    const RECT client = list.clientRect();
    auto surface = std::make_unique<PixelSurface>(client.right, client.bottom);
    list.sendMessage(WM_PRINTCLIENT, reinterpret_cast<WPARAM>(surface->dc()), PRF_CLIENT);
    return surface;
}

POINT ListTest::cellCentre(int item, int column)
{
    const RECT cell = list.cellRect(item, Kestrel::ColumnPosition(column));
    return POINT{(cell.left + cell.right) / 2, (cell.top + cell.bottom) / 2};
}

void ListTest::click(UINT message, POINT point, UINT keys)
{
    list.sendMessage(message, keys, MAKELPARAM(point.x, point.y));
}

void ListTest::key(UINT code)
{
    list.sendMessage(WM_KEYDOWN, code, 0);
}

void ListTest::addRows(int count, int columns)
{
    for (int row = 0; row < count; ++row) {
        std::vector<std::wstring> cells;
        for (int column = 0; column < columns; ++column)
            cells.push_back(L"r" + std::to_wstring(row) + L"c" + std::to_wstring(column));
        list.rows.push_back(cells);
    }
    list.resetScrollBars(SB_BOTH);
}

SCROLLINFO scrollInfo(HWND window, int bar)
{
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_ALL;
    GetScrollInfo(window, bar, &info);
    return info;
}

bool between(COLORREF colour, COLORREF first, COLORREF second)
{
    auto within = [](int value, int a, int b) { return value >= std::min(a, b) && value <= std::max(a, b); };
    return within(red(colour), red(first), red(second)) && within(green(colour), green(first), green(second)) &&
           within(blue(colour), blue(first), blue(second));
}

} // namespace KestrelTest
