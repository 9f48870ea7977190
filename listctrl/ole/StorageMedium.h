#pragma once

#include <objidl.h>

namespace Kestrel {

// Sole owner of one storage medium (STGMEDIUM), released with ReleaseStgMedium: whatever it holds
// (a global block, a stream, a GDI object) goes with it, or its release object is told.
class StorageMedium {
public:
    StorageMedium() noexcept = default;
    // Takes over a medium the caller owned.
    explicit StorageMedium(const STGMEDIUM& medium) noexcept : medium_(medium) {}
    ~StorageMedium() { reset(); }
    StorageMedium(const StorageMedium&) = delete;
    StorageMedium& operator=(const StorageMedium&) = delete;
    StorageMedium(StorageMedium&& other) noexcept : medium_(other.release()) {}
    StorageMedium& operator=(StorageMedium&& other) noexcept
    {
        if (this != &other) {
            reset();
            medium_ = other.release();
        }
        return *this;
    }

    // A medium of our own with the same contents: handles and blocks are copied, streams and
    // storages get a reference of their own. Empty (TYMED_NULL) when that fails; *result says why.
    [[nodiscard]] static StorageMedium duplicate(const STGMEDIUM& medium, CLIPFORMAT format, HRESULT* result) noexcept;

    [[nodiscard]] const STGMEDIUM& get() const noexcept { return medium_; }
    // True when the medium holds nothing (TYMED_NULL, or a global block not rendered yet).
    [[nodiscard]] bool empty() const noexcept;
    // For functions that fill a medium through a pointer (IDataObject::GetData).
    [[nodiscard]] STGMEDIUM* put() noexcept
    {
        reset();
        return &medium_;
    }
    // Gives the medium up to a caller that will release it.
    [[nodiscard]] STGMEDIUM release() noexcept
    {
        const STGMEDIUM medium = medium_;
        medium_ = STGMEDIUM{};
        return medium;
    }
    void reset() noexcept;

private:
    STGMEDIUM medium_{};
};

} // namespace Kestrel
