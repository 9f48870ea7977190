#pragma once

#include "framework/UserObject.h"

#include <windows.h>

namespace Kestrel {

// Loads an icon resource of the module at the given size, unshared (LR_SHARED would hand back
// the size first loaded for every later size); an empty owner when it fails.
[[nodiscard]] inline IconHandle loadIcon(HINSTANCE module, int resourceId, int width, int height) noexcept
{
    return IconHandle(static_cast<HICON>(
        LoadImageW(module, MAKEINTRESOURCEW(resourceId), IMAGE_ICON, width, height, LR_DEFAULTCOLOR)));
}

} // namespace Kestrel
