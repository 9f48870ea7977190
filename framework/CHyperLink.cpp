#include "framework/CHyperLink.h"

#include "framework/DeviceContext.h"
#include "framework/SelectedObject.h"

#include <commctrl.h>
#include <shellapi.h>

#include <algorithm>
#include <cwchar>

namespace Kestrel {

namespace {

// The browser keeps the user's link colours as "r,g,b" text.
COLORREF browserColour(const wchar_t* value, COLORREF fallback) noexcept
{
    wchar_t text[32]{};
    DWORD size = sizeof text;
    if (RegGetValueW(HKEY_CURRENT_USER, L"Software\\Microsoft\\Internet Explorer\\Settings", value, RRF_RT_REG_SZ,
                     nullptr, text, &size) != ERROR_SUCCESS)
        return fallback;
    unsigned red = 0;
    unsigned green = 0;
    unsigned blue = 0;
    if (std::swscanf(text, L"%u,%u,%u", &red, &green, &blue) != 3 || red > 255 || green > 255 || blue > 255)
        return fallback;
    return RGB(red, green, blue);
}

constexpr UINT kLabelFormat = DT_LEFT | DT_TOP | DT_SINGLELINE | DT_NOPREFIX;

} // namespace

CHyperLink::CHyperLink() noexcept
    : linkColour_(browserColour(L"Anchor Color", kDefaultLinkColour)),
      visitedColour_(browserColour(L"Anchor Color Visited", kDefaultVisitedColour))
{
}

bool CHyperLink::subclassWindow(HWND control) noexcept
{
    if (!CWindowImpl<CHyperLink>::subclassWindow(control))
        return false;
    // Without the notify style a static is transparent to the mouse.
    modifyStyle(0, SS_NOTIFY);
    underlineFont();
    createTip();
    invalidate(true);
    return true;
}

void CHyperLink::setHyperLink(const std::wstring& target)
{
    target_ = target;
    updateTipText();
}

bool CHyperLink::navigate() noexcept
{
    if (target_.empty())
        return false;
    const auto result = reinterpret_cast<INT_PTR>(
        ShellExecuteW(nullptr, L"open", target_.c_str(), nullptr, nullptr, SW_SHOWNORMAL));
    if (result <= 32)
        return false;
    visited_ = true;
    invalidate();
    return true;
}

void CHyperLink::doPaint(DCHandle dc)
{
    // The dialog says how its statics look (background brush, text colours).
    auto background = reinterpret_cast<HBRUSH>(
        getParent().sendMessage(WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc.get()), reinterpret_cast<LPARAM>(handle())));
    if (!background)
        background = GetSysColorBrush(COLOR_BTNFACE);
    RECT client = clientRect();
    FillRect(dc, &client, background);

    const SelectedObject font(dc, labelFont());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, visited_ ? visitedColour_ : linkColour_);
    const std::wstring label = windowText();
    DrawTextW(dc, label.c_str(), static_cast<int>(label.size()), &client, kLabelFormat);
}

bool CHyperLink::onSetCursor(WPARAM wParam, LPARAM lParam)
{
    POINT point{};
    GetCursorPos(&point);
    ScreenToClient(handle(), &point);
    if (LOWORD(lParam) != HTCLIENT || !labelContains(point))
        return defWindowProc(WM_SETCURSOR, wParam, lParam) != 0;
    SetCursor(LoadCursorW(nullptr, IDC_HAND));
    return true;
}

void CHyperLink::onMouseMove(WPARAM wParam, LPARAM lParam) noexcept
{
    relayToTip(WM_MOUSEMOVE, wParam, lParam);
}

void CHyperLink::onLeftButtonDown(WPARAM wParam, LPARAM lParam) noexcept
{
    relayToTip(WM_LBUTTONDOWN, wParam, lParam);
}

void CHyperLink::onLeftButtonUp(WPARAM wParam, LPARAM lParam)
{
    relayToTip(WM_LBUTTONUP, wParam, lParam);
    const POINT point{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
    if (labelContains(point))
        static_cast<void>(navigate());
}

void CHyperLink::onSetFont(WPARAM font, LPARAM redraw) noexcept
{
    defWindowProc(WM_SETFONT, font, redraw);
    underlineFont();
    invalidate(true);
}

void CHyperLink::underlineFont() noexcept
{
    LOGFONTW description{};
    const auto font = reinterpret_cast<HFONT>(sendMessage(WM_GETFONT));
    if (GetObjectW(font ? font : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)), sizeof description,
                   &description)) {
        description.lfUnderline = TRUE;
        underlined_.reset(CreateFontIndirectW(&description));
    }
}

void CHyperLink::onDestroy() noexcept
{
    tip_.reset();
    defWindowProc(WM_DESTROY, 0, 0);
}

void CHyperLink::relayToTip(UINT message, WPARAM wParam, LPARAM lParam) const noexcept
{
    if (!tip_)
        return;
    MSG relayed{handle(), message, wParam, lParam, 0, {}};
    SendMessageW(tip_.get(), TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&relayed));
}

// The tool is the whole link window, identified by its handle.
void CHyperLink::createTip() noexcept
{
    tip_.reset(CreateWindowExW(0, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP, CW_USEDEFAULT, CW_USEDEFAULT,
                               CW_USEDEFAULT, CW_USEDEFAULT, handle(), nullptr, moduleInstance(), nullptr));
    if (!tip_)
        return;
    TOOLINFOW tool{};
    tool.cbSize = TTTOOLINFOW_V2_SIZE;
    tool.uFlags = TTF_IDISHWND;
    tool.hwnd = getParent();
    tool.uId = reinterpret_cast<UINT_PTR>(handle());
    tool.lpszText = const_cast<wchar_t*>(target_.c_str());
    SendMessageW(tip_.get(), TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    SendMessageW(tip_.get(), TTM_ACTIVATE, TRUE, 0);
}

void CHyperLink::updateTipText() noexcept
{
    if (!tip_)
        return;
    TOOLINFOW tool{};
    tool.cbSize = TTTOOLINFOW_V2_SIZE;
    tool.hwnd = getParent();
    tool.uId = reinterpret_cast<UINT_PTR>(handle());
    tool.lpszText = const_cast<wchar_t*>(target_.c_str());
    SendMessageW(tip_.get(), TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
}

bool CHyperLink::labelContains(POINT clientPoint) const
{
    const RECT label = labelRect();
    return PtInRect(&label, clientPoint) != FALSE;
}

// The label's own extent, so that the empty rest of a wide control is no link.
RECT CHyperLink::labelRect() const
{
    RECT label = clientRect();
    const ClientDC dc(handle());
    if (!dc)
        return label;
    const SelectedObject font(dc.get(), labelFont());
    const std::wstring text = windowText();
    RECT measured = label;
    DrawTextW(dc.get(), text.c_str(), static_cast<int>(text.size()), &measured, kLabelFormat | DT_CALCRECT);
    label.right = std::min(label.right, measured.right);
    label.bottom = std::min(label.bottom, measured.bottom);
    return label;
}

HFONT CHyperLink::labelFont() const noexcept
{
    if (underlined_)
        return underlined_.get();
    return static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

} // namespace Kestrel
