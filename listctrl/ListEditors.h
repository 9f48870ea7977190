#pragma once

// The in-place editors of Edit, DateTime and Combo cells.

namespace Kestrel {

template <typename T>
void CListImpl<T>::editItem(int, int)
{
}

template <typename T>
void CListImpl<T>::onEditDone(const ListNotifyInfo&)
{
}

template <typename T>
LRESULT CListImpl<T>::onEditorColour(WPARAM dc, LPARAM control)
{
    return this->defWindowProc(WM_CTLCOLOREDIT, dc, control);
}

} // namespace Kestrel
