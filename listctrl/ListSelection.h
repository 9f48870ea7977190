#pragma once

// The selection (an ordered set of rows), the anchor a shift-click extends from, the focus cell,
// and the notifications to the parent.

namespace Kestrel {

template <typename T>
void CListImpl<T>::selectItem(int item, int position, UINT keyFlags)
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
            focusSubItem_ = position;
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
            focusSubItem_ = selection_.size() < 2 ? position : -1;
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
        focusSubItem_ = selection_.size() < 2 ? position : -1;
        notifyParent(focusItem_, focusSubItem_, SelectionChanged);
    }
    // A cell that must scroll into view first is edited a moment later.
    if (!cellFullyVisible(item, position))
        (void)this->setTimer(kEditTimer, 250);
    else if (focusItem_ >= 0 && focusSubItem_ >= 0)
        editItem(focusItem_, focusSubItem_);
    this->invalidate();
}

template <typename T>
bool CListImpl<T>::cellFullyVisible(int item, int position)
{
    return isItemVisible(item, cellFocus_ ? position : -1, false);
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
    focusSubItem_ = -1;
    this->invalidate();
}

template <typename T>
int CListImpl<T>::getFocusItem(int* position) const noexcept
{
    if (position)
        *position = cellFocus_ ? focusSubItem_ : -1;
    if (isSelected(focusItem_))
        return focusItem_;
    return selection_.empty() ? -1 : *selection_.begin();
}

template <typename T>
void CListImpl<T>::notifyParent(int item, int position, ListNotifyCode code)
{
    const HWND parent = GetParent(handle());
    if (!parent)
        return;
    ListNotifyInfo info{};
    info.header.hwndFrom = handle();
    info.header.idFrom = static_cast<UINT_PTR>(GetDlgCtrlID(handle()));
    info.header.code = static_cast<UINT>(code);
    info.item = item;
    info.subItem = columnId(position);
    SendMessageW(parent, WM_NOTIFY, info.header.idFrom, reinterpret_cast<LPARAM>(&info));
}

} // namespace Kestrel
