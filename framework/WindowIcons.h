#pragma once

#include "framework/Dpi.h"
#include "framework/UserObject.h"

#include <windows.h>

namespace Kestrel {

// A window's big icon (Alt+Tab, and what an About box shows) and small icon (its title bar), loaded
// from an icon resource at the sizes the window's DPI asks for, so that Windows never stretches one.
// The window shows them until it is gone or they are set again, so the owner outlives the window.
class WindowIcons {
public:
    // Loads both sizes for the DPI and gives them to the window; the icons it had before go.
    void set(HWND window, HINSTANCE module, int resourceId, Dpi dpi);
    [[nodiscard]] HICON bigIcon() const noexcept { return big_.get(); }
    [[nodiscard]] HICON smallIcon() const noexcept { return small_.get(); }

private:
    IconHandle big_;
    IconHandle small_;
};

} // namespace Kestrel
