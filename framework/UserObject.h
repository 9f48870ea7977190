#pragma once

#include "foundation/KeepLastError.h"

#include <windows.h>
#include <commctrl.h>
#include <uxtheme.h>

namespace Kestrel {

// Sole owner of one user-interface or GDI object: an image list, a theme handle, a cursor or
// icon loaded from a resource, a window of our own making, a bitmap, brush, pen, font or region,
// or a global memory block.
// Release is the function that frees it; freeing keeps the thread's last error. The plain handle
// is the borrowing name: a function that only uses an object takes the handle, never the owner.
template <typename Handle, auto Release>
class UserObject {
public:
    UserObject() noexcept = default;
    explicit UserObject(Handle object) noexcept : object_(object) {}
    ~UserObject() { reset(); }

    UserObject(const UserObject&) = delete;
    UserObject& operator=(const UserObject&) = delete;
    UserObject(UserObject&& other) noexcept : object_(other.release()) {}
    UserObject& operator=(UserObject&& other) noexcept
    {
        if (this != &other)
            reset(other.release());
        return *this;
    }

    [[nodiscard]] Handle get() const noexcept { return object_; }
    explicit operator bool() const noexcept { return object_ != nullptr; }

    [[nodiscard]] Handle release() noexcept
    {
        const Handle object = object_;
        object_ = nullptr;
        return object;
    }

    void reset(Handle object = nullptr) noexcept
    {
        const Handle old = object_;
        object_ = object;
        if (old && old != object) {
            const KeepLastError keep;
            Release(old);
        }
    }

private:
    Handle object_ = nullptr;
};

namespace UserObjectDetail {
inline void destroyImageList(HIMAGELIST list) noexcept { ImageList_Destroy(list); }
inline void closeTheme(HTHEME theme) noexcept { CloseThemeData(theme); }
inline void destroyCursor(HCURSOR cursor) noexcept { DestroyCursor(cursor); }
inline void destroyIcon(HICON icon) noexcept { DestroyIcon(icon); }
inline void destroyWindow(HWND window) noexcept
{
    if (IsWindow(window))
        DestroyWindow(window);
}
} // namespace UserObjectDetail

using ImageList = UserObject<HIMAGELIST, &UserObjectDetail::destroyImageList>;
using ThemeHandle = UserObject<HTHEME, &UserObjectDetail::closeTheme>;
// Only for cursors loaded without LR_SHARED: shared ones belong to the system.
using CursorHandle = UserObject<HCURSOR, &UserObjectDetail::destroyCursor>;
// Likewise only for icons loaded without LR_SHARED.
using IconHandle = UserObject<HICON, &UserObjectDetail::destroyIcon>;
// A plain window (tooltip, popup) that a window of ours creates and owns.
using OwnedWindow = UserObject<HWND, &UserObjectDetail::destroyWindow>;

} // namespace Kestrel
