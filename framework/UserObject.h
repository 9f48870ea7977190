#pragma once

#include "foundation/UniqueObject.h"

#include <windows.h>
#include <commctrl.h>
#include <uxtheme.h>

namespace Kestrel {

// Sole owner of one user-interface or GDI object: an image list, a theme handle, a cursor or
// icon loaded from a resource, a window of our own making, a bitmap, brush, pen, font or region,
// or a global memory block. Release is the function that frees it; null means none.
template <typename Handle, auto Release>
using UserObject = UniqueObject<FreedWith<Handle, Release>>;

namespace UserObjectDetail {
inline void destroyImageList(HIMAGELIST list) noexcept { ImageList_Destroy(list); }
inline void closeTheme(HTHEME theme) noexcept { CloseThemeData(theme); }
inline void destroyCursor(HCURSOR cursor) noexcept { DestroyCursor(cursor); }
inline void destroyIcon(HICON icon) noexcept { DestroyIcon(icon); }
inline void destroyMenu(HMENU menu) noexcept { DestroyMenu(menu); }
inline void destroyWindow(HWND window) noexcept
{
    if (IsWindow(window))
        DestroyWindow(window);
}
} // namespace UserObjectDetail

using ImageList = UserObject<HIMAGELIST, &UserObjectDetail::destroyImageList>;
using ThemeHandle = UserObject<HTHEME, &UserObjectDetail::closeTheme>;
// Only for cursors loaded without LR_SHARED: shared ones belong to the system.
using CursorHandle = UserObject<HCURSOR, &UserObjectDetail::destroyCursor>;
// Likewise only for icons loaded without LR_SHARED.
using IconHandle = UserObject<HICON, &UserObjectDetail::destroyIcon>;
// A menu of our own making that no window holds (a popup menu, for one showing).
using MenuHandle = UserObject<HMENU, &UserObjectDetail::destroyMenu>;
// A plain window (tooltip, popup) that a window of ours creates and owns.
using OwnedWindow = UserObject<HWND, &UserObjectDetail::destroyWindow>;

} // namespace Kestrel
