#pragma once

#include <windows.h>

namespace Kestrel {

// One window class registered under a name generated for it, unregistered when the object goes.
// CWindowImpl keeps one per window type, so each class is registered once, not per window.
class WindowClass {
public:
    // background: a brush (or a system colour index + 1); null leaves erasing to the window.
    WindowClass(WNDPROC procedure, UINT style, HBRUSH background) noexcept;
    ~WindowClass();
    WindowClass(const WindowClass&) = delete;
    WindowClass& operator=(const WindowClass&) = delete;

    explicit operator bool() const noexcept { return atom_ != 0; }
    [[nodiscard]] const wchar_t* name() const noexcept { return name_; }

private:
    // "Kestrel:" and the object's address in hex: unique within the process.
    wchar_t name_[32]{};
    ATOM atom_ = 0;
};

// The module the framework is linked into: its window classes and dialog templates live there.
[[nodiscard]] HINSTANCE moduleInstance() noexcept;

} // namespace Kestrel
