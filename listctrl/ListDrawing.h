#pragma once

#include "framework/DeviceContext.h"
#include "framework/Dpi.h"

#include <windows.h>
#include <uxtheme.h>

namespace Kestrel {

// The two drawing pieces of the list's tuned look, shared by the list's painting and its title tip.

// A rounded frame of two lines over a rectangle: the outer line with 5 x 5 corners on the
// rectangle's edge, the inner line with 2 x 2 corners one pixel inside it. Both are filled with
// the background colour, so whatever was under the rectangle is covered.
void drawRoundedDoubleFrame(DCHandle dc, const RECT& rect, COLORREF outer, COLORREF inner,
                            COLORREF background) noexcept;

// Fills a rectangle with a gradient from the top colour on its first line to the bottom colour on
// its last one.
void drawVerticalGradient(DCHandle dc, const RECT& rect, COLORREF top, COLORREF bottom) noexcept;

// The list's other primitives.

// A rectangle filled and outlined in one colour, corners rounded by the given ellipse.
void fillRoundedRect(DCHandle dc, const RECT& rect, COLORREF colour, int corner) noexcept;

// A one-pixel frame, light on the top and left, dark on the bottom and right.
void draw3dFrame(DCHandle dc, const RECT& rect, COLORREF light, COLORREF dark) noexcept;

// A vertical line of one pixel from top to bottom (exclusive).
void drawVerticalLine(DCHandle dc, int x, int top, int bottom, COLORREF colour) noexcept;

// The percentage a progress cell shows: its text as a number, at most 100, 0 when not above 0.
[[nodiscard]] double progressValue(const wchar_t* text) noexcept;

// Pixels of a bar of the given width that a value (0 .. 100) fills, truncated.
[[nodiscard]] inline int progressFill(int width, double value) noexcept
{
    return static_cast<int>(width * value / 100.0);
}

// A progress bar over a cell: the theme's bar and chunk when a theme is given, else a rounded
// frame (outer and inner colours) around a gradient (top and bottom colours). Its distances from
// the cell's edges follow the DPI.
struct ProgressLook {
    Dpi dpi;
    HTHEME theme = nullptr;
    COLORREF outer = 0;
    COLORREF inner = 0;
    COLORREF background = 0;
    COLORREF top = 0;
    COLORREF bottom = 0;
};
void drawProgressBar(DCHandle dc, const RECT& cell, double value, const ProgressLook& look) noexcept;

} // namespace Kestrel
