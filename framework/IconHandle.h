#pragma once

#include <windows.h>

namespace Kestrel {

// Sole owner of one icon loaded without LR_SHARED (those must be destroyed; shared ones belong to
// the system). HICON is the borrowing name.
class IconHandle {
public:
    IconHandle() noexcept = default;
    explicit IconHandle(HICON icon) noexcept : icon_(icon) {}
    ~IconHandle() { reset(); }

    IconHandle(const IconHandle&) = delete;
    IconHandle& operator=(const IconHandle&) = delete;
    IconHandle(IconHandle&& other) noexcept : icon_(other.release()) {}
    IconHandle& operator=(IconHandle&& other) noexcept
    {
        if (this != &other)
            reset(other.release());
        return *this;
    }

    [[nodiscard]] HICON get() const noexcept { return icon_; }
    explicit operator bool() const noexcept { return icon_ != nullptr; }

    [[nodiscard]] HICON release() noexcept
    {
        const HICON icon = icon_;
        icon_ = nullptr;
        return icon;
    }

    // Destroys the held icon (keeping the last error) and takes the new one.
    void reset(HICON icon = nullptr) noexcept
    {
        const HICON old = icon_;
        icon_ = icon;
        if (old && old != icon) {
            const DWORD error = GetLastError();
            DestroyIcon(old);
            SetLastError(error);
        }
    }

private:
    HICON icon_ = nullptr;
};

// Loads an icon resource of the module at the given size; an empty owner when it fails.
[[nodiscard]] inline IconHandle loadIcon(HINSTANCE module, int resourceId, int width, int height) noexcept
{
    return IconHandle(static_cast<HICON>(
        LoadImageW(module, MAKEINTRESOURCEW(resourceId), IMAGE_ICON, width, height, LR_DEFAULTCOLOR)));
}

} // namespace Kestrel
