#pragma once

#include "framework/Dpi.h"
#include "framework/GdiObject.h"

#include <windows.h>

#include <span>
#include <vector>

namespace Kestrel {

// The edges of its dialog a control keeps its distance to when the dialog's size changes: kept
// to both edges of a pair, it stretches; to one, it moves with that edge. A control that names no
// anchor keeps to the left and the top, where its template put it.
enum Anchor : unsigned { AnchorLeft = 1, AnchorTop = 2, AnchorRight = 4, AnchorBottom = 8 };
inline constexpr unsigned kAnchorAll = AnchorLeft | AnchorTop | AnchorRight | AnchorBottom;

struct ControlAnchor {
    int id;
    unsigned anchors;
};

// A dialog's controls as its template placed them at the DPI the dialog was made at, brought to
// another DPI when the dialog moves to a monitor of another scale, and to another size when the
// user resizes or maximises it: each control's place and size follow the DPI in proportion and
// then the dialog's edges that it is anchored to, and the dialog's font is made again for the new
// DPI. Every DPI and size is reached from the layout noted at the start, so moving back and forth
// never lets rounding creep in.
//
// Windows 10 lays out the dialogs of a per-monitor aware program itself; the dialog that notes its
// layout here turns that off, so that one way serves Windows 8.1 and Wine (which do nothing of the
// kind) and Windows 10 alike.
class DialogDpiLayout {
public:
    // Notes the dialog's controls, client size and font as they are now, at the dialog's DPI, with
    // the anchors of the controls named in the table: call it from WM_INITDIALOG, before anything
    // moves them.
    void capture(HWND dialog, std::span<const ControlAnchor> anchors = {});
    // The smallest client area the user may size the dialog to, in the template's dialog units.
    void setMinimumClientSize(HWND dialog, SIZE dialogUnits);
    // On WM_DPICHANGED: the dialog takes the suggested rectangle (screen coordinates), and its
    // controls and their font the new DPI.
    void apply(HWND dialog, Dpi dpi, const RECT& suggested);
    // On WM_SIZE: the controls follow the dialog's new client area.
    void resize(HWND dialog);
    // On WM_GETMINMAXINFO: the smallest window that holds the minimum client area at this DPI.
    void limit(HWND dialog, MINMAXINFO& limits) const;
    [[nodiscard]] Dpi dpi() const noexcept { return current_; }

private:
    struct Control {
        HWND window;
        RECT rect; // in the dialog's client coordinates, at the DPI the dialog was made at
        unsigned anchors;
    };

    // Puts every control where its rectangle and anchors say for the client area and DPI now.
    void place(HWND dialog) const;

    std::vector<Control> controls_;
    SIZE client_{};        // the dialog's client area as it was made
    SIZE minimumClient_{}; // pixels at the DPI the dialog was made at; none when empty
    Dpi made_;
    Dpi current_;
    HFONT templateFont_ = nullptr; // the dialog manager's, alive as long as the dialog
    LOGFONTW templateDescription_{};
    Font scaledFont_;              // the template's font at the current DPI, when that is not made_
};

} // namespace Kestrel
