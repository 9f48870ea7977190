#pragma once

#include "framework/DeviceContext.h"

#include <windows.h>

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

} // namespace Kestrel
