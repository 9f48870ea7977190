#include "listctrl/ListColours.h"

namespace Kestrel {

ListColours ListColours::fromSystem() noexcept
{
    ListColours colours;
    colours.background = GetSysColor(COLOR_WINDOW);
    colours.headerBackground = GetSysColor(COLOR_BTNFACE);
    colours.headerHighlight = GetSysColor(COLOR_BTNHIGHLIGHT);
    colours.headerShadow = GetSysColor(COLOR_BTNSHADOW);
    colours.headerText = GetSysColor(COLOR_WINDOWTEXT);
    colours.selection = GetSysColor(COLOR_HIGHLIGHT);
    colours.selectionText = GetSysColor(COLOR_HIGHLIGHTTEXT);
    colours.itemText = GetSysColor(COLOR_WINDOWTEXT);
    colours.emptyText = GetSysColor(COLOR_GRAYTEXT);
    return colours;
}

} // namespace Kestrel
