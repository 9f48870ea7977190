#pragma once

#include "framework/Dpi.h"
#include "framework/UserObject.h"

#include <windows.h>

namespace Kestrel {

// The list's artwork: fourteen square images side by side (sort arrows, check boxes, a file, a
// folder, a drive and a recycle bin), magenta where the background shows. The generator draws the strip at each size below,
// so that no display scale gets a stretched one.
struct ImageStripSize {
    int pixels;      // width and height of each image
    UINT resourceId; // the bitmap resource that holds the strip at that size
};
inline constexpr ImageStripSize kImageStripSizes[] = {{16, 1010}, {24, 1011}, {32, 1012}};

// The strip size for a DPI: the largest whose images are not larger than 16 pixels at that DPI,
// so that a row never grows for its images alone.
[[nodiscard]] ImageStripSize imageStripSize(Dpi dpi) noexcept;

// Loads the strip for a DPI from the module; empty when the module holds none.
[[nodiscard]] ImageList loadImageStrip(HINSTANCE module, Dpi dpi) noexcept;

} // namespace Kestrel
