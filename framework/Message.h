#pragma once

#include <windows.h>

namespace Kestrel {

// One window message on its way through a message map. A handler that takes it leaves its answer
// in result.
struct Message {
    HWND window;
    UINT id;
    WPARAM wParam;
    LPARAM lParam;
    LRESULT result = 0;
};

// What a WM_COMMAND says, unpacked.
struct Command {
    UINT id;       // menu item, accelerator or control identifier
    UINT code;     // notification code: 0 for menus, 1 for accelerators, else the control's
    HWND control;  // null for menus and accelerators
};

} // namespace Kestrel
