#include "framework/DialogDpiLayout.h"

#include "framework/SystemFunction.h"

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

} // namespace

void DialogDpiLayout::capture(HWND dialog)
{
    static const auto setBehaviour =
        systemFunction<SetDialogDpiChangeBehaviorCall>(L"user32.dll", "SetDialogDpiChangeBehavior");
    if (setBehaviour)
        setBehaviour(dialog, DDC_DISABLE_ALL, DDC_DISABLE_ALL);
    made_ = Dpi::ofWindow(dialog);
    current_ = made_;
    controls_.clear();
    for (HWND control = GetWindow(dialog, GW_CHILD); control; control = GetWindow(control, GW_HWNDNEXT)) {
        RECT rect{};
        GetWindowRect(control, &rect);
        MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rect), 2);
        controls_.push_back(Control{control, rect});
    }
    templateFont_ = reinterpret_cast<HFONT>(SendMessageW(dialog, WM_GETFONT, 0, 0));
    if (!templateFont_ || !GetObjectW(templateFont_, sizeof templateDescription_, &templateDescription_))
        templateFont_ = nullptr;
}

void DialogDpiLayout::apply(HWND dialog, Dpi dpi, const RECT& suggested)
{
    if (!IsRectEmpty(&suggested))
        SetWindowPos(dialog, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                     suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
    if (dpi == current_)
        return;
    current_ = dpi;
    Font next;
    HFONT font = templateFont_;
    if (templateFont_ && dpi != made_) {
        LOGFONTW description = templateDescription_;
        description.lfHeight = dpi.rescale(description.lfHeight, made_);
        next.reset(CreateFontIndirectW(&description));
        if (next)
            font = next.get();
    }
    for (const Control& control : controls_) {
        if (!IsWindow(control.window))
            continue;
        const RECT rect = scaled(control.rect, dpi, made_);
        SetWindowPos(control.window, nullptr, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
        if (font)
            SendMessageW(control.window, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    }
    // The controls hold the new font now: the one they had may go.
    scaledFont_ = std::move(next);
}

} // namespace Kestrel
