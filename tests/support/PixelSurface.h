#pragma once

#include "framework/DeviceContext.h"
#include "framework/GdiObject.h"

#include <windows.h>

namespace KestrelTest {

// A 32-bit top-down bitmap selected into a memory device context, with its pixels at hand: a
// window paints into it through WM_PRINTCLIENT and a test reads back what a user would see.
class PixelSurface {
public:
    PixelSurface(int width, int height);
    ~PixelSurface();
    PixelSurface(const PixelSurface&) = delete;
    PixelSurface& operator=(const PixelSurface&) = delete;

    [[nodiscard]] HDC dc() const { return dc_.get(); }
    [[nodiscard]] bool valid() const { return dc_ && bitmap_ && bits_; }
    // CLR_INVALID outside the surface.
    [[nodiscard]] COLORREF pixel(int x, int y) const;
    [[nodiscard]] int width() const { return width_; }

private:
    Kestrel::MemoryDC dc_;
    Kestrel::Bitmap bitmap_;
    const DWORD* bits_ = nullptr;
    int width_ = 0;
    int height_ = 0;
    HGDIOBJ selected_ = nullptr;
};

} // namespace KestrelTest
