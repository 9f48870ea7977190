#include "listctrl/ListImageStrip.h"

#include <commctrl.h>

namespace Kestrel {

namespace {

constexpr COLORREF kMaskColour = RGB(255, 0, 255);
constexpr int kDesignSize = 16;

} // namespace

ImageStripSize imageStripSize(Dpi dpi) noexcept
{
    ImageStripSize chosen = kImageStripSizes[0];
    for (const ImageStripSize& size : kImageStripSizes) {
        if (size.pixels <= dpi.scale(kDesignSize))
            chosen = size;
    }
    return chosen;
}

ImageList loadImageStrip(HINSTANCE module, Dpi dpi) noexcept
{
    const ImageStripSize size = imageStripSize(dpi);
    return ImageList(ImageList_LoadImageW(module, MAKEINTRESOURCEW(size.resourceId), size.pixels, 0, kMaskColour,
                                          IMAGE_BITMAP, LR_CREATEDIBSECTION));
}

} // namespace Kestrel
