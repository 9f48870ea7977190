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
// the tick count, repeated. A write of up to kWriteChunkSize bytes starts at the buffer's start:
// one that starts at a multiple of the block continues the pattern. The repetitions are made when
// a write first asks for them: a task of small files needs the block alone, and making the
// largest write for every task cost about a millisecond a file under Wine (a fresh mapping of
// 1 MiB, zeroed and copied into) when 5,000 dropped files were erased one task each. Asking
// changes only how much of the pattern is at hand, not the pattern, so it is const; a buffer
// serves the one thread of its task.
class OverwriteBuffer {
public:
    OverwriteBuffer();
    OverwriteBuffer(const OverwriteBuffer&) = delete;
    OverwriteBuffer& operator=(const OverwriteBuffer&) = delete;

    // The first count bytes of the pattern; count is at most kWriteChunkSize. Null when memory
    // for the repetitions is short.
    [[nodiscard]] const std::uint8_t* bytes(std::uint32_t count) const noexcept;

private:
    // The block, then its repetitions up to the longest write asked for so far.
    mutable std::unique_ptr<std::uint8_t[]> bytes_;
    mutable std::uint32_t size_ = kOverwriteChunkSize;
};
