#include "framework/WindowIcons.h"

#include "framework/IconHandle.h"

#include <utility>

namespace Kestrel {

void WindowIcons::set(HWND window, HINSTANCE module, int resourceId, Dpi dpi)
{
    IconHandle bigIcon = loadIcon(module, resourceId, systemMetric(SM_CXICON, dpi), systemMetric(SM_CYICON, dpi));
    IconHandle smallIcon = loadIcon(module, resourceId, systemMetric(SM_CXSMICON, dpi), systemMetric(SM_CYSMICON, dpi));
    SendMessageW(window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(bigIcon.get()));
    SendMessageW(window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon.get()));
    // The window shows the new ones now: the old ones may go.
    big_ = std::move(bigIcon);
    small_ = std::move(smallIcon);
}

} // namespace Kestrel
