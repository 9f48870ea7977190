#pragma once

#include "foundation/UniqueHandle.h"

#include <windows.h>

#include <string>

// One running instance per user logon, marked by a named mutex that the first instance holds
// while it runs. The name has no namespace prefix, so the guard acts within the logon only.
class SingleInstance {
public:
    explicit SingleInstance(std::wstring name) : name_(std::move(name)) {}

    // False for the first instance, which from then on holds the mutex for as long as this object
    // lives (the open handle is the mark); false again when asked again. True when the mutex
    // existed, and also when it could not be created: starting twice is worse than not starting.
    // Asked again after a true, a false means that the other instance has ended since and this
    // one has taken its place. False for an empty name.
    [[nodiscard]] bool isAnotherRunning();

    // The main window of the running instance: the top-level dialog with the caption that no
    // window owns. Its message boxes carry the same caption but are owned by it, and a folder
    // window named like the program is no dialog. Null when there is none (yet, or any more).
    [[nodiscard]] static HWND findMainWindow(const std::wstring& caption);

    // Restores the window if it is minimised, shows it if it is hidden, and makes it (or the box
    // it has open) the foreground window; false when the handle is not a window.
    static bool bringToFront(HWND window) noexcept;

private:
    std::wstring name_;
    Kestrel::UniqueHandle mutex_;
};
