#pragma once

#include <windows.h>
#include <commctrl.h>

namespace Kestrel {

// Codes of the WM_NOTIFY messages the list sends to its parent. EditDone travels only from an
// in-place editor to the list and never reaches the parent.
enum ListNotifyCode : int {
    SelectionChanged = -1501,
    LeftClick = -1502,
    RightClick = -1503,
    DoubleClick = -1504,
    EditDone = -1505,
    ItemModified = -1506,
    LinkClicked = -1507,
    ButtonClicked = -1508,
};

// What a list notification carries. subItem is the column's identifier (the position it was added
// at), not its current display position.
struct ListNotifyInfo {
    NMHDR header;
    int item;
    int subItem;
    WORD exitKey;
    const wchar_t* text;
    const SYSTEMTIME* date;
};

} // namespace Kestrel
