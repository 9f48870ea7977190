#include "listctrl/CListEdit.h"

#include "listctrl/ListColumn.h"

#include <algorithm>

namespace Kestrel {

namespace {

constexpr int kMargin = 5;

// Over the cell, clear of the frame the list draws around the cell being edited.
RECT editRect(const RECT& cell) noexcept
{
    return RECT{cell.left + 2, cell.top + 3, cell.right - 3, cell.bottom - 2};
}

bool isDigit(wchar_t c) noexcept
{
    return c >= L'0' && c <= L'9';
}

// A number as it may stand while it is typed: an optional sign, digits, and for decimals at most
// one point.
bool isNumberSoFar(const std::wstring& text, bool negative, bool decimal) noexcept
{
    std::size_t at = (negative && !text.empty() && text[0] == L'-') ? 1 : 0;
    bool point = false;
    for (; at < text.size(); ++at) {
        if (decimal && text[at] == L'.' && !point)
            point = true;
        else if (!isDigit(text[at]))
            return false;
    }
    return true;
}

std::wstring clipboardText(HWND owner)
{
    std::wstring text;
    if (!OpenClipboard(owner))
        return text;
    if (const HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
        if (const auto* chars = static_cast<const wchar_t*>(GlobalLock(data))) {
            text = chars;
            GlobalUnlock(data);
        }
    }
    CloseClipboard();
    return text;
}

} // namespace

bool CListEdit::open(HWND list, int item, ColumnId column, const RECT& cell, const std::wstring& text, unsigned flags,
                     HFONT font)
{
    flags_ = flags;
    DWORD style = ES_AUTOHSCROLL;
    if (isNumber())
        style |= ES_RIGHT;
    else if (flags & FlagEditUpperCase)
        style |= ES_UPPERCASE;
    if (!createControl(list, L"EDIT", style, editRect(cell), text.c_str(), font))
        return false;
    // After the font: a new font puts the margins back to the font's own.
    sendMessage(EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELONG(kMargin, kMargin));
    sendMessage(EM_SETSEL, 0, -1);
    begin(item, column);
    return true;
}

bool CListEdit::isNumber() const noexcept
{
    return (flags_ & (FlagEditNumber | FlagEditFloat)) != 0;
}

std::wstring CListEdit::text() const
{
    std::wstring text = windowText();
    if (isNumber() && std::none_of(text.begin(), text.end(), isDigit))
        text = (flags_ & FlagEditNull) ? L"" : L"0";
    return text;
}

LRESULT CListEdit::onChar(WPARAM character, LPARAM flags)
{
    // The characters of the ending keys: a single-line edit box would only beep at them.
    if (character == L'\r' || character == L'\x1b' || character == L'\t')
        return 0;
    const bool control = character < L' ';
    if (!control && isNumber() && !accepts(std::wstring(1, static_cast<wchar_t>(character)))) {
        MessageBeep(MB_OK);
        return 0;
    }
    return defWindowProc(WM_CHAR, character, flags);
}

LRESULT CListEdit::onPaste(WPARAM wParam, LPARAM lParam)
{
    if (isNumber() && !accepts(clipboardText(handle()))) {
        MessageBeep(MB_OK);
        return 0;
    }
    return defWindowProc(WM_PASTE, wParam, lParam);
}

bool CListEdit::accepts(const std::wstring& insert) const
{
    DWORD start = 0;
    DWORD end = 0;
    sendMessage(EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    std::wstring text = windowText();
    start = std::min<DWORD>(start, static_cast<DWORD>(text.size()));
    end = std::clamp<DWORD>(end, start, static_cast<DWORD>(text.size()));
    text.replace(start, end - start, insert);
    return isNumberSoFar(text, (flags_ & FlagEditNegative) != 0, (flags_ & FlagEditFloat) != 0);
}

} // namespace Kestrel
