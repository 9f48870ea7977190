#include "listctrl/ListDrawing.h"

#include "framework/GdiObject.h"
#include "framework/SelectedObject.h"

namespace Kestrel {

namespace {

constexpr int kOuterCorner = 5;
constexpr int kInnerCorner = 2;

void drawRoundedRect(DCHandle dc, const RECT& rect, COLORREF line, HBRUSH fill, int corner) noexcept
{
    const Pen pen(CreatePen(PS_SOLID, 1, line));
    if (!pen)
        return;
    const SelectedObject selectedPen(dc, pen.get());
    const SelectedObject selectedBrush(dc, fill);
    RoundRect(dc, rect.left, rect.top, rect.right, rect.bottom, corner, corner);
}

// GRADIENT_FILL_RECT_V takes 16-bit colour channels.
TRIVERTEX vertex(LONG x, LONG y, COLORREF colour) noexcept
{
    return TRIVERTEX{x, y, static_cast<COLOR16>(GetRValue(colour) << 8), static_cast<COLOR16>(GetGValue(colour) << 8),
                     static_cast<COLOR16>(GetBValue(colour) << 8), 0};
}

} // namespace

void drawRoundedDoubleFrame(DCHandle dc, const RECT& rect, COLORREF outer, COLORREF inner,
                            COLORREF background) noexcept
{
    const Brush brush(CreateSolidBrush(background));
    if (!brush)
        return;
    drawRoundedRect(dc, rect, outer, brush.get(), kOuterCorner);
    const RECT inside{rect.left + 1, rect.top + 1, rect.right - 1, rect.bottom - 1};
    drawRoundedRect(dc, inside, inner, brush.get(), kInnerCorner);
}

void drawVerticalGradient(DCHandle dc, const RECT& rect, COLORREF top, COLORREF bottom) noexcept
{
    if (rect.right <= rect.left || rect.bottom <= rect.top)
        return;
    TRIVERTEX vertices[2] = {vertex(rect.left, rect.top, top), vertex(rect.right, rect.bottom, bottom)};
    GRADIENT_RECT span{0, 1};
    GradientFill(dc, vertices, 2, &span, 1, GRADIENT_FILL_RECT_V);
}

} // namespace Kestrel
