#pragma once

#include "framework/CDoubleBufferImpl.h"
#include "framework/CWindowImpl.h"
#include "framework/Dpi.h"
#include "framework/UserObject.h"
#include "listctrl/ColumnId.h"

#include <windows.h>

#include <string>

namespace Kestrel {

// A popup over a list cell whose text is cut off, showing the whole text on one line. It holds
// the mouse while it shows: leaving it hides it, and button presses inside it go on to the list
// below, so to the user the list reacts as if the tip were not there.
class CTitleTip : public CWindowImpl<CTitleTip>, public CDoubleBufferImpl<CTitleTip> {
public:
    // The tip paints every pixel itself.
    static constexpr int classBackground = 0;

    static constexpr auto messageMap()
    {
        return messageMapOf<CTitleTip>(
            onMessage<WM_MOUSEACTIVATE, &CTitleTip::onMouseActivate>,
            onMessage<WM_MOUSEMOVE, &CTitleTip::onMouseMove>,
            onMessage<WM_LBUTTONDOWN, &CTitleTip::onButton<WM_LBUTTONDOWN>>,
            onMessage<WM_LBUTTONUP, &CTitleTip::onButton<WM_LBUTTONUP>>,
            onMessage<WM_LBUTTONDBLCLK, &CTitleTip::onButton<WM_LBUTTONDBLCLK>>,
            onMessage<WM_RBUTTONDOWN, &CTitleTip::onButton<WM_RBUTTONDOWN>>,
            onMessage<WM_RBUTTONUP, &CTitleTip::onButton<WM_RBUTTONUP>>,
            onMessage<WM_RBUTTONDBLCLK, &CTitleTip::onButton<WM_RBUTTONDBLCLK>>,
            onMessage<WM_MBUTTONDOWN, &CTitleTip::onButton<WM_MBUTTONDOWN>>,
            onMessage<WM_MBUTTONUP, &CTitleTip::onButton<WM_MBUTTONUP>>,
            onMessage<WM_MBUTTONDBLCLK, &CTitleTip::onButton<WM_MBUTTONDBLCLK>>,
            onMessage<WM_CAPTURECHANGED, &CTitleTip::onCaptureChanged>,
            onMessage<WM_DESTROY, &CTitleTip::onDestroy>,
            chainTo<CDoubleBufferImpl<CTitleTip>>);
    }

    // What the tip shows over one cell. The rectangle is where the list draws the cell's text, in
    // the list's client coordinates. The font stays the list's and must live while the tip shows.
    struct Cell {
        int item = -1;
        ColumnId subItem;
        RECT textRect{};
        int cellHeight = 0;
        std::wstring text;
        HFONT font = nullptr;
        bool themed = false;
        std::wstring toolTip; // the item tooltip shown over the tip; empty for none
        Dpi dpi;              // the list's: the tip's margins follow it
    };

    CTitleTip() noexcept = default;

    // (Re)creates the hidden tip for the given list. False when a window could not be created.
    [[nodiscard]] bool create(HWND list) noexcept;

    // Shows the tip over the cell when its text, on one line, is at least as wide as the text
    // rectangle; otherwise hides it. Answers whether the tip shows.
    bool show(const Cell& cell);
    void hide() noexcept;

    [[nodiscard]] bool isShown() const noexcept { return cell_.item >= 0; }
    // The cell shown: item and sub-item as given to show, -1 and none while hidden.
    [[nodiscard]] int item() const noexcept { return cell_.item; }
    [[nodiscard]] ColumnId subItem() const noexcept { return cell_.subItem; }
    [[nodiscard]] bool shows(int item, ColumnId subItem) const noexcept
    {
        return isShown() && cell_.item == item && cell_.subItem == subItem;
    }

    void doPaint(DCHandle dc);

private:
    int onMouseActivate() noexcept { return MA_NOACTIVATE; }
    void onMouseMove(UINT keys, POINT point);
    template <UINT Message>
    void onButton(WPARAM keys, LPARAM point) noexcept
    {
        passToList(Message, keys, POINT{static_cast<short>(LOWORD(point)), static_cast<short>(HIWORD(point))});
    }
    void onCaptureChanged() noexcept;
    void onDestroy();

    void hideWindow() noexcept;
    [[nodiscard]] int textWidth(const Cell& cell) const noexcept;
    void setToolTip(const std::wstring& text) noexcept;
    // Hands a mouse message at a point of the tip to the list, as the list would have had it.
    void passToList(UINT message, WPARAM keys, POINT point) const noexcept;
    void drawThemed(DCHandle dc, const RECT& client) const noexcept;
    void drawClassic(DCHandle dc, const RECT& client) const noexcept;

    HWND list_ = nullptr;
    OwnedWindow toolTip_;
    Cell cell_;
};

} // namespace Kestrel
