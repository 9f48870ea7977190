#pragma once

#include <windows.h>

namespace Kestrel {

// WM_DPICHANGED_AFTERPARENT, which the headers give only for Windows 10: a child window's parent
// has handled its move to another DPI.
inline constexpr UINT kDpiChangedAfterParent = 0x02E3;

// The dots per inch a window is shown at: 96 at a display scale of 100 %, 144 at 150 %, 192 at
// 200 %. Every length the program draws or measures in pixels is designed at 96 and brought to
// the window's DPI with scale(), so that the program is as sharp and as roomy at every scale.
class Dpi {
public:
    static constexpr UINT standard = USER_DEFAULT_SCREEN_DPI;

    constexpr Dpi() noexcept = default;
    // A DPI of 0 (a window that is gone, a failed query) counts as the standard one.
    constexpr explicit Dpi(UINT value) noexcept : value_(value != 0 ? value : standard) {}

    [[nodiscard]] constexpr UINT value() const noexcept { return value_; }
    // A length designed at 96 DPI, rounded to whole pixels at this DPI.
    [[nodiscard]] int scale(int pixels) const noexcept { return MulDiv(pixels, static_cast<int>(value_), standard); }
    // A length measured at another DPI, brought to this one.
    [[nodiscard]] int rescale(int pixels, Dpi from) const noexcept
    {
        return MulDiv(pixels, static_cast<int>(value_), static_cast<int>(from.value_));
    }
    friend constexpr bool operator==(Dpi, Dpi) noexcept = default;

    // The DPI of the monitor the window is on (GetDpiForWindow, Windows 10 1607 and later), or
    // where the system has no such call the DPI of the window's device context: on Windows 7 and
    // 8 the one DPI of the whole system.
    [[nodiscard]] static Dpi ofWindow(HWND window) noexcept;
    // The DPI the system's own metrics and fonts are given at (the primary display's at log-on).
    [[nodiscard]] static Dpi ofSystem() noexcept;
    // The new DPI that WM_DPICHANGED carries in its wParam.
    [[nodiscard]] static constexpr Dpi fromMessage(WPARAM wParam) noexcept { return Dpi(LOWORD(wParam)); }

private:
    UINT value_ = standard;
};

// A system metric (GetSystemMetrics' SM_CXSMICON, SM_CXICON, ...) at a DPI.
[[nodiscard]] int systemMetric(int index, Dpi dpi) noexcept;

// The system's message font (what dialogs and lists write with) at a DPI; false when the system
// gives none.
[[nodiscard]] bool messageFont(Dpi dpi, LOGFONTW& font) noexcept;

} // namespace Kestrel
