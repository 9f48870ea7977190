#pragma once

#include "framework/CDoubleBufferImpl.h"
#include "framework/CWindowImpl.h"
#include "framework/GdiObject.h"
#include "framework/UserObject.h"

#include <string>

namespace Kestrel {

// A static text control turned into a link: its own text is the label, drawn underlined in the
// browser's link colour (the visited colour once the target was opened), with the hand cursor
// and a tooltip that shows the target over it. A click on the label opens the target with the
// shell's "open" verb.
//
//     Kestrel::CHyperLink link;                      // a member of the dialog
//     link.subclassWindow(getDlgItem(IDC_LINK));     // in WM_INITDIALOG
//     link.setHyperLink(L"https://example.org/");
class CHyperLink : public CWindowImpl<CHyperLink>, public CDoubleBufferImpl<CHyperLink> {
public:
    // Browser defaults, used when the user's settings hold no colours.
    static constexpr COLORREF kDefaultLinkColour = RGB(0, 0, 255);
    static constexpr COLORREF kDefaultVisitedColour = RGB(128, 0, 128);

    static constexpr auto messageMap()
    {
        return messageMapOf<CHyperLink>(
            onMessage<WM_SETCURSOR, &CHyperLink::onSetCursor>,
            onMessage<WM_MOUSEMOVE, &CHyperLink::onMouseMove>,
            onMessage<WM_LBUTTONDOWN, &CHyperLink::onLeftButtonDown>,
            onMessage<WM_LBUTTONUP, &CHyperLink::onLeftButtonUp>,
            onMessage<WM_SETFONT, &CHyperLink::onSetFont>,
            onMessage<WM_DESTROY, &CHyperLink::onDestroy>,
            chainTo<CDoubleBufferImpl<CHyperLink>>);
    }

    CHyperLink() noexcept;

    // Takes over a static control of this thread (see CWindowImplBase::subclassWindow) and makes
    // it a link: it gets the notify style, an underlined copy of its font and its tooltip.
    [[nodiscard]] bool subclassWindow(HWND control) noexcept;

    void setHyperLink(const std::wstring& target);
    [[nodiscard]] const std::wstring& hyperLink() const noexcept { return target_; }

    // Opens the target; on success the link counts as visited and is repainted in that colour.
    [[nodiscard]] bool navigate() noexcept;
    [[nodiscard]] bool isVisited() const noexcept { return visited_; }

    [[nodiscard]] COLORREF linkColour() const noexcept { return linkColour_; }
    [[nodiscard]] COLORREF visitedColour() const noexcept { return visitedColour_; }
    // The tooltip window that shows the target.
    [[nodiscard]] HWND tipWindow() const noexcept { return tip_.get(); }

    void doPaint(DCHandle dc);

private:
    bool onSetCursor(WPARAM wParam, LPARAM lParam);
    void onMouseMove(WPARAM wParam, LPARAM lParam) noexcept;
    void onLeftButtonDown(WPARAM wParam, LPARAM lParam) noexcept;
    void onLeftButtonUp(WPARAM wParam, LPARAM lParam);
    // A new font (the dialog's, at another DPI): the label is underlined in it.
    void onSetFont(WPARAM font, LPARAM redraw) noexcept;
    void underlineFont() noexcept;
    void onDestroy() noexcept;

    void relayToTip(UINT message, WPARAM wParam, LPARAM lParam) const noexcept;
    void createTip() noexcept;
    void updateTipText() noexcept;
    [[nodiscard]] bool labelContains(POINT clientPoint) const;
    [[nodiscard]] RECT labelRect() const;
    [[nodiscard]] HFONT labelFont() const noexcept;

    std::wstring target_;
    COLORREF linkColour_;
    COLORREF visitedColour_;
    bool visited_ = false;
    Font underlined_;
    OwnedWindow tip_;
};

} // namespace Kestrel
