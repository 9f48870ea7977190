#include "listctrl/CDropArrows.h"

#include "framework/DeviceContext.h"
#include "framework/GdiObject.h"

#include <array>

namespace Kestrel {

namespace {

// One arrowhead with its stub of a shaft, pointing down from the window's top edge (at 96 DPI);
// mirrored, it points up from the bottom edge.
constexpr std::array<POINT, 7> kArrow{{{4, 0}, {8, 0}, {8, 4}, {12, 4}, {6, 10}, {0, 4}, {4, 4}}};

Region arrowRegion(int height, Dpi dpi, bool pointingUp) noexcept
{
    std::array<POINT, kArrow.size()> points = kArrow;
    for (POINT& point : points) {
        point = POINT{dpi.scale(point.x), dpi.scale(point.y)};
        if (pointingUp)
            point.y = height - point.y;
    }
    return Region(CreatePolygonRgn(points.data(), static_cast<int>(points.size()), WINDING));
}

} // namespace

bool CDropArrows::create(HWND owner, int headerHeight, Dpi dpi) noexcept
{
    if (handle())
        destroyWindow();
    dpi_ = dpi;
    width_ = dpi.scale(width);
    height_ = headerHeight + 2 * dpi.scale(overhang);
    const RECT rect{0, 0, width_, height_};
    try {
        if (!CWindowImpl::create(owner, rect, L"", WS_POPUP, WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_NOACTIVATE))
            return false;
    } catch (...) {
        return false;
    }
    if (!shape()) {
        destroyWindow();
        return false;
    }
    return true;
}

bool CDropArrows::shape() const noexcept
{
    const Region top = arrowRegion(height_, dpi_, false);
    Region both = arrowRegion(height_, dpi_, true);
    if (!top || !both || CombineRgn(both.get(), both.get(), top.get(), RGN_OR) == ERROR)
        return false;
    // The window owns the region once it has taken it.
    if (!SetWindowRgn(handle(), both.get(), FALSE))
        return false;
    static_cast<void>(both.release());
    return true;
}

void CDropArrows::showAt(POINT screen) const noexcept
{
    if (!handle())
        return;
    SetWindowPos(handle(), HWND_TOPMOST, screen.x - width_ / 2, screen.y - height_ / 2, 0, 0,
                 SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
}

void CDropArrows::hide() const noexcept
{
    if (visible())
        ShowWindow(handle(), SW_HIDE);
}

void CDropArrows::onPaint() noexcept
{
    const PaintDC dc(handle());
    if (dc)
        paint(dc.get());
}

void CDropArrows::paint(HDC dc) const noexcept
{
    DCHandle(dc).fillSolidRect(clientRect(), colour);
}

} // namespace Kestrel
