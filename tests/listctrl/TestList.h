#pragma once

#include "listctrl/CListImpl.h"

#include <set>
#include <string>
#include <vector>

namespace KestrelTest {

// A list over a table of texts held by the test, with row images in the first column, a tooltip
// for one row, and an image strip that can be made to fail loading.
class TestList : public Kestrel::CListImpl<TestList> {
public:
    int getItemCount() { return static_cast<int>(rows.size()); }
    std::wstring getItemText(int item, int subItem)
    {
        rowsAsked.insert(item);
        const std::wstring* text = cell(item, subItem);
        return text ? *text : std::wstring();
    }
    int getItemImage(int item, int subItem)
    {
        return item >= 0 && item < static_cast<int>(images.size()) && subItem == 0 ? images[item] : -1;
    }
    bool setItemText(int item, int subItem, const std::wstring& text)
    {
        std::wstring* stored = cell(item, subItem);
        if (stored)
            *stored = text;
        return stored != nullptr;
    }
    std::wstring getItemToolTip(int item, int subItem)
    {
        return item == toolTipItem && subItem == 0 ? L"the whole story" : L"";
    }
    // The cells of one column (an identifier) get their own background.
    bool getItemColours(int item, int subItem, COLORREF& background, COLORREF& text)
    {
        if (!CListImpl::getItemColours(item, subItem, background, text))
            return false;
        if (subItem == colouredColumn)
            background = colouredBackground;
        return true;
    }
    HINSTANCE resourceModule() { return failResources ? GetModuleHandleW(L"kernel32.dll") : CListImpl::resourceModule(); }

    std::vector<std::vector<std::wstring>> rows;
    std::vector<int> images;
    // Every row whose text was asked for, by painting or otherwise.
    std::set<int> rowsAsked;
    bool failResources = false;
    int toolTipItem = -1;
    int colouredColumn = -1;
    static constexpr COLORREF colouredBackground = RGB(10, 200, 30);

private:
    std::wstring* cell(int item, int subItem)
    {
        if (item < 0 || item >= static_cast<int>(rows.size()) || subItem < 0 ||
            subItem >= static_cast<int>(rows[item].size()))
            return nullptr;
        return &rows[item][subItem];
    }
};

} // namespace KestrelTest
