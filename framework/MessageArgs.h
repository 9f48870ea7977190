#pragma once

#include "framework/Dpi.h"

#include <windows.h>
#include <shellapi.h>

#include <tuple>

namespace Kestrel {

// How the parameters of a message reach a typed handler. A message with a specialisation here
// reaches a handler whose parameters are exactly the types that unpack answers; any message also
// reaches a handler taking (WPARAM, LPARAM), or one taking nothing. Every specialisation lives in
// this file: one declared after a message map had used the message would not be seen there, and
// the map would quietly pass the raw parameters.
template <UINT Id>
struct MessageArgs;

namespace MessageArgsDetail {
inline POINT pointOf(LPARAM lParam) noexcept
{
    // Coordinates are signed: on a second monitor left of the first they are negative.
    return POINT{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
}

// Mouse messages in client coordinates: the key and button state, and the pointer.
struct MouseArgs {
    static std::tuple<UINT, POINT> unpack(WPARAM wParam, LPARAM lParam) noexcept
    {
        return {static_cast<UINT>(wParam), pointOf(lParam)};
    }
};

// Scroll bar messages: the request, the thumb position (only for the thumb requests), the bar
// control (null for the window's own bars).
struct ScrollArgs {
    static std::tuple<UINT, int, HWND> unpack(WPARAM wParam, LPARAM lParam) noexcept
    {
        return {LOWORD(wParam), static_cast<short>(HIWORD(wParam)), reinterpret_cast<HWND>(lParam)};
    }
};

// Focus messages: the window that lost or gets the focus.
struct FocusArgs {
    static std::tuple<HWND> unpack(WPARAM wParam, LPARAM) noexcept { return {reinterpret_cast<HWND>(wParam)}; }
};
} // namespace MessageArgsDetail

// bool onInitDialog(HWND defaultFocus, LPARAM initParam): true gives the default focus.
template <>
struct MessageArgs<WM_INITDIALOG> {
    static std::tuple<HWND, LPARAM> unpack(WPARAM wParam, LPARAM lParam) noexcept
    {
        return {reinterpret_cast<HWND>(wParam), lParam};
    }
};

// void onTimer(UINT_PTR id)
template <>
struct MessageArgs<WM_TIMER> {
    static std::tuple<UINT_PTR> unpack(WPARAM wParam, LPARAM) noexcept { return {wParam}; }
};

// bool onEraseBackground(HDC dc): true when the background counts as erased.
template <>
struct MessageArgs<WM_ERASEBKGND> {
    static std::tuple<HDC> unpack(WPARAM wParam, LPARAM) noexcept { return {reinterpret_cast<HDC>(wParam)}; }
};

// void onPrintClient(HDC dc, UINT flags)
template <>
struct MessageArgs<WM_PRINTCLIENT> {
    static std::tuple<HDC, UINT> unpack(WPARAM wParam, LPARAM lParam) noexcept
    {
        return {reinterpret_cast<HDC>(wParam), static_cast<UINT>(lParam)};
    }
};

// void onDropFiles(HDROP drop)
template <>
struct MessageArgs<WM_DROPFILES> {
    static std::tuple<HDROP> unpack(WPARAM wParam, LPARAM) noexcept { return {reinterpret_cast<HDROP>(wParam)}; }
};

// bool onCopyData(HWND sender, const COPYDATASTRUCT* data): true when the data was taken. The data
// is valid only while the handler runs.
template <>
struct MessageArgs<WM_COPYDATA> {
    static std::tuple<HWND, const COPYDATASTRUCT*> unpack(WPARAM wParam, LPARAM lParam) noexcept
    {
        return {reinterpret_cast<HWND>(wParam), reinterpret_cast<const COPYDATASTRUCT*>(lParam)};
    }
};

// void onSize(UINT kind, SIZE client)
template <>
struct MessageArgs<WM_SIZE> {
    static std::tuple<UINT, SIZE> unpack(WPARAM wParam, LPARAM lParam) noexcept
    {
        return {static_cast<UINT>(wParam), SIZE{LOWORD(lParam), HIWORD(lParam)}};
    }
};

// void onGetMinMaxInfo(MINMAXINFO* limits): the limits, changed in place.
template <>
struct MessageArgs<WM_GETMINMAXINFO> {
    static std::tuple<MINMAXINFO*> unpack(WPARAM, LPARAM lParam) noexcept
    {
        return {reinterpret_cast<MINMAXINFO*>(lParam)};
    }
};

// void onContextMenu(HWND window, POINT screenPoint): the window the menu was asked in, and where
// (-1, -1 when asked with the keyboard: Shift+F10 or the menu key).
template <>
struct MessageArgs<WM_CONTEXTMENU> {
    static std::tuple<HWND, POINT> unpack(WPARAM wParam, LPARAM lParam) noexcept
    {
        return {reinterpret_cast<HWND>(wParam), MessageArgsDetail::pointOf(lParam)};
    }
};

// void onMouseWheel(UINT keys, short delta, POINT screenPoint)
template <>
struct MessageArgs<WM_MOUSEWHEEL> {
    static std::tuple<UINT, short, POINT> unpack(WPARAM wParam, LPARAM lParam) noexcept
    {
        return {LOWORD(wParam), static_cast<short>(HIWORD(wParam)), MessageArgsDetail::pointOf(lParam)};
    }
};

// void onDpiChanged(Dpi dpi, const RECT& suggested): the new DPI and the window rectangle the
// system suggests for it, in screen coordinates (empty when the sender gave none).
template <>
struct MessageArgs<WM_DPICHANGED> {
    static std::tuple<Dpi, RECT> unpack(WPARAM wParam, LPARAM lParam) noexcept
    {
        return {Dpi::fromMessage(wParam), lParam ? *reinterpret_cast<const RECT*>(lParam) : RECT{}};
    }
};

// void onMouseMove(UINT keys, POINT clientPoint), and likewise for the buttons.
template <> struct MessageArgs<WM_MOUSEMOVE> : MessageArgsDetail::MouseArgs {};
template <> struct MessageArgs<WM_LBUTTONDOWN> : MessageArgsDetail::MouseArgs {};
template <> struct MessageArgs<WM_LBUTTONUP> : MessageArgsDetail::MouseArgs {};
template <> struct MessageArgs<WM_LBUTTONDBLCLK> : MessageArgsDetail::MouseArgs {};
template <> struct MessageArgs<WM_RBUTTONDOWN> : MessageArgsDetail::MouseArgs {};
template <> struct MessageArgs<WM_RBUTTONUP> : MessageArgsDetail::MouseArgs {};
template <> struct MessageArgs<WM_MBUTTONDOWN> : MessageArgsDetail::MouseArgs {};
template <> struct MessageArgs<WM_MBUTTONUP> : MessageArgsDetail::MouseArgs {};

// void onVScroll(UINT request, int thumbPosition, HWND bar), and likewise WM_HSCROLL.
template <> struct MessageArgs<WM_HSCROLL> : MessageArgsDetail::ScrollArgs {};
template <> struct MessageArgs<WM_VSCROLL> : MessageArgsDetail::ScrollArgs {};

// void onSetFocus(HWND previous), void onKillFocus(HWND next)
template <> struct MessageArgs<WM_SETFOCUS> : MessageArgsDetail::FocusArgs {};
template <> struct MessageArgs<WM_KILLFOCUS> : MessageArgsDetail::FocusArgs {};

} // namespace Kestrel
