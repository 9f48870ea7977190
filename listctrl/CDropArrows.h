#pragma once

#include "framework/CWindowImpl.h"
#include "framework/Dpi.h"

namespace Kestrel {

// The red marks that show where a dragged column would be inserted: a popup with one arrowhead
// above the header pointing down and one below it pointing up, bracketing the gap between two
// header items. Its height follows the header's, so the list makes it again when that changes.
class CDropArrows : public CWindowImpl<CDropArrows> {
public:
    // Pixels at 96 DPI: the window's width, and how far the arrows reach above and below the header.
    static constexpr int width = 12;
    static constexpr int overhang = 10;
    static constexpr COLORREF colour = RGB(255, 0, 0);
    // Painted entirely by itself.
    static constexpr int classBackground = 0;

    static constexpr auto messageMap()
    {
        return messageMapOf<CDropArrows>(
            onMessage<WM_NCHITTEST, &CDropArrows::onHitTest>,
            onMessage<WM_ERASEBKGND, &CDropArrows::onEraseBackground>,
            onMessage<WM_PAINT, &CDropArrows::onPaint>,
            onMessage<WM_PRINTCLIENT, &CDropArrows::onPrintClient>);
    }

    CDropArrows() noexcept = default;

    // Makes the (hidden) window for a header of that height at a DPI, owned by the list; an
    // existing one is destroyed first. False when the window or its shape could not be made.
    [[nodiscard]] bool create(HWND owner, int headerHeight, Dpi dpi) noexcept;
    // Shows the arrows centred on a point in screen coordinates: the left edge of the column
    // the gap is before, at the header's vertical middle.
    void showAt(POINT screen) const noexcept;
    void hide() const noexcept;
    [[nodiscard]] bool visible() const noexcept { return handle() && IsWindowVisible(handle()); }

private:
    [[nodiscard]] bool shape() const noexcept;
    LRESULT onHitTest() noexcept { return HTTRANSPARENT; }
    bool onEraseBackground(HDC) noexcept { return true; }
    void onPaint() noexcept;
    void onPrintClient(HDC dc, UINT) noexcept { paint(dc); }
    void paint(HDC dc) const noexcept;

    Dpi dpi_;
    // The window's size at its DPI.
    int width_ = 0;
    int height_ = 0;
};

} // namespace Kestrel
