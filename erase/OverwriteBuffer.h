#pragma once

#include <cstdint>
#include <memory>

// Every write of an erase is one chunk of this size, or the file's shorter remainder.
inline constexpr std::uint32_t kOverwriteChunkSize = 0x10000;

// The bytes every chunk of one task carries: drawn once from PseudoRandom seeded with the tick
// count, so the pattern on the disk repeats every 64 KiB.
class OverwriteBuffer {
public:
    OverwriteBuffer();
    OverwriteBuffer(const OverwriteBuffer&) = delete;
    OverwriteBuffer& operator=(const OverwriteBuffer&) = delete;

    [[nodiscard]] const std::uint8_t* bytes() const noexcept { return bytes_.get(); }

private:
    std::unique_ptr<std::uint8_t[]> bytes_;
};
