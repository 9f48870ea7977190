#include "erase/OverwriteBuffer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <set>
#include <vector>

namespace {

// However long the writes of a task grow, and in whatever order they come, each one starts with
// the task's one pseudo-random block and continues it every 64 KiB.
TEST(OverwriteBuffer, EveryWriteOfATaskRepeatsItsOneDrawnBlock)
{
    const OverwriteBuffer buffer;
    const std::uint8_t* first = buffer.bytes(kOverwriteChunkSize);
    ASSERT_NE(first, nullptr);
    const std::vector<std::uint8_t> block(first, first + kOverwriteChunkSize);
    EXPECT_GT(std::set<std::uint8_t>(block.begin(), block.end()).size(), 250u) << "not drawn";

    for (const std::uint32_t count : {4096u, kOverwriteChunkSize + 1, 3 * kOverwriteChunkSize, kWriteChunkSize, 10u}) {
        const std::uint8_t* bytes = buffer.bytes(count);
        ASSERT_NE(bytes, nullptr);
        for (std::uint32_t offset = 0; offset < count; offset += kOverwriteChunkSize) {
            const std::uint32_t length = std::min(kOverwriteChunkSize, count - offset);
            EXPECT_EQ(std::memcmp(bytes + offset, block.data(), length), 0) << count << " at " << offset;
        }
    }
}

} // namespace
