#pragma once

#include "listctrl/CListEditorImpl.h"

#include <string>
#include <vector>

namespace Kestrel {

// The in-place editor of Combo cells: a drop-down list of the cell's choices. Tab ends it at any
// time; Enter, Escape and Delete end it while its list is closed (an open list takes Enter and
// Escape itself, to choose or to go back to the choice it opened on).
class CListCombo : public CListEditorImpl<CListCombo> {
public:
    static constexpr UINT controlId = 2;

    static constexpr auto messageMap()
    {
        return messageMapOf<CListCombo>(chainTo<CListEditorImpl<CListCombo>>);
    }

    CListCombo() noexcept = default;
    ~CListCombo() override { close(); }

    // Opens over the cell (list client coordinates) with the choices, the cell's text chosen. A
    // text that is not among the choices is put first, so ending the edit without a choice keeps
    // the cell as it was.
    [[nodiscard]] bool open(HWND list, int item, ColumnId column, const RECT& cell, const std::wstring& text,
                            const std::vector<std::wstring>& choices, HFONT font);

private:
    friend class CListEditorImpl<CListCombo>;

    [[nodiscard]] bool endsOn(WPARAM key) const noexcept;
    [[nodiscard]] bool keepsFocus(HWND next) const noexcept;
    [[nodiscard]] std::wstring text() const { return windowText(); }
    [[nodiscard]] bool date(SYSTEMTIME&) const noexcept { return false; }

    [[nodiscard]] bool isDropped() const noexcept { return sendMessage(CB_GETDROPPEDSTATE) != FALSE; }
    void fill(const std::wstring& text, const std::vector<std::wstring>& choices) const noexcept;
    // Fits the closed box to the cell and makes room below it for the open list.
    void fit(const RECT& cell, int choices) const noexcept;
};

} // namespace Kestrel
