#pragma once

#include <windows.h>
#include <commctrl.h>

#include <string>

// A control's tip taken out of its tooltip control for a scope, such as the menu a button opens:
// the tip's own timer, started when the mouse came onto the button just before the click, would
// otherwise show it over the menu's first item while the menu is open (seen under Wine). Putting
// a shown tip away, or switching the tips off, does not stop that timer; a tool that is not there
// cannot show. The tip is put back, with its text, when the scope ends. The tool is the one
// identified by the control's handle (TTF_IDISHWND) for the control's parent.
class TipHeldBack {
public:
    TipHeldBack(HWND tooltip, HWND control);
    ~TipHeldBack();
    TipHeldBack(const TipHeldBack&) = delete;
    TipHeldBack& operator=(const TipHeldBack&) = delete;

private:
    HWND tooltip_;
    TTTOOLINFOW tool_{};
    std::wstring text_;
};
