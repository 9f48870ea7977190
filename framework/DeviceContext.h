#pragma once

#include "foundation/KeepLastError.h"

#include <windows.h>

namespace Kestrel {

// A borrowed device context. Drawing code takes this; the owners below hand it out.
class DCHandle {
public:
    DCHandle(HDC dc = nullptr) noexcept : dc_(dc) {}

    [[nodiscard]] HDC get() const noexcept { return dc_; }
    operator HDC() const noexcept { return dc_; }

    // Fills without a brush: an opaque text-out of nothing. The background colour is kept.
    void fillSolidRect(const RECT& rect, COLORREF colour) const noexcept
    {
        const COLORREF previous = SetBkColor(dc_, colour);
        ExtTextOutW(dc_, 0, 0, ETO_OPAQUE, &rect, nullptr, 0, nullptr);
        SetBkColor(dc_, previous);
    }

    // The part of the surface that drawing can change, in logical coordinates; empty when the
    // box cannot be obtained.
    [[nodiscard]] RECT clipBox() const noexcept
    {
        RECT box{};
        if (GetClipBox(dc_, &box) == ERROR)
            box = RECT{};
        return box;
    }

private:
    HDC dc_;
};

// The device context of one WM_PAINT: BeginPaint on construction, EndPaint on destruction.
class PaintDC {
public:
    explicit PaintDC(HWND window) noexcept : window_(window), dc_(BeginPaint(window, &paint_)) {}
    ~PaintDC()
    {
        if (dc_) {
            const KeepLastError keep;
            EndPaint(window_, &paint_);
        }
    }
    PaintDC(const PaintDC&) = delete;
    PaintDC& operator=(const PaintDC&) = delete;

    [[nodiscard]] HDC get() const noexcept { return dc_; }
    operator DCHandle() const noexcept { return dc_; }
    explicit operator bool() const noexcept { return dc_ != nullptr; }
    // The rectangle that needs painting, in client coordinates.
    [[nodiscard]] const RECT& paintRect() const noexcept { return paint_.rcPaint; }

private:
    HWND window_;
    PAINTSTRUCT paint_{};
    HDC dc_;
};

// The client-area device context of a window (GetDC), released on destruction.
class ClientDC {
public:
    explicit ClientDC(HWND window) noexcept : window_(window), dc_(GetDC(window)) {}
    ~ClientDC()
    {
        if (dc_) {
            const KeepLastError keep;
            ReleaseDC(window_, dc_);
        }
    }
    ClientDC(const ClientDC&) = delete;
    ClientDC& operator=(const ClientDC&) = delete;

    [[nodiscard]] HDC get() const noexcept { return dc_; }
    operator DCHandle() const noexcept { return dc_; }
    explicit operator bool() const noexcept { return dc_ != nullptr; }

private:
    HWND window_;
    HDC dc_;
};

// A memory device context compatible with another one (CreateCompatibleDC), deleted on
// destruction. Whatever was selected into it must be put back before (SelectedObject does).
class MemoryDC {
public:
    explicit MemoryDC(HDC compatibleWith) noexcept : dc_(CreateCompatibleDC(compatibleWith)) {}
    ~MemoryDC()
    {
        if (dc_) {
            const KeepLastError keep;
            DeleteDC(dc_);
        }
    }
    MemoryDC(const MemoryDC&) = delete;
    MemoryDC& operator=(const MemoryDC&) = delete;

    [[nodiscard]] HDC get() const noexcept { return dc_; }
    operator DCHandle() const noexcept { return dc_; }
    explicit operator bool() const noexcept { return dc_ != nullptr; }

private:
    HDC dc_;
};

// Saves a device context's state (objects, colours, modes, clipping, origins) for one scope.
class SavedDCState {
public:
    explicit SavedDCState(HDC dc) noexcept : dc_(dc), saved_(SaveDC(dc)) {}
    ~SavedDCState()
    {
        if (saved_) {
            const KeepLastError keep;
            RestoreDC(dc_, saved_);
        }
    }
    SavedDCState(const SavedDCState&) = delete;
    SavedDCState& operator=(const SavedDCState&) = delete;

private:
    HDC dc_;
    int saved_;
};

} // namespace Kestrel
