#include "framework/CWindow.h"

#include <algorithm>

namespace Kestrel {

namespace {

bool changeStyle(HWND window, int which, DWORD remove, DWORD add, UINT positionFlags) noexcept
{
    const auto old = static_cast<DWORD>(GetWindowLongPtrW(window, which));
    const DWORD changed = (old & ~remove) | add;
    if (changed == old)
        return false;
    SetWindowLongPtrW(window, which, static_cast<LONG_PTR>(changed));
    if (positionFlags)
        SetWindowPos(window, nullptr, 0, 0, 0, 0,
                     SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | positionFlags);
    return true;
}

// The rectangle to centre over, in screen coordinates, and the work area to stay inside.
void centringFrame(HWND window, HWND over, RECT& reference, RECT& workArea) noexcept
{
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoW(MonitorFromWindow(over ? over : window, MONITOR_DEFAULTTONEAREST), &monitor);
    workArea = monitor.rcWork;
    // A hidden or minimised reference window has no useful rectangle.
    if (over && IsWindowVisible(over) && !IsIconic(over))
        GetWindowRect(over, &reference);
    else
        reference = workArea;
}

} // namespace

void CWindow::destroyWindow() const noexcept
{
    if (isWindow())
        DestroyWindow(window_);
}

RECT CWindow::clientRect() const noexcept
{
    RECT rect{};
    GetClientRect(window_, &rect);
    return rect;
}

RECT CWindow::windowRect() const noexcept
{
    RECT rect{};
    GetWindowRect(window_, &rect);
    return rect;
}

std::wstring CWindow::windowText() const
{
    const int length = GetWindowTextLengthW(window_);
    std::wstring text(static_cast<size_t>(std::max(length, 0)) + 1, L'\0');
    const int copied = GetWindowTextW(window_, text.data(), static_cast<int>(text.size()));
    text.resize(static_cast<size_t>(std::max(copied, 0)));
    return text;
}

bool CWindow::modifyStyle(DWORD remove, DWORD add, UINT positionFlags) const noexcept
{
    return changeStyle(window_, GWL_STYLE, remove, add, positionFlags);
}

bool CWindow::modifyStyleEx(DWORD remove, DWORD add, UINT positionFlags) const noexcept
{
    return changeStyle(window_, GWL_EXSTYLE, remove, add, positionFlags);
}

bool CWindow::centerWindow(HWND over) const noexcept
{
    if (!over)
        over = GetWindow(window_, GW_OWNER);
    RECT reference{};
    RECT workArea{};
    centringFrame(window_, over, reference, workArea);

    const RECT own = windowRect();
    const LONG width = own.right - own.left;
    const LONG height = own.bottom - own.top;
    LONG left = (reference.left + reference.right - width) / 2;
    LONG top = (reference.top + reference.bottom - height) / 2;
    left = std::max(workArea.left, std::min(left, workArea.right - width));
    top = std::max(workArea.top, std::min(top, workArea.bottom - height));

    // A child window is placed in its parent's client coordinates.
    POINT position{left, top};
    if (GetWindowLongPtrW(window_, GWL_STYLE) & WS_CHILD)
        ScreenToClient(GetParent(window_), &position);
    return SetWindowPos(window_, nullptr, position.x, position.y, 0, 0,
                        SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE) != FALSE;
}

} // namespace Kestrel
