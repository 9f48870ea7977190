#pragma once

#include <windows.h>

namespace Kestrel {

// Every colour the list paints with. The system's colours are read when the settings load; the
// others are fixed and tuned to sit well with them.
struct ListColours {
    COLORREF background = 0;
    COLORREF headerBackground = 0;
    COLORREF headerHighlight = 0;
    COLORREF headerShadow = 0;
    COLORREF headerText = 0;
    COLORREF headerPressed = RGB(130, 140, 180);
    COLORREF selection = 0;
    COLORREF selectionText = 0;
    COLORREF itemText = 0;
    COLORREF emptyText = 0; // the line an empty list shows
    COLORREF selectionOuterFocused = RGB(170, 200, 245);
    COLORREF selectionInnerFocused = RGB(230, 250, 250);
    COLORREF selectionTopFocused = RGB(210, 240, 250);
    COLORREF selectionBottomFocused = RGB(185, 215, 250);
    COLORREF selectionTopUnfocused = RGB(250, 250, 250);
    COLORREF selectionBottomUnfocused = RGB(235, 235, 235);
    COLORREF selectionOuterUnfocused = RGB(220, 220, 220);
    COLORREF selectionInnerUnfocused = RGB(245, 245, 245);
    COLORREF focusTop = RGB(235, 245, 245);
    COLORREF focusBottom = RGB(225, 235, 245);
    COLORREF progressTop = RGB(170, 240, 170);
    COLORREF progressBottom = RGB(45, 210, 50);
    COLORREF focus = RGB(180, 190, 210);
    COLORREF link = RGB(0, 0, 200);

    // The fixed colours with the system's current ones.
    [[nodiscard]] static ListColours fromSystem() noexcept;
};

} // namespace Kestrel
