#pragma once

// The default answers of the per-cell callbacks (see CListImpl.h); T hides the ones it answers.

#include <cstdio>
#include <cwchar>

namespace Kestrel {

template <typename T>
ItemFormat CListImpl<T>::getItemFormat(int, int subItem)
{
    const ListColumn* owner = column(columnPosition(ColumnId(subItem)));
    return owner ? owner->format : FormatText;
}

template <typename T>
unsigned CListImpl<T>::getItemFlags(int, int subItem)
{
    const ListColumn* owner = column(columnPosition(ColumnId(subItem)));
    return owner ? owner->flags : 0u;
}

template <typename T>
bool CListImpl<T>::getItemColours(int, int, COLORREF& background, COLORREF& text)
{
    background = colours_.background;
    text = colours_.itemText;
    return true;
}

// The text holds the date as setItemDate writes it: yyyyMMddhhmmss. A short text leaves the
// missing fields 0.
template <typename T>
bool CListImpl<T>::getItemDate(int item, int subItem, SYSTEMTIME& date)
{
    const std::wstring text = self().getItemText(item, subItem);
    if (text.empty())
        return false;
    auto field = [&text](std::size_t at, std::size_t length) -> WORD {
        if (at >= text.size())
            return 0;
        return static_cast<WORD>(std::wcstol(text.substr(at, length).c_str(), nullptr, 10));
    };
    date = SYSTEMTIME{};
    date.wYear = field(0, 4);
    date.wMonth = field(4, 2);
    date.wDay = field(6, 2);
    date.wHour = field(8, 2);
    date.wMinute = field(10, 2);
    date.wSecond = field(12, 2);
    return true;
}

template <typename T>
bool CListImpl<T>::getItemComboList(int, int subItem, std::vector<std::wstring>& list)
{
    const ListColumn* owner = column(columnPosition(ColumnId(subItem)));
    if (!owner)
        return false;
    list = owner->comboList;
    return true;
}

template <typename T>
bool CListImpl<T>::setItemDate(int item, int subItem, const SYSTEMTIME& date)
{
    wchar_t text[64]{};
    _snwprintf(text, std::size(text) - 1, L"%04d%02d%02d%02d%02d%02d", date.wYear, date.wMonth, date.wDay,
               date.wHour, date.wMinute, date.wSecond);
    return self().setItemText(item, subItem, text);
}

} // namespace Kestrel
