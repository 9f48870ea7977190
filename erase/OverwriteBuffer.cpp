#include "erase/OverwriteBuffer.h"

#include "erase/PseudoRandom.h"

#include <windows.h>

#include <cstring>

namespace {
// The largest state of the generator: the trinomial of degree 63.
constexpr std::size_t kGeneratorStateBytes = 256;
} // namespace

OverwriteBuffer::OverwriteBuffer() : bytes_(std::make_unique<std::uint8_t[]>(kWriteChunkSize))
{
    PseudoRandom generator(kGeneratorStateBytes);
    generator.seed(GetTickCount());
    for (std::uint32_t offset = 0; offset < kOverwriteChunkSize; ++offset)
        bytes_[offset] = generator.nextByte();
    for (std::uint32_t offset = kOverwriteChunkSize; offset < kWriteChunkSize; offset += kOverwriteChunkSize)
        std::memcpy(bytes_.get() + offset, bytes_.get(), kOverwriteChunkSize);
}
