#pragma once

#include <windows.h>

namespace Kestrel {

// Sole owner of one GDI object (bitmap, brush, pen, font, region), deleted with DeleteObject.
// The plain handle types (HBITMAP, HBRUSH, ...) are the borrowing names: a function that only
// draws with an object takes the handle, never the owner.
template <typename Handle>
class GdiObject {
public:
    GdiObject() noexcept = default;
    explicit GdiObject(Handle object) noexcept : object_(object) {}
    ~GdiObject() { reset(); }

    GdiObject(const GdiObject&) = delete;
    GdiObject& operator=(const GdiObject&) = delete;
    GdiObject(GdiObject&& other) noexcept : object_(other.release()) {}
    GdiObject& operator=(GdiObject&& other) noexcept
    {
        if (this != &other)
            reset(other.release());
        return *this;
    }

    [[nodiscard]] Handle get() const noexcept { return object_; }
    explicit operator bool() const noexcept { return object_ != nullptr; }

    // Gives the object up without deleting it.
    [[nodiscard]] Handle release() noexcept
    {
        const Handle object = object_;
        object_ = nullptr;
        return object;
    }

    // Deletes the held object (keeping the last error) and takes the new one. The object must not
    // be selected into a device context any more: SelectedObject puts the old one back first.
    void reset(Handle object = nullptr) noexcept
    {
        const Handle old = object_;
        object_ = object;
        if (old && old != object) {
            const DWORD error = GetLastError();
            DeleteObject(old);
            SetLastError(error);
        }
    }

private:
    Handle object_ = nullptr;
};

using Bitmap = GdiObject<HBITMAP>;
using Brush = GdiObject<HBRUSH>;
using Pen = GdiObject<HPEN>;
using Font = GdiObject<HFONT>;
using Region = GdiObject<HRGN>;

} // namespace Kestrel
