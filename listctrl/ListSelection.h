#pragma once

// The selection (an ordered set of rows), the anchor a shift-click extends from, the focus cell,
// and the notifications to the parent.

namespace Kestrel {

template <typename T>
void CListImpl<T>::selectItem(int item, ColumnPosition position, UINT keyFlags)
{
    const RowLook before = rowLook();
    changeSelection(item, position, keyFlags);
    repaintChangedRows(before);
}

template <typename T>
void CListImpl<T>::changeSelection(int item, ColumnPosition position, UINT keyFlags)
{
    if (item < 0 || item >= itemCount())
        return;
    const bool shift = (keyFlags & MK_SHIFT) != 0 && !singleSelection_;
    const bool control = (keyFlags & MK_CONTROL) != 0;
    bool add = true;
    if (shift || !control) {
        if (selection_.rows.size() == 1 && *selection_.rows.begin() == item) {
            add = false;
            selection_.anchor = item;
            selection_.focusItem = item;
            selection_.focusColumn = columnId(position);
        } else {
            selection_.rows.clear();
        }
    } else {
        if (singleSelection_)
            selection_.rows.clear();
        if (selection_.rows.erase(item) != 0) {
            add = false;
            selection_.anchor = item;
            selection_.focusItem = item;
            selection_.focusColumn = selection_.rows.size() < 2 ? columnId(position) : ColumnId();
        }
    }
    if (add) {
        if (shift) {
            if (selection_.anchor < 0)
                selection_.anchor = item;
            for (int row = std::min(selection_.anchor, item); row <= std::max(selection_.anchor, item); ++row)
                selection_.rows.insert(row);
        } else {
            selection_.anchor = item;
            selection_.rows.insert(item);
        }
        selection_.focusItem = item;
        selection_.focusColumn = selection_.rows.size() < 2 ? columnId(position) : ColumnId();
        notifyParent(selection_.focusItem, selection_.focusColumn, SelectionChanged);
    }
    // A cell that must scroll into view first is edited a moment later.
    if (!cellFullyVisible(item, position))
        (void)this->setTimer(kEditTimer, 250);
    else if (selection_.focusItem >= 0 && selection_.focusColumn.valid())
        editItem(selection_.focusItem, focusPosition());
}

template <typename T>
typename CListImpl<T>::RowLook CListImpl<T>::rowLook()
{
    RowLook look{topItem(), {}, selection_.focusItem, selection_.focusColumn,
                 POINT{scrollPosition(SB_HORZ), scrollPosition(SB_VERT)}};
    const int count = visibleItemCount(true);
    look.selectedInView.reserve(static_cast<std::size_t>(std::max(count, 0)));
    for (int item = look.top; item < look.top + count; ++item)
        look.selectedInView.push_back(isSelected(item));
    return look;
}

// Only the rows in view are looked at: a selection of thousands of rows costs no more than a
// screen of them.
template <typename T>
void CListImpl<T>::repaintChangedRows(const RowLook& before)
{
    if (before.scroll.x != scrollPosition(SB_HORZ) || before.scroll.y != scrollPosition(SB_VERT)) {
        this->invalidate();
        return;
    }
    const bool focusMoved = before.focusItem != selection_.focusItem || before.focusColumn != selection_.focusColumn;
    const Region changed(CreateRectRgn(0, 0, 0, 0));
    bool any = false;
    const int top = topItem();
    for (int item = top; item < top + visibleItemCount(true); ++item) {
        const auto inView = static_cast<std::size_t>(item - before.top);
        const bool wasSelected = item >= before.top && inView < before.selectedInView.size() &&
                                 before.selectedInView[inView];
        const bool selection = wasSelected != isSelected(item);
        const bool focus = focusMoved && (item == before.focusItem || item == selection_.focusItem);
        const RECT rect = itemRect(item);
        if ((!selection && !focus) || IsRectEmpty(&rect))
            continue;
        const Region row(CreateRectRgnIndirect(&rect));
        CombineRgn(changed.get(), changed.get(), row.get(), RGN_OR);
        any = true;
    }
    if (any)
        InvalidateRgn(handle(), changed.get(), FALSE);
}

template <typename T>
bool CListImpl<T>::cellFullyVisible(int item, ColumnPosition position)
{
    return isItemVisible(item, cellFocus_ ? position : ColumnPosition(), false);
}

template <typename T>
void CListImpl<T>::selectBandRows(int first, int last)
{
    selection_.rows.clear();
    selection_.anchor = -1;
    for (int item = first; item <= last; ++item)
        selection_.rows.insert(selection_.rows.end(), item);
    if (first <= last) {
        selection_.anchor = first;
        selection_.focusItem = last;
        selection_.focusColumn = ColumnId();
    }
}

template <typename T>
void CListImpl<T>::setFocusCell(int item, ColumnPosition position) noexcept
{
    selection_.focusItem = item;
    selection_.focusColumn = columnId(position);
}

template <typename T>
void CListImpl<T>::selectAll()
{
    if (singleSelection_)
        return;
    const int count = itemCount();
    for (int item = 0; item < count; ++item)
        selection_.rows.insert(selection_.rows.end(), item);
    this->invalidate();
}

template <typename T>
void CListImpl<T>::clearSelection()
{
    selection_.reset();
    this->invalidate();
}

template <typename T>
int CListImpl<T>::getFocusItem(ColumnPosition* position) const noexcept
{
    if (position)
        *position = cellFocus_ ? focusPosition() : ColumnPosition();
    if (isSelected(selection_.focusItem))
        return selection_.focusItem;
    return selection_.rows.empty() ? -1 : *selection_.rows.begin();
}

template <typename T>
void CListImpl<T>::notifyParent(int item, ColumnId id, ListNotifyCode code)
{
    const HWND parent = GetParent(handle());
    if (!parent)
        return;
    ListNotifyInfo info{};
    info.header.hwndFrom = handle();
    info.header.idFrom = static_cast<UINT_PTR>(GetDlgCtrlID(handle()));
    info.header.code = static_cast<UINT>(code);
    info.item = item;
    info.subItem = id.value();
    SendMessageW(parent, WM_NOTIFY, info.header.idFrom, reinterpret_cast<LPARAM>(&info));
}

} // namespace Kestrel
