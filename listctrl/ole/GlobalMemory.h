#pragma once

#include "framework/UserObject.h"

#include <windows.h>

#include <cstddef>

namespace Kestrel {

namespace GlobalMemoryDetail {
inline void freeBlock(HGLOBAL block) noexcept { GlobalFree(block); }
} // namespace GlobalMemoryDetail

// Sole owner of one global memory block. Data exchanged through OLE travels in such blocks;
// release() hands the block to a medium or a receiver that frees it.
using GlobalMemory = UserObject<HGLOBAL, &GlobalMemoryDetail::freeBlock>;

// A movable block holding a copy of the bytes; empty when memory is short.
[[nodiscard]] GlobalMemory copyToGlobalMemory(const void* bytes, std::size_t size) noexcept;
// A movable copy of another block, as large as that block; empty when it cannot be read.
[[nodiscard]] GlobalMemory duplicateGlobalMemory(HGLOBAL block) noexcept;

// A global memory block locked for one scope (GlobalLock / GlobalUnlock); the block stays with its
// owner.
class GlobalLockScope {
public:
    explicit GlobalLockScope(HGLOBAL block) noexcept
        : block_(block), data_(block ? GlobalLock(block) : nullptr), size_(data_ ? GlobalSize(block) : 0)
    {
    }
    ~GlobalLockScope();
    GlobalLockScope(const GlobalLockScope&) = delete;
    GlobalLockScope& operator=(const GlobalLockScope&) = delete;

    [[nodiscard]] void* data() const noexcept { return data_; }
    [[nodiscard]] std::size_t size() const noexcept { return size_; }
    explicit operator bool() const noexcept { return data_ != nullptr; }

private:
    HGLOBAL block_;
    void* data_;
    std::size_t size_;
};

} // namespace Kestrel
