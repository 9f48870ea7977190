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
void CListImpl<T>::updateItemToolTip(int item, int position)
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
    if (item >= 0 && position >= 0) {
        text = self().getItemToolTip(item, columnId(position));
        cell = cellRect(item, position);
    }
    if (text.empty() || IsRectEmpty(&cell)) {
        SendMessageW(toolTip_.get(), TTM_ACTIVATE, FALSE, 0);
        SendMessageW(toolTip_.get(), TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
        return;
    }
    SendMessageW(toolTip_.get(), TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    tool.uFlags = TTF_SUBCLASS;
    tool.rect = cell;
    tool.lpszText = text.data();
    SendMessageW(toolTip_.get(), TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    SendMessageW(toolTip_.get(), TTM_ACTIVATE, TRUE, 0);
}

template <typename T>
void CListImpl<T>::offerTitleTip(int, int, POINT)
{
}

template <typename T>
void CListImpl<T>::hideTitleTip()
{
}

} // namespace Kestrel
