#include "erase/OverwriteBuffer.h"

#include "erase/PseudoRandom.h"

#include <windows.h>

#include <algorithm>
#include <cstring>
#include <new>

namespace {
// The largest state of the generator: the trinomial of degree 63.
constexpr std::size_t kGeneratorStateBytes = 256;
} // namespace

OverwriteBuffer::OverwriteBuffer() : bytes_(std::make_unique_for_overwrite<std::uint8_t[]>(kOverwriteChunkSize))
{
    PseudoRandom generator(kGeneratorStateBytes);
    generator.seed(GetTickCount());
    for (std::uint32_t offset = 0; offset < kOverwriteChunkSize; ++offset)
        bytes_[offset] = generator.nextByte();
}

const std::uint8_t* OverwriteBuffer::bytes(std::uint32_t count) const noexcept
{
    if (count <= size_)
        return bytes_.get();
    const std::uint32_t blocks = (std::min(count, kWriteChunkSize) + kOverwriteChunkSize - 1) / kOverwriteChunkSize;
    const std::uint32_t size = blocks * kOverwriteChunkSize;
    std::unique_ptr<std::uint8_t[]> repeated(new (std::nothrow) std::uint8_t[size]);
    if (!repeated)
        return nullptr;
    for (std::uint32_t offset = 0; offset < size; offset += kOverwriteChunkSize)
        std::memcpy(repeated.get() + offset, bytes_.get(), kOverwriteChunkSize);
    bytes_ = std::move(repeated);
    size_ = size;
    return bytes_.get();
}
