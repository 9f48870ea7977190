#pragma once

// The in-place editors of Edit, DateTime and Combo cells: opened over the focus cell, and what the
// list does with the value an editor ends with.

namespace Kestrel {

template <typename T>
void CListImpl<T>::editItem(int item, ColumnPosition position)
{
    if (editing_ || !cellFocus_ || !isFocusCell(item, position) || GetFocus() != handle())
        return;
    if (!isItemVisible(item, position, false))
        return;
    const ColumnId column = columnId(position);
    const int id = column.value();
    const unsigned flags = self().getItemFlags(item, id);
    if (flags & FlagReadOnly)
        return;
    const RECT cell = cellRect(item, position);
    bool opened = false;
    switch (self().getItemFormat(item, id)) {
    case FormatEdit:
        opened = edit_.open(handle(), item, column, cell, self().getItemText(item, id), flags, listFont_.get());
        break;
    case FormatCombo: {
        std::vector<std::wstring> choices;
        (void)self().getItemComboList(item, id, choices);
        opened = combo_.open(handle(), item, column, cell, self().getItemText(item, id), choices, listFont_.get());
        break;
    }
    case FormatDateTime: {
        SYSTEMTIME date{};
        const bool hasDate = !self().getItemText(item, id).empty() && self().getItemDate(item, id, date);
        opened = date_.open(handle(), item, column, cell, hasDate ? &date : nullptr, flags, listFont_.get());
        break;
    }
    default:
        break;
    }
    if (opened) {
        editing_ = true;
        this->invalidateRect(itemRect(item));
    }
}

// Escape keeps the cell; Delete empties it; anything else stores the value and reports it, and a
// Tab goes on to the next cell.
template <typename T>
void CListImpl<T>::onEditDone(const ListNotifyInfo& info)
{
    editing_ = false;
    const int item = info.item;
    const int id = info.subItem;
    if (item >= 0 && item < itemCount() && columnPosition(ColumnId(id)).valid()) {
        if (info.exitKey == VK_DELETE) {
            (void)self().setItemText(item, id, std::wstring());
        } else if (info.exitKey != VK_ESCAPE) {
            if (info.date)
                (void)self().setItemDate(item, id, *info.date);
            else
                (void)self().setItemText(item, id, info.text ? info.text : L"");
            if (info.exitKey == VK_TAB)
                (void)this->postMessage(WM_KEYDOWN, VK_TAB, 0);
            notifyParent(item, ColumnId(id), ItemModified);
        }
    }
    this->invalidateRect(itemRect(item));
}

template <typename T>
void CListImpl<T>::closeEditors() noexcept
{
    edit_.close();
    combo_.close();
    date_.close();
    editing_ = false;
}

} // namespace Kestrel
