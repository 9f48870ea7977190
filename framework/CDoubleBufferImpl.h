#pragma once

#include "framework/DeviceContext.h"
#include "framework/GdiObject.h"
#include "framework/MessageMap.h"
#include "framework/SelectedObject.h"

namespace Kestrel {

// Flicker-free painting for a window T that chains its map to this one and paints in
//     void doPaint(DCHandle dc)
// (public, or this class a friend). doPaint draws in client coordinates into an off-screen
// bitmap that covers only the rectangle to paint, clipped to it, so dc.clipBox() tells what needs
// drawing; the bitmap reaches the window in one bit-block copy. WM_PRINTCLIENT renders the whole
// client area the same way into the given device context.
template <typename T>
class CDoubleBufferImpl {
public:
    static constexpr auto messageMap()
    {
        return messageMapOf<CDoubleBufferImpl>(
            onMessage<WM_ERASEBKGND, &CDoubleBufferImpl::onEraseBackground>,
            onMessage<WM_PAINT, &CDoubleBufferImpl::onPaint>,
            onMessage<WM_PRINTCLIENT, &CDoubleBufferImpl::onPrintClient>);
    }

private:
    // Everything is painted by doPaint: an erase first would only flicker.
    bool onEraseBackground(HDC) noexcept { return true; }

    void onPaint()
    {
        const PaintDC dc(self().handle());
        paintBuffered(dc, dc.paintRect());
    }

    void onPrintClient(HDC dc, UINT)
    {
        paintBuffered(dc, self().clientRect());
    }

    void paintBuffered(DCHandle target, const RECT& area)
    {
        const int width = area.right - area.left;
        const int height = area.bottom - area.top;
        if (!target || width <= 0 || height <= 0)
            return;
        const MemoryDC memory(target);
        const Bitmap bitmap(memory ? CreateCompatibleBitmap(target, width, height) : nullptr);
        if (!bitmap) {
            // Without memory for the bitmap, flicker is better than no picture.
            const SavedDCState state(target);
            IntersectClipRect(target, area.left, area.top, area.right, area.bottom);
            self().doPaint(target);
            return;
        }
        {
            const SelectedObject selected(memory.get(), bitmap.get());
            SetViewportOrgEx(memory.get(), -area.left, -area.top, nullptr);
            IntersectClipRect(memory.get(), area.left, area.top, area.right, area.bottom);
            self().doPaint(memory);
            BitBlt(target, area.left, area.top, width, height, memory.get(), area.left, area.top, SRCCOPY);
        }
    }

    T& self() noexcept { return static_cast<T&>(*this); }
};

} // namespace Kestrel
