#pragma once

#include <windows.h>

#include <string>

namespace Kestrel {

// A borrowed window handle with the operations our windows use. It never destroys the window
// when it goes; CWindowImpl and CDialogImpl are the owners.
class CWindow {
public:
    CWindow(HWND window = nullptr) noexcept : window_(window) {}

    [[nodiscard]] HWND handle() const noexcept { return window_; }
    operator HWND() const noexcept { return window_; }

    // Takes another handle; the previous one is simply forgotten.
    void attach(HWND window) noexcept { window_ = window; }
    HWND detach() noexcept
    {
        const HWND window = window_;
        window_ = nullptr;
        return window;
    }

    [[nodiscard]] bool isWindow() const noexcept { return window_ && IsWindow(window_); }

    LRESULT sendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const noexcept
    {
        return SendMessageW(window_, message, wParam, lParam);
    }
    [[nodiscard]] bool postMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const noexcept
    {
        return PostMessageW(window_, message, wParam, lParam) != FALSE;
    }

    [[nodiscard]] CWindow getDlgItem(int id) const noexcept { return GetDlgItem(window_, id); }
    [[nodiscard]] int getDlgCtrlId() const noexcept { return GetDlgCtrlID(window_); }
    [[nodiscard]] CWindow getParent() const noexcept { return GetParent(window_); }

    // Destroys the window; nothing to do when it is gone already.
    void destroyWindow() const noexcept;
    // Answers whether the window was visible before.
    bool showWindow(int command) const noexcept { return ShowWindow(window_, command) != FALSE; }

    [[nodiscard]] RECT clientRect() const noexcept;
    [[nodiscard]] RECT windowRect() const noexcept;
    void invalidate(bool erase = false) const noexcept { InvalidateRect(window_, nullptr, erase); }
    void invalidateRect(const RECT& rect, bool erase = false) const noexcept
    {
        InvalidateRect(window_, &rect, erase);
    }
    void updateWindow() const noexcept { UpdateWindow(window_); }

    [[nodiscard]] std::wstring windowText() const;
    [[nodiscard]] bool setWindowText(const wchar_t* text) const noexcept
    {
        return SetWindowTextW(window_, text) != FALSE;
    }

    [[nodiscard]] DWORD style() const noexcept
    {
        return static_cast<DWORD>(GetWindowLongPtrW(window_, GWL_STYLE));
    }
    [[nodiscard]] DWORD exStyle() const noexcept
    {
        return static_cast<DWORD>(GetWindowLongPtrW(window_, GWL_EXSTYLE));
    }
    // Removes, then adds style bits; with frame flags (SWP_FRAMECHANGED) the frame is recomputed
    // without moving, sizing or activating the window. False when nothing changed.
    bool modifyStyle(DWORD remove, DWORD add, UINT positionFlags = 0) const noexcept;
    bool modifyStyleEx(DWORD remove, DWORD add, UINT positionFlags = 0) const noexcept;

    // Centres the window over the given window, else over its owner, else on the work area of its
    // monitor, and keeps it inside that work area.
    [[nodiscard]] bool centerWindow(HWND over = nullptr) const noexcept;

    // Answers the previous icon of that size.
    HICON setIcon(HICON icon, bool big) const noexcept
    {
        const LRESULT previous = sendMessage(WM_SETICON, big ? ICON_BIG : ICON_SMALL, reinterpret_cast<LPARAM>(icon));
        return reinterpret_cast<HICON>(previous);
    }

    // Timers without a procedure: they arrive as WM_TIMER.
    [[nodiscard]] bool setTimer(UINT_PTR id, UINT milliseconds) const noexcept
    {
        return SetTimer(window_, id, milliseconds, nullptr) != 0;
    }
    void killTimer(UINT_PTR id) const noexcept { KillTimer(window_, id); }

private:
    HWND window_;
};

} // namespace Kestrel
