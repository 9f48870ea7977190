#pragma once

// The selection (an ordered set of rows), the anchor a shift-click extends from, the focus cell,
// and the notifications to the parent.

namespace Kestrel {

template <typename T>
void CListImpl<T>::selectItem(int item, ColumnPosition position, UINT keyFlags)
{
    if (item < 0 || item >= itemCount())
        return;
    const bool shift = (keyFlags & MK_SHIFT) != 0 && !singleSelection_;
    const bool control = (keyFlags & MK_CONTROL) != 0;
    bool add = true;
    if (shift || !control) {
        if (selection_.size() == 1 && *selection_.begin() == item) {
            add = false;
            anchorItem_ = item;
            focusItem_ = item;
            focusColumn_ = columnId(position);
        } else {
            selection_.clear();
        }
    } else {
        if (singleSelection_)
            selection_.clear();
        if (selection_.erase(item) != 0) {
            add = false;
            anchorItem_ = item;
            focusItem_ = item;
            focusColumn_ = selection_.size() < 2 ? columnId(position) : ColumnId();
        }
    }
    if (add) {
        if (shift) {
            if (anchorItem_ < 0)
                anchorItem_ = item;
            for (int row = std::min(anchorItem_, item); row <= std::max(anchorItem_, item); ++row)
                selection_.insert(row);
        } else {
            anchorItem_ = item;
            selection_.insert(item);
        }
        focusItem_ = item;
        focusColumn_ = selection_.size() < 2 ? columnId(position) : ColumnId();
        notifyParent(focusItem_, focusColumn_, SelectionChanged);
    }
    // A cell that must scroll into view first is edited a moment later.
    if (!cellFullyVisible(item, position))
        (void)this->setTimer(kEditTimer, 250);
    else if (focusItem_ >= 0 && focusColumn_.valid())
        editItem(focusItem_, focusPosition());
    this->invalidate();
}

template <typename T>
bool CListImpl<T>::cellFullyVisible(int item, ColumnPosition position)
{
    return isItemVisible(item, cellFocus_ ? position : ColumnPosition(), false);
}

template <typename T>
void CListImpl<T>::selectAll()
{
    if (singleSelection_)
        return;
    const int count = itemCount();
    for (int item = 0; item < count; ++item)
        selection_.insert(selection_.end(), item);
    this->invalidate();
}

template <typename T>
void CListImpl<T>::clearSelection()
{
    selection_.clear();
    anchorItem_ = -1;
    focusItem_ = -1;
    focusColumn_ = ColumnId();
    this->invalidate();
}

template <typename T>
int CListImpl<T>::getFocusItem(ColumnPosition* position) const noexcept
{
    if (position)
        *position = cellFocus_ ? focusPosition() : ColumnPosition();
    if (isSelected(focusItem_))
        return focusItem_;
    return selection_.empty() ? -1 : *selection_.begin();
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
