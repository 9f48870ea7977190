#include "framework/DialogDpiLayout.h"

#include "framework/SystemFunction.h"

#include <algorithm>
#include <utility>

namespace Kestrel {

namespace {

// Windows 10 1703 and later; looked up at run time so that the program starts on Windows 7.
using SetDialogDpiChangeBehaviorCall = BOOL(WINAPI*)(HWND, DIALOG_DPI_CHANGE_BEHAVIORS, DIALOG_DPI_CHANGE_BEHAVIORS);

RECT scaled(const RECT& rect, Dpi to, Dpi from) noexcept
{
    return RECT{to.rescale(rect.left, from), to.rescale(rect.top, from), to.rescale(rect.right, from),
                to.rescale(rect.bottom, from)};
}

unsigned anchorsOf(HWND control, std::span<const ControlAnchor> anchors) noexcept
{
    const int id = GetDlgCtrlID(control);
    const auto named = std::find_if(anchors.begin(), anchors.end(), [id](const ControlAnchor& each) { return each.id == id; });
    return named == anchors.end() ? AnchorLeft | AnchorTop : named->anchors;
}

// One edge pair of a control: kept to the far edge it moves by the change, kept to both it
// stretches by it.
void follow(LONG& nearEdge, LONG& farEdge, int change, bool keepsNear, bool keepsFar) noexcept
{
    if (!keepsFar)
        return;
    farEdge += change;
    if (!keepsNear)
        nearEdge += change;
}

} // namespace

void DialogDpiLayout::capture(HWND dialog, std::span<const ControlAnchor> anchors)
{
    static const auto setBehaviour =
        systemFunction<SetDialogDpiChangeBehaviorCall>(L"user32.dll", "SetDialogDpiChangeBehavior");
    if (setBehaviour)
        setBehaviour(dialog, DDC_DISABLE_ALL, DDC_DISABLE_ALL);
    made_ = Dpi::ofWindow(dialog);
    current_ = made_;
    RECT client{};
    GetClientRect(dialog, &client);
    client_ = SIZE{client.right, client.bottom};
    controls_.clear();
    for (HWND control = GetWindow(dialog, GW_CHILD); control; control = GetWindow(control, GW_HWNDNEXT)) {
        RECT rect{};
        GetWindowRect(control, &rect);
        MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rect), 2);
        controls_.push_back(Control{control, rect, anchorsOf(control, anchors)});
    }
    templateFont_ = reinterpret_cast<HFONT>(SendMessageW(dialog, WM_GETFONT, 0, 0));
    if (!templateFont_ || !GetObjectW(templateFont_, sizeof templateDescription_, &templateDescription_))
        templateFont_ = nullptr;
}

void DialogDpiLayout::setMinimumClientSize(HWND dialog, SIZE dialogUnits)
{
    // Dialog units are the template font's, which the dialog keeps at the DPI it was made at.
    RECT minimum{0, 0, dialogUnits.cx, dialogUnits.cy};
    MapDialogRect(dialog, &minimum);
    minimumClient_ = SIZE{minimum.right, minimum.bottom};
}

void DialogDpiLayout::apply(HWND dialog, Dpi dpi, const RECT& suggested)
{
    const bool newDpi = dpi != current_;
    // The size change of the suggested rectangle places the controls already at the new DPI.
    current_ = dpi;
    if (!IsRectEmpty(&suggested))
        SetWindowPos(dialog, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                     suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
    if (!newDpi)
        return;
    Font next;
    HFONT font = templateFont_;
    if (templateFont_ && dpi != made_) {
        LOGFONTW description = templateDescription_;
        description.lfHeight = dpi.rescale(description.lfHeight, made_);
        next.reset(CreateFontIndirectW(&description));
        if (next)
            font = next.get();
    }
    place(dialog);
    if (font) {
        for (const Control& control : controls_) {
            if (IsWindow(control.window))
                SendMessageW(control.window, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
        }
    }
    // The controls hold the new font now: the one they had may go.
    scaledFont_ = std::move(next);
}

void DialogDpiLayout::resize(HWND dialog)
{
    if (!IsIconic(dialog))
        place(dialog);
}

void DialogDpiLayout::limit(HWND dialog, MINMAXINFO& limits) const
{
    if (minimumClient_.cx <= 0 || minimumClient_.cy <= 0 || IsIconic(dialog))
        return;
    RECT window{};
    RECT client{};
    GetWindowRect(dialog, &window);
    GetClientRect(dialog, &client);
    // The frame and caption as they are now, around the minimum client area at this DPI.
    limits.ptMinTrackSize.x = current_.rescale(minimumClient_.cx, made_) + (window.right - window.left) - client.right;
    limits.ptMinTrackSize.y = current_.rescale(minimumClient_.cy, made_) + (window.bottom - window.top) - client.bottom;
}

void DialogDpiLayout::place(HWND dialog) const
{
    RECT client{};
    GetClientRect(dialog, &client);
    const int wider = client.right - current_.rescale(client_.cx, made_);
    const int taller = client.bottom - current_.rescale(client_.cy, made_);
    for (const Control& control : controls_) {
        if (!IsWindow(control.window))
            continue;
        RECT rect = scaled(control.rect, current_, made_);
        follow(rect.left, rect.right, wider, control.anchors & AnchorLeft, control.anchors & AnchorRight);
        follow(rect.top, rect.bottom, taller, control.anchors & AnchorTop, control.anchors & AnchorBottom);
        SetWindowPos(control.window, nullptr, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
        // A static's wrapped text moves with its width: painted again whole, not only the part
        // that grew.
        if ((control.anchors & (AnchorLeft | AnchorRight)) == (AnchorLeft | AnchorRight))
            InvalidateRect(control.window, nullptr, TRUE);
    }
}

} // namespace Kestrel
