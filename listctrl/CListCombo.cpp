#include "listctrl/CListCombo.h"

#include <algorithm>

namespace Kestrel {

namespace {

constexpr int kVisibleChoices = 8;
// The closed box draws a frame of this many pixels around its selection field, above and below.
constexpr int kFieldFrame = 3;

} // namespace

bool CListCombo::open(HWND list, int item, ColumnId column, const RECT& cell, const std::wstring& text,
                      const std::vector<std::wstring>& choices, HFONT font)
{
    if (!createControl(list, L"COMBOBOX", WS_VSCROLL | CBS_DROPDOWNLIST, cell, L"", font))
        return false;
    fill(text, choices);
    fit(cell, static_cast<int>(sendMessage(CB_GETCOUNT)));
    begin(item, column);
    return true;
}

void CListCombo::fill(const std::wstring& text, const std::vector<std::wstring>& choices) const noexcept
{
    for (const std::wstring& choice : choices)
        sendMessage(CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(choice.c_str()));
    LRESULT chosen = sendMessage(CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(text.c_str()));
    if (chosen == CB_ERR && !text.empty())
        chosen = sendMessage(CB_INSERTSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
    sendMessage(CB_SETCURSEL, chosen == CB_ERR ? static_cast<WPARAM>(-1) : static_cast<WPARAM>(chosen));
}

void CListCombo::fit(const RECT& cell, int choices) const noexcept
{
    const int cellHeight = cell.bottom - cell.top;
    if (cellHeight > 2 * kFieldFrame)
        sendMessage(CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), cellHeight - 2 * kFieldFrame);
    const auto choiceHeight = static_cast<int>(sendMessage(CB_GETITEMHEIGHT, 0));
    const int dropped = std::clamp(choices, 1, kVisibleChoices) * std::max(choiceHeight, 1) + 2;
    SetWindowPos(handle(), nullptr, cell.left, cell.top, cell.right - cell.left, cellHeight + dropped,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

bool CListCombo::endsOn(WPARAM key) const noexcept
{
    if (key == VK_TAB)
        return true;
    return (key == VK_RETURN || key == VK_ESCAPE || key == VK_DELETE) && !isDropped();
}

bool CListCombo::keepsFocus(HWND next) const noexcept
{
    COMBOBOXINFO info{};
    info.cbSize = sizeof info;
    return next && GetComboBoxInfo(handle(), &info) && (next == info.hwndList || next == info.hwndItem);
}

} // namespace Kestrel
