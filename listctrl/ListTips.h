#pragma once

// Tips over cells: the item tooltip (text from getItemToolTip) and the title tip that shows the
// whole text of a cut-off cell.

namespace Kestrel {

namespace ListTipsDetail {
constexpr UINT_PTR kItemToolId = 1000;
} // namespace ListTipsDetail

template <typename T>
void CListImpl<T>::relayToToolTip(const Message& message)
{
    if (!toolTip_)
        return;
    MSG relayed{message.window, message.id, message.wParam, message.lParam, static_cast<DWORD>(GetMessageTime()), {}};
    GetCursorPos(&relayed.pt);
    SendMessageW(toolTip_.get(), TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&relayed));
}

template <typename T>
void CListImpl<T>::updateItemToolTip(int item, ColumnPosition position)
{
    if (!toolTip_)
        return;
    TOOLINFOW tool{};
    // The size comctl32 5 knows: the program runs with either version.
    tool.cbSize = TTTOOLINFOW_V2_SIZE;
    tool.hwnd = handle();
    tool.uId = ListTipsDetail::kItemToolId;
    std::wstring text;
    RECT cell{};
    if (item >= 0 && position.valid()) {
        text = self().getItemToolTip(item, columnId(position).value());
        cell = cellRect(item, position);
    }
    if (text.empty() || IsRectEmpty(&cell)) {
        SendMessageW(toolTip_.get(), TTM_ACTIVATE, FALSE, 0);
        SendMessageW(toolTip_.get(), TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
        return;
    }
    SendMessageW(toolTip_.get(), TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    // No TTF_SUBCLASS: the list relays its mouse messages itself, and a second subclass over the
    // list's window would keep the list from giving a taken-over control its procedure back.
    tool.rect = cell;
    tool.lpszText = text.data();
    SendMessageW(toolTip_.get(), TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    SendMessageW(toolTip_.get(), TTM_ACTIVATE, TRUE, 0);
}

template <typename T>
RECT CListImpl<T>::textRect(int item, ColumnPosition position)
{
    RECT painted = cellRect(item, position);
    if (IsRectEmpty(&painted))
        return painted;
    // As the cell is painted: its last pixel belongs to the divider.
    painted.right -= 1;
    RECT content = cellContent(painted, position);
    if (self().getItemImage(item, columnId(position).value()) != -1)
        content.left += imageRoom();
    return content;
}

template <typename T>
void CListImpl<T>::offerTitleTip(int item, ColumnPosition position, POINT point)
{
    if (editing_ || titleTip_.shows(item, columnId(position)))
        return;
    const RECT text = textRect(item, position);
    if (!PtInRect(&text, point)) {
        hideTitleTip();
        return;
    }
    const int id = columnId(position).value();
    const ItemFormat format = self().getItemFormat(item, id);
    CTitleTip::Cell cell;
    cell.item = item;
    cell.subItem = ColumnId(id);
    cell.textRect = text;
    cell.cellHeight = rowHeight_;
    cell.font = listFont_.get();
    cell.themed = themed();
    cell.dpi = dpi_;
    cell.toolTip = self().getItemToolTip(item, id);
    if (format == FormatDateTime)
        cell.text = dateText(item, id, self().getItemFlags(item, id));
    else if (format != FormatCheckBox && format != FormatCheckBox3State && format != FormatProgress)
        cell.text = self().getItemText(item, id);
    (void)titleTip_.show(cell);
}

template <typename T>
void CListImpl<T>::hideTitleTip()
{
    titleTip_.hide();
}

} // namespace Kestrel
