#pragma once

#include "framework/Dpi.h"
#include "framework/GdiObject.h"

#include <windows.h>

#include <vector>

namespace Kestrel {

// A dialog's controls as its template placed them at the DPI the dialog was made at, brought to
// another DPI when the dialog moves to a monitor of another scale: the dialog takes the rectangle
// the system suggests, each control's place and size follow in proportion, and the dialog's font
// is made again for the new DPI. Every DPI is reached from the layout noted at the start, so moving
// back and forth never lets rounding creep in.
//
// Windows 10 lays out the dialogs of a per-monitor aware program itself; the dialog that notes its
// layout here turns that off, so that one way serves Windows 8.1 and Wine (which do nothing of the
// kind) and Windows 10 alike.
class DialogDpiLayout {
public:
    // Notes the dialog's controls and font as they are now, at the dialog's DPI: call it from
    // WM_INITDIALOG, before anything moves them.
    void capture(HWND dialog);
    // On WM_DPICHANGED: the dialog takes the suggested rectangle (screen coordinates), and its
    // controls and their font the new DPI.
    void apply(HWND dialog, Dpi dpi, const RECT& suggested);
    [[nodiscard]] Dpi dpi() const noexcept { return current_; }

private:
    struct Control {
        HWND window;
        RECT rect; // in the dialog's client coordinates, at the DPI the dialog was made at
    };

    std::vector<Control> controls_;
    Dpi made_;
    Dpi current_;
    HFONT templateFont_ = nullptr; // the dialog manager's, alive as long as the dialog
    LOGFONTW templateDescription_{};
    Font scaledFont_;              // the template's font at the current DPI, when that is not made_
};

} // namespace Kestrel
