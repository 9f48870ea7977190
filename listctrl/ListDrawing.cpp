#include "listctrl/ListDrawing.h"

#include "framework/GdiObject.h"
#include "framework/SelectedObject.h"

#include <cwchar>

namespace Kestrel {

namespace {

constexpr int kOuterCorner = 5;
// Theme parts of the "PROGRESS" class.
constexpr int kProgressBar = 1;
constexpr int kProgressChunk = 3;
constexpr int kInnerCorner = 2;
// Pixels at 96 DPI: the bar lies this far inside its cell, and the themed chunk this far inside
// the bar (less on the right, where the bar's frame is thinner).
constexpr int kBarInsetX = 3;
constexpr int kBarInsetY = 2;
constexpr int kChunkInset = 3;
constexpr int kChunkInsetRight = 2;

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

void fillRoundedRect(DCHandle dc, const RECT& rect, COLORREF colour, int corner) noexcept
{
    const Brush brush(CreateSolidBrush(colour));
    if (brush)
        drawRoundedRect(dc, rect, colour, brush.get(), corner);
}

void draw3dFrame(DCHandle dc, const RECT& rect, COLORREF light, COLORREF dark) noexcept
{
    dc.fillSolidRect(RECT{rect.left, rect.top, rect.right - 1, rect.top + 1}, light);
    dc.fillSolidRect(RECT{rect.left, rect.top, rect.left + 1, rect.bottom - 1}, light);
    dc.fillSolidRect(RECT{rect.left, rect.bottom - 1, rect.right, rect.bottom}, dark);
    dc.fillSolidRect(RECT{rect.right - 1, rect.top, rect.right, rect.bottom}, dark);
}

void drawVerticalLine(DCHandle dc, int x, int top, int bottom, COLORREF colour) noexcept
{
    if (bottom > top)
        dc.fillSolidRect(RECT{x, top, x + 1, bottom}, colour);
}

double progressValue(const wchar_t* text) noexcept
{
    const double value = std::wcstod(text, nullptr);
    if (!(value > 0.0)) // NaN too
        return 0.0;
    return value < 100.0 ? value : 100.0;
}

void drawProgressBar(DCHandle dc, const RECT& cell, double value, const ProgressLook& look) noexcept
{
    const Dpi dpi = look.dpi;
    RECT bar = cell;
    InflateRect(&bar, -dpi.scale(kBarInsetX), -dpi.scale(kBarInsetY));
    if (look.theme) {
        DrawThemeBackground(look.theme, dc, kProgressBar, 0, &bar, nullptr);
        const int inset = dpi.scale(kChunkInset);
        RECT chunk{bar.left + inset, bar.top + inset, bar.right - dpi.scale(kChunkInsetRight), bar.bottom - inset};
        chunk.right = chunk.left + progressFill(chunk.right - chunk.left, value);
        if (chunk.right > chunk.left && chunk.bottom > chunk.top)
            DrawThemeBackground(look.theme, dc, kProgressChunk, 0, &chunk, nullptr);
        return;
    }
    drawRoundedDoubleFrame(dc, bar, look.outer, look.inner, look.background);
    InflateRect(&bar, -3, -3);
    bar.right = bar.left + progressFill(bar.right - bar.left, value);
    drawVerticalGradient(dc, bar, look.top, look.bottom);
}

} // namespace Kestrel
