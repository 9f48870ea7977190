#pragma once

#include <cstdint>

#include <memory>

// The fill pattern: one block of this size drawn from PseudoRandom, repeated over every byte an
// erase writes, so the pattern on the disk repeats every 64 KiB.
inline constexpr std::uint32_t kOverwriteChunkSize = 0x10000;
// The largest single write: the block repeated. Under Wine every write costs a call to the server
// besides the copy, so fewer, larger writes keep a disk's pace; the bytes on the disk are the same.
inline constexpr std::uint32_t kWriteChunkSize = 16 * kOverwriteChunkSize;

// The bytes every write of one task carries: the block drawn once from PseudoRandom seeded with
// the tick count, repeated to the largest write. A write of up to kWriteChunkSize bytes starts at
// the buffer's start: one that starts at a multiple of the block continues the pattern.
class OverwriteBuffer {
public:
    OverwriteBuffer();
    OverwriteBuffer(const OverwriteBuffer&) = delete;
    OverwriteBuffer& operator=(const OverwriteBuffer&) = delete;

    [[nodiscard]] const std::uint8_t* bytes() const noexcept { return bytes_.get(); }

private:
    std::unique_ptr<std::uint8_t[]> bytes_;
};
