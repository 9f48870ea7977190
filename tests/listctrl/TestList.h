#pragma once

#include "listctrl/CListImpl.h"

#include <string>
#include <vector>

namespace KestrelTest {

// A list over a table of texts held in the test, with optional per-cell formats and images, and a
// count of the callbacks the list makes.
class TestList : public Kestrel::CListImpl<TestList> {
public:
    int getItemCount()
    {
        ++calls;
        return static_cast<int>(rows.size());
    }
    std::wstring getItemText(int item, int subItem)
    {
        ++calls;
        if (item < 0 || item >= static_cast<int>(rows.size()) || subItem < 0 ||
            subItem >= static_cast<int>(rows[item].size()))
            return {};
        return rows[item][subItem];
    }
    int getItemImage(int item, int subItem)
    {
        ++calls;
        return item >= 0 && item < static_cast<int>(images.size()) && subItem == 0 ? images[item] : -1;
    }
    bool setItemText(int item, int subItem, const std::wstring& text)
    {
        if (item < 0 || item >= static_cast<int>(rows.size()) || subItem < 0 ||
            subItem >= static_cast<int>(rows[item].size()))
            return false;
        rows[item][subItem] = text;
        return true;
    }
    std::wstring getItemToolTip(int item, int subItem)
    {
        return item == toolTipItem && subItem == 0 ? L"the whole story" : L"";
    }
    bool sortItems(int subItem, bool ascending)
    {
        sortedBy.push_back(ascending ? subItem : -1);
        return true;
    }
    void reverseItems() { ++reversals; }
    HINSTANCE resourceModule() { return failResources ? GetModuleHandleW(L"kernel32.dll") : CListImpl::resourceModule(); }

    std::vector<std::vector<std::wstring>> rows;
    std::vector<int> images;
    bool failResources = false;
    int toolTipItem = -1;
    std::vector<int> sortedBy; // the column identifier of each sort request
    int reversals = 0;
    int calls = 0;
};

} // namespace KestrelTest
