#pragma once

#include <windows.h>

#include <cstddef>
#include <utility>

namespace Kestrel {

// Sole owner of one global memory block, freed with GlobalFree (keeping the last error). Data
// exchanged through OLE travels in such blocks; release() hands the block to a medium or a
// receiver that frees it.
class GlobalMemory {
public:
    GlobalMemory() noexcept = default;
    explicit GlobalMemory(HGLOBAL block) noexcept : block_(block) {}
    ~GlobalMemory() { reset(); }
    GlobalMemory(const GlobalMemory&) = delete;
    GlobalMemory& operator=(const GlobalMemory&) = delete;
    GlobalMemory(GlobalMemory&& other) noexcept : block_(std::exchange(other.block_, nullptr)) {}
    GlobalMemory& operator=(GlobalMemory&& other) noexcept
    {
        if (this != &other)
            reset(std::exchange(other.block_, nullptr));
        return *this;
    }

    // A movable block holding a copy of the bytes; empty when memory is short.
    [[nodiscard]] static GlobalMemory copyOf(const void* bytes, std::size_t size) noexcept;
    // A movable copy of another block, as large as that block; empty when it cannot be read.
    [[nodiscard]] static GlobalMemory duplicate(HGLOBAL block) noexcept;

    [[nodiscard]] HGLOBAL get() const noexcept { return block_; }
    explicit operator bool() const noexcept { return block_ != nullptr; }
    [[nodiscard]] HGLOBAL release() noexcept { return std::exchange(block_, nullptr); }
    void reset(HGLOBAL block = nullptr) noexcept;

private:
    HGLOBAL block_ = nullptr;
};

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
