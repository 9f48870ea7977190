#include "erase/PseudoRandom.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace {

// 16807 x mod (2^31 - 1) in 64-bit arithmetic, as the minimal standard defines it; for x != 0
// Schrage's method must agree with it, also for negative x.
std::int32_t minimalStandard(std::int32_t x)
{
    constexpr std::int64_t modulus = 0x7FFFFFFF;
    const std::int64_t product = (16807 * static_cast<std::int64_t>(x)) % modulus;
    return static_cast<std::int32_t>(product < 0 ? product + modulus : product);
}

std::vector<std::uint32_t> draw(PseudoRandom& random, int count)
{
    std::vector<std::uint32_t> values;
    for (int i = 0; i < count; ++i)
        values.push_back(random.next());
    return values;
}

TEST(PseudoRandom, ProducesTheReferenceSequenceForSeedOne)
{
    EXPECT_EQ(PseudoRandom::parkMiller(0), 520932930);
    EXPECT_EQ(PseudoRandom::parkMiller(123459876), 520932930);
    EXPECT_EQ(PseudoRandom::parkMiller(1), 16807);

    PseudoRandom values(256);
    values.seed(1);
    EXPECT_EQ(draw(values, 4), (std::vector<std::uint32_t>{510644794u, 625058908u, 1816371419u, 326864818u}));

    PseudoRandom bytes(256);
    bytes.seed(1);
    std::vector<int> firstBytes;
    for (int i = 0; i < 8; ++i)
        firstBytes.push_back(bytes.nextByte());
    EXPECT_EQ(firstBytes, (std::vector<int>{0x47, 0x8B, 0x1B, 0xF6, 0x68, 0xA4, 0x82, 0x1D}));
}

TEST(PseudoRandom, SeedingLeavesTheFeedbackPositionsWhereTheyStarted)
{
    PseudoRandom random(256);
    ASSERT_EQ(random.degree(), 63);
    random.seed(1);
    EXPECT_EQ(random.frontIndex(), 1);
    EXPECT_EQ(random.rearIndex(), 0);
}

TEST(PseudoRandom, ReseedingRepeatsTheSequenceWhateverCameBefore)
{
    PseudoRandom fresh(256);
    fresh.seed(0x1234u);
    const std::vector<std::uint32_t> expected = draw(fresh, 1000);

    PseudoRandom used(256);
    used.seed(99u);
    static_cast<void>(draw(used, 777));
    used.seed(0x1234u);
    EXPECT_EQ(draw(used, 1000), expected);

    used.seed(0x1235u);
    EXPECT_NE(draw(used, 1000), expected);
}

TEST(PseudoRandom, SeedsFromTwoToTheThirtyFirstOnAreReadAsNegativeAndStayInRange)
{
    for (const std::int32_t x : {INT32_MIN, INT32_MIN + 1, -1, -127773, -127772, 127772, 127773, INT32_MAX - 1,
                                 INT32_MAX, 2, 123459876}) {
        const std::int32_t value = PseudoRandom::parkMiller(x);
        EXPECT_EQ(value, minimalStandard(x)) << x;
        EXPECT_GE(value, 0) << x;
    }

    // A tick count after about 24.8 days of uptime.
    PseudoRandom random(256);
    random.seed(0x80000000u);
    const std::vector<std::uint32_t> values = draw(random, 65536);
    for (const std::uint32_t value : values)
        ASSERT_LE(value, 0x7FFFFFFFu);
    random.seed(0x80000000u);
    EXPECT_EQ(draw(random, 65536), values);
    random.seed(0xFFFFFFFFu);
    EXPECT_NE(draw(random, 65536), values);
}

TEST(PseudoRandom, PicksTheStateTypeByBufferSize)
{
    const std::pair<std::size_t, int> sizes[] = {{8, 0},   {31, 0},  {32, 7},   {63, 7},   {64, 15},
                                                 {127, 15}, {128, 31}, {255, 31}, {256, 63}, {1024, 63}};
    for (const auto& [bytes, degree] : sizes)
        EXPECT_EQ(PseudoRandom(bytes).degree(), degree) << bytes;
}

} // namespace
