#include "listctrl/CTitleTip.h"

#include "framework/SelectedObject.h"
#include "listctrl/ListDrawing.h"
#include "listctrl/ListTextInsets.h"

#include <commctrl.h>

namespace Kestrel {

namespace {

using ListTextInsets::kTitleTipExtraWidth;
using ListTextInsets::kTitleTipLead;
constexpr UINT_PTR kToolId = 1000;
constexpr int kMaxTipWidth = 32767;
constexpr UINT kTextFormat = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX;

constexpr COLORREF kFrameOuter = RGB(220, 220, 220);
constexpr COLORREF kFrameInner = RGB(245, 245, 245);
constexpr COLORREF kGradientTop = RGB(250, 250, 250);
constexpr COLORREF kGradientBottom = RGB(235, 235, 235);

// A button message in the client area and its twin in the non-client area lie the same
// distance apart for every button (WM_LBUTTONDOWN / WM_NCLBUTTONDOWN ... WM_MBUTTONDBLCLK /
// WM_NCMBUTTONDBLCLK).
constexpr UINT kNonClientOffset = WM_LBUTTONDOWN - WM_NCLBUTTONDOWN;
static_assert(WM_MBUTTONDBLCLK - WM_NCMBUTTONDBLCLK == kNonClientOffset);

TOOLINFOW toolInfo(HWND tip) noexcept
{
    TOOLINFOW info{};
    // The version 5 controls refuse the record's newer, longer sizes.
    info.cbSize = TTTOOLINFOW_V2_SIZE;
    info.uFlags = TTF_SUBCLASS;
    info.hwnd = tip;
    info.uId = kToolId;
    return info;
}

} // namespace

bool CTitleTip::create(HWND list) noexcept
{
    if (handle())
        destroyWindow();
    list_ = list;
    cell_ = Cell{};
    const HWND tip = CWindowImpl<CTitleTip>::create(list, RECT{}, L"", WS_POPUP,
                                                    WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_NOACTIVATE);
    if (!tip)
        return false;
    toolTip_.reset(CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                                   CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, tip, nullptr,
                                   moduleInstance(), nullptr));
    if (!toolTip_)
        return false;
    SendMessageW(toolTip_.get(), TTM_SETMAXTIPWIDTH, 0, kMaxTipWidth);
    return true;
}

bool CTitleTip::show(const Cell& cell)
{
    if (!handle() || cell.item < 0 || cell.text.empty() || !cell.font) {
        hide();
        return false;
    }
    const int width = textWidth(cell);
    if (width < cell.textRect.right - cell.textRect.left) {
        hide();
        return false;
    }
    POINT origin{cell.textRect.left, cell.textRect.top};
    ClientToScreen(list_, &origin);
    cell_ = cell;
    SetWindowPos(handle(), HWND_TOPMOST, origin.x - cell.dpi.scale(kTitleTipLead), origin.y,
                 width + cell.dpi.scale(kTitleTipExtraWidth), cell.cellHeight, SWP_NOACTIVATE | SWP_SHOWWINDOW);
    invalidate();
    setToolTip(cell.toolTip);
    if (GetCapture() != handle())
        SetCapture(handle());
    return true;
}

void CTitleTip::hide() noexcept
{
    if (!isShown())
        return;
    hideWindow();
    if (GetCapture() == handle())
        ReleaseCapture();
}

void CTitleTip::doPaint(DCHandle dc)
{
    const RECT client = clientRect();
    if (cell_.themed)
        drawThemed(dc, client);
    else
        drawClassic(dc, client);
    if (!cell_.font)
        return;
    const SelectedObject font(dc, cell_.font);
    SetBkMode(dc, TRANSPARENT);
    RECT text = client;
    text.left += cell_.dpi.scale(kTitleTipLead);
    DrawTextW(dc, cell_.text.c_str(), static_cast<int>(cell_.text.size()), &text, kTextFormat);
}

void CTitleTip::drawThemed(DCHandle dc, const RECT& client) const noexcept
{
    const COLORREF background = GetSysColor(COLOR_WINDOW);
    dc.fillSolidRect(client, background);
    drawRoundedDoubleFrame(dc, client, kFrameOuter, kFrameInner, background);
    const RECT inside{client.left + 2, client.top + 2, client.right - 2, client.bottom - 2};
    drawVerticalGradient(dc, inside, kGradientTop, kGradientBottom);
    SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
}

void CTitleTip::drawClassic(DCHandle dc, const RECT& client) const noexcept
{
    dc.fillSolidRect(client, GetSysColor(COLOR_INFOBK));
    FrameRect(dc, &client, GetSysColorBrush(COLOR_WINDOWFRAME));
    SetTextColor(dc, GetSysColor(COLOR_INFOTEXT));
}

void CTitleTip::onMouseMove(UINT keys, POINT point)
{
    const RECT client = clientRect();
    if (PtInRect(&client, point))
        return;
    hide();
    // The move that left the tip is a move over the list: it may offer the tip for the next cell.
    passToList(WM_MOUSEMOVE, keys, point);
}

void CTitleTip::onCaptureChanged() noexcept
{
    // Another window took the mouse (the list pressed, a menu opened): the tip has no more to do.
    if (isShown())
        hideWindow();
}

void CTitleTip::hideWindow() noexcept
{
    cell_.item = -1;
    cell_.subItem = ColumnId();
    SetWindowPos(handle(), nullptr, 0, 0, 0, 0,
                 SWP_HIDEWINDOW | SWP_NOACTIVATE | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER);
}

void CTitleTip::onDestroy()
{
    toolTip_.reset();
    cell_ = Cell{};
}

int CTitleTip::textWidth(const Cell& cell) const noexcept
{
    const ClientDC dc(list_);
    if (!dc)
        return 0;
    const SelectedObject font(dc.get(), cell.font);
    RECT measured{};
    DrawTextW(dc.get(), cell.text.c_str(), static_cast<int>(cell.text.size()), &measured,
              kTextFormat | DT_CALCRECT);
    return measured.right - measured.left;
}

void CTitleTip::setToolTip(const std::wstring& text) noexcept
{
    if (!toolTip_)
        return;
    TOOLINFOW info = toolInfo(handle());
    SendMessageW(toolTip_.get(), TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&info));
    if (text.empty()) {
        SendMessageW(toolTip_.get(), TTM_ACTIVATE, FALSE, 0);
        return;
    }
    info.rect = clientRect();
    info.lpszText = const_cast<wchar_t*>(text.c_str());
    SendMessageW(toolTip_.get(), TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info));
    SendMessageW(toolTip_.get(), TTM_ACTIVATE, TRUE, 0);
}

void CTitleTip::passToList(UINT message, WPARAM keys, POINT point) const noexcept
{
    if (!list_ || !IsWindow(list_))
        return;
    POINT screen = point;
    ClientToScreen(handle(), &screen);
    const LRESULT hit = SendMessageW(list_, WM_NCHITTEST, 0, MAKELPARAM(screen.x, screen.y));
    if (hit == HTCLIENT) {
        POINT client = screen;
        ScreenToClient(list_, &client);
        SendMessageW(list_, message, keys, MAKELPARAM(client.x, client.y));
    } else if (message != WM_MOUSEMOVE) {
        SendMessageW(list_, message - kNonClientOffset, static_cast<WPARAM>(hit), MAKELPARAM(screen.x, screen.y));
    }
}

} // namespace Kestrel
