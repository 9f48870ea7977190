#include "app/TipHeldBack.h"

namespace {

// What TTM_GETTOOLINFOW copies the text into, without a bound: far more than a tip given its
// text through a buffer ever holds.
constexpr int kTextRoom = 1024;

} // namespace

TipHeldBack::TipHeldBack(HWND tooltip, HWND control) : tooltip_(tooltip)
{
    // The version 2 record, as the dialog adds its tools.
    tool_.cbSize = TTTOOLINFOW_V2_SIZE;
    tool_.hwnd = GetParent(control);
    tool_.uId = reinterpret_cast<UINT_PTR>(control);
    wchar_t text[kTextRoom]{};
    tool_.lpszText = text;
    if (!tooltip_ || !SendMessageW(tooltip_, TTM_GETTOOLINFOW, 0, reinterpret_cast<LPARAM>(&tool_))) {
        tooltip_ = nullptr;
        return;
    }
    text_ = text;
    tool_.lpszText = nullptr;
    SendMessageW(tooltip_, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&tool_));
}

TipHeldBack::~TipHeldBack()
{
    if (!tooltip_)
        return;
    tool_.lpszText = text_.data(); // the tip keeps a copy
    SendMessageW(tooltip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool_));
}
