#pragma once

#include <windows.h>

// What the user-interface thread sets up before anything else, in this order, and takes down in
// the reverse order when the object goes: OLE (which also initialises COM for the thread), the
// common controls and the application module (the thread becomes its main thread). OLE and not
// only COM: Windows refuses RegisterDragDrop, and so the task list's drop target, on a thread
// without it. Results are not examined: the program runs, with less, without any of them.
class UserInterfaceThread {
public:
    explicit UserInterfaceThread(HINSTANCE instance) noexcept;
    ~UserInterfaceThread();
    UserInterfaceThread(const UserInterfaceThread&) = delete;
    UserInterfaceThread& operator=(const UserInterfaceThread&) = delete;

private:
    bool oleInitialised_;
};
