#pragma once

#include "foundation/KeepLastError.h"

#include <windows.h>

namespace Kestrel {

// Selects a bitmap, brush, pen or font into a device context for one scope and puts the previous
// one back at the end, before the owner of the selected object can delete it. (Regions are not
// selected this way: SelectObject answers a region type for them, not the previous object.)
class SelectedObject {
public:
    SelectedObject(HDC dc, HGDIOBJ object) noexcept : dc_(dc), previous_(SelectObject(dc, object)) {}
    ~SelectedObject()
    {
        if (previous_ && previous_ != HGDI_ERROR) {
            const KeepLastError keep;
            SelectObject(dc_, previous_);
        }
    }
    SelectedObject(const SelectedObject&) = delete;
    SelectedObject& operator=(const SelectedObject&) = delete;

    // False when the selection failed.
    explicit operator bool() const noexcept { return previous_ && previous_ != HGDI_ERROR; }

private:
    HDC dc_;
    HGDIOBJ previous_;
};

} // namespace Kestrel
