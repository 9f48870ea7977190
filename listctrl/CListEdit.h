#pragma once

#include "listctrl/CListEditorImpl.h"

#include <string>

namespace Kestrel {

// The in-place editor of Edit cells: a single-line edit box. Enter, Escape and Tab end it; Delete
// stays an editing key here.
//
// Cell options it reads (ItemFlags):
// - FlagEditUpperCase: letters are typed in upper case;
// - FlagEditNumber: a whole number: digits only, right-aligned;
// - FlagEditFloat: a decimal number: digits and one '.', right-aligned;
// - FlagEditNegative (with a number option): a leading '-' is allowed;
// - FlagEditNull (with a number option): a box left without a number ends with an empty text;
//   without it, such a box ends with "0".
// Typing or pasting that would make the text something other than (the start of) such a number
// is refused.
class CListEdit : public CListEditorImpl<CListEdit> {
public:
    static constexpr UINT controlId = 1;

    static constexpr auto messageMap()
    {
        return messageMapOf<CListEdit>(onMessage<WM_CHAR, &CListEdit::onChar>,
                                       onMessage<WM_PASTE, &CListEdit::onPaste>,
                                       chainTo<CListEditorImpl<CListEdit>>);
    }

    CListEdit() noexcept = default;
    ~CListEdit() override { close(); }

    // Opens over the cell (list client coordinates) with the cell's text, all of it selected.
    [[nodiscard]] bool open(HWND list, int item, ColumnId column, const RECT& cell, const std::wstring& text,
                            unsigned flags, HFONT font);

private:
    friend class CListEditorImpl<CListEdit>;

    [[nodiscard]] bool endsOn(WPARAM key) const noexcept
    {
        return key == VK_RETURN || key == VK_ESCAPE || key == VK_TAB;
    }
    [[nodiscard]] bool keepsFocus(HWND) const noexcept { return false; }
    [[nodiscard]] std::wstring text() const;
    [[nodiscard]] bool date(SYSTEMTIME&) const noexcept { return false; }

    LRESULT onChar(WPARAM character, LPARAM flags);
    LRESULT onPaste(WPARAM wParam, LPARAM lParam);

    [[nodiscard]] bool isNumber() const noexcept;
    // Whether the text would still be acceptable with the selection replaced by the insert.
    [[nodiscard]] bool accepts(const std::wstring& insert) const;

    unsigned flags_ = 0;
};

} // namespace Kestrel
