#pragma once

#include "listctrl/ColumnId.h"

#include <string>
#include <vector>

namespace Kestrel {

// How a cell is shown and what a click on it does.
enum ItemFormat : int {
    FormatText = 0,
    FormatEdit = 1,
    FormatDateTime = 2,
    FormatCombo = 3,
    FormatCheckBox = 4,
    FormatCheckBox3State = 5,
    FormatHyperlink = 6,
    FormatProgress = 7,
    FormatButton = 8,
    FormatLinkIfText = 9,
    FormatCustom = 10,
};

// Per-cell option bits. The editor options (0x10 .. 0x200, 0x1000) are read by the in-place
// editors only.
enum ItemFlags : unsigned {
    FlagLeft = 0x1,
    FlagRight = 0x2,
    FlagCentre = 0x4,
    FlagReadOnly = 0x8,
    FlagEditUpperCase = 0x10, // editor options: their meaning belongs to the editors
    FlagEditNumber = 0x20,
    FlagEditFloat = 0x40,
    FlagEditNegative = 0x80,
    FlagEditNull = 0x100,
    FlagEditNoDate = 0x200,
    FlagDateOnly = 0x400,
    FlagTimeOnly = 0x800,
    FlagEditSeconds = 0x1000,
    FlagProgressNoTheme = 0x2000,
};

struct ListColumn {
    std::wstring title;
    int width = 0;          // pixels; 0 hides the column
    bool fixed = false;     // the user cannot resize it
    ItemFormat format = FormatText;
    unsigned flags = 0;     // ItemFlags
    int image = -1;         // header image in the item image list, -1 for none
    ColumnId id;            // the position the column was added at
    std::vector<std::wstring> comboList;
};

} // namespace Kestrel
