#pragma once

// The keyboard: navigation keys move the focus cell (and the selection, unless Control is held),
// Tab walks the focus row's cells and leaves the list at their ends, Space toggles a check box,
// Control+A selects all, letters search the rows (type-ahead).

namespace Kestrel {

namespace ListKeyboardDetail {
// Pixels at 96 DPI that Left and Right (Control+Left and Control+Right) scroll without cell focus.
constexpr int kSmallHorizontalStep = 5;
constexpr int kLargeHorizontalStep = 50;
// Letters typed closer together than this extend the search prefix.
constexpr DWORD kTypeAheadPause = 800;
} // namespace ListKeyboardDetail

template <typename T>
LRESULT CListImpl<T>::onKeyDown(WPARAM key, LPARAM flags)
{
    if (handleKey(static_cast<UINT>(key)))
        return 0;
    return this->defWindowProc(WM_KEYDOWN, key, flags);
}

// Alt+arrow and the like arrive as system keys; the rest (Alt+F4, menu keys) keeps its meaning. A
// letter or digit held with Alt is an access key of the dialog's controls, not a search: the
// dialog manager reads it from the WM_SYSCHAR that follows.
template <typename T>
LRESULT CListImpl<T>::onSysKeyDown(WPARAM key, LPARAM flags)
{
    const bool accessKey = (key >= 'A' && key <= 'Z') || (key >= '0' && key <= '9');
    if (!accessKey && handleKey(static_cast<UINT>(key)))
        return 0;
    return this->defWindowProc(WM_SYSKEYDOWN, key, flags);
}

template <typename T>
bool CListImpl<T>::handleKey(UINT key)
{
    using namespace ListKeyboardDetail;
    const bool shift = GetKeyState(VK_SHIFT) < 0;
    const bool control = GetKeyState(VK_CONTROL) < 0;
    const int count = itemCount();
    const int last = count - 1;
    const int columns = columnCount();
    int item = selection_.focusItem;
    ColumnPosition position = focusPosition();
    switch (key) {
    case VK_UP:
        item = std::clamp(item - 1, 0, std::max(last, 0));
        break;
    case VK_DOWN:
        item = std::clamp(item + 1, 0, std::max(last, 0));
        break;
    case VK_PRIOR:
        item = std::max(item - (visibleItemCount() - 1), 0);
        break;
    case VK_NEXT:
        item = std::clamp(item + (visibleItemCount() - 1), 0, std::max(last, 0));
        break;
    case VK_HOME:
        item = 0;
        break;
    case VK_END:
        item = last;
        break;
    case VK_LEFT:
    case VK_RIGHT:
        if (!cellFocus_) {
            const int step = scaled(control ? kLargeHorizontalStep : kSmallHorizontalStep) * (key == VK_LEFT ? -1 : 1);
            const int target = std::clamp(scrollPosition(SB_HORZ) + step, 0,
                                          std::max(0, static_cast<int>(this->clientRect().right)));
            resetScrollBars(SB_HORZ, target, false);
            this->invalidate();
            return true;
        }
        position = ColumnPosition(
            std::clamp(position.value() + (key == VK_LEFT ? -1 : 1), 0, std::max(columns - 1, 0)));
        break;
    case VK_TAB: {
        if (control)
            return false;
        // A row with cell focus but no focus column (after a band) is entered at its near end.
        const int next = position.valid() ? position.value() + (shift ? -1 : 1) : (shift ? columns - 1 : 0);
        if (!cellFocus_ || item < 0 || item >= count || next < 0 || next >= columns) {
            leaveByTab(shift);
            return true;
        }
        position = ColumnPosition(next);
        break;
    }
    case VK_SPACE:
        if (cellFocus_ && selection_.focusItem >= 0 && selection_.focusItem < count)
            (void)toggleCheckBox(selection_.focusItem, focusPosition());
        return true;
    default:
        if (key == 'A' && control) {
            selectAll();
            return true;
        }
        if (key >= 'A' && key <= 'Z' && !control) {
            typeAhead(static_cast<wchar_t>(key), static_cast<DWORD>(GetMessageTime()));
            return true;
        }
        return false;
    }
    if (count == 0 || item < 0)
        return true;
    moveFocusTo(item, position, control, shift);
    return true;
}

// Past the focus row's last cell (before its first, with Shift), or without one to move among, Tab
// goes on to the dialog's next (previous) control, as it does from any other control there: a
// user without a mouse is never kept in the list. A parent that is no dialog ignores the request.
template <typename T>
void CListImpl<T>::leaveByTab(bool back)
{
    if (const HWND parent = GetParent(handle()))
        SendMessageW(parent, WM_NEXTDLGCTL, back ? 1 : 0, FALSE);
}

// Focus, view and selection change first; the rows they touched are repainted once.
template <typename T>
void CListImpl<T>::moveFocusTo(int item, ColumnPosition position, bool control, bool shift)
{
    const RowLook before = rowLook();
    setFocusCell(item, position);
    scrollIntoView(item, position);
    if (!control)
        changeSelection(item, position, shift ? MK_SHIFT : 0);
    repaintChangedRows(before);
}

template <typename T>
void CListImpl<T>::typeAhead(wchar_t letter, DWORD time)
{
    const bool pause = !typeAhead_.started || time - typeAhead_.time >= ListKeyboardDetail::kTypeAheadPause;
    typeAhead_.started = true;
    typeAhead_.time = time;
    const int count = itemCount();
    const int searchColumn = (columns_.sortColumn.valid() ? columns_.sortColumn : columnId(ColumnPosition(0))).value();
    auto startsWithPrefix = [this, searchColumn](int item) {
        const std::wstring text = self().getItemText(item, searchColumn);
        const int length = static_cast<int>(typeAhead_.prefix.size());
        return static_cast<int>(text.size()) >= length &&
               CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, text.c_str(), length, typeAhead_.prefix.c_str(),
                              length) == CSTR_EQUAL;
    };
    int start = 0;
    if (pause) {
        start = !typeAhead_.prefix.empty() && typeAhead_.prefix[0] == letter ? selection_.focusItem + 1 : 0;
        typeAhead_.prefix.assign(1, letter);
    } else {
        // A repeated initial is not appended: it steps through the rows with that initial.
        if (typeAhead_.prefix.empty() || typeAhead_.prefix[0] != letter)
            typeAhead_.prefix += letter;
        const int focus = selection_.focusItem;
        if (typeAhead_.prefix.size() >= 2 && focus >= 0 && focus < count && startsWithPrefix(focus))
            return;
        start = selection_.focusItem + 1;
    }
    start = std::clamp(start, 0, count);
    for (int step = 0; step < count; ++step) {
        const int item = (start + step) % count;
        if (startsWithPrefix(item)) {
            const RowLook before = rowLook();
            changeSelection(item, focusPosition(), 0);
            scrollIntoView(item, focusPosition());
            repaintChangedRows(before);
            return;
        }
    }
}

} // namespace Kestrel
