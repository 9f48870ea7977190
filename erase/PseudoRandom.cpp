#include "erase/PseudoRandom.h"

#include <algorithm>
#include <ctime>

namespace {

struct StateShape {
    int type;
    int degree;
    int separation;
};

// The five state types of BSD random(3), by the size of the state buffer in bytes.
StateShape shapeFor(std::size_t stateBytes) noexcept
{
    if (stateBytes < 32)
        return {0, 0, 0};
    if (stateBytes < 64)
        return {1, 7, 3};
    if (stateBytes < 128)
        return {2, 15, 1};
    if (stateBytes < 256)
        return {3, 31, 3};
    return {4, 63, 1};
}

// Values drawn and dropped after seeding, for type 0 (more for the others: ten per state word).
constexpr int kType0Discards = 50;
// The header packs type and rear position as BSD initstate stores them.
constexpr std::uint32_t kTypeCount = 5;
// The smallest buffer that holds the header and one state word; smaller sizes are raised to it.
constexpr std::size_t kMinimumStateBytes = 8;

} // namespace

PseudoRandom::PseudoRandom(std::size_t stateBytes)
{
    const std::size_t bytes = std::max(stateBytes, kMinimumStateBytes);
    const StateShape shape = shapeFor(bytes);
    buffer_ = std::make_unique<std::uint32_t[]>((bytes + sizeof(std::uint32_t) - 1) / sizeof(std::uint32_t));
    type_ = shape.type;
    degree_ = shape.degree;
    separation_ = shape.separation;
    state_ = buffer_.get() + 1;
    end_ = state_ + degree_;
    front_ = state_ + separation_;
    rear_ = state_;
    seed(static_cast<std::uint32_t>(std::time(nullptr)));
    buffer_[0] = type_ == 0 ? 0u : static_cast<std::uint32_t>(type_) + kTypeCount * static_cast<std::uint32_t>(rear_ - state_);
}

PseudoRandom::~PseudoRandom() = default;

std::int32_t PseudoRandom::parkMiller(std::int32_t x) noexcept
{
    constexpr std::int32_t kQuotient = 127773;   // 2^31 - 1 divided by 16807
    constexpr std::int32_t kRemainder = 2836;    // 2^31 - 1 modulo 16807
    constexpr std::int32_t kMultiplier = 16807;
    constexpr std::int32_t kModulus = 0x7FFFFFFF;
    if (x == 0)
        x = 123459876;
    const std::int32_t hi = x / kQuotient;
    const std::int32_t lo = x % kQuotient;
    x = kMultiplier * lo - kRemainder * hi;
    if (x < 0)
        x += kModulus;
    return x;
}

void PseudoRandom::seed(std::uint32_t value)
{
    state_[0] = value;
    if (type_ == 0) {
        for (int i = 0; i < kType0Discards; ++i)
            static_cast<void>(next());
        return;
    }
    for (int i = 1; i < degree_; ++i)
        state_[i] = static_cast<std::uint32_t>(parkMiller(static_cast<std::int32_t>(state_[i - 1])));
    front_ = state_ + separation_;
    rear_ = state_;
    for (int i = 0; i < 10 * degree_; ++i)
        static_cast<void>(next());
}

std::uint32_t PseudoRandom::next()
{
    if (type_ == 0) {
        state_[0] = static_cast<std::uint32_t>(parkMiller(static_cast<std::int32_t>(state_[0]))) & 0x7FFFFFFFu;
        return state_[0];
    }
    *front_ += *rear_;
    const std::uint32_t result = *front_ >> 1;
    if (++front_ >= end_) {
        front_ = state_;
        ++rear_;
    } else if (++rear_ >= end_) {
        rear_ = state_;
    }
    return result;
}

std::uint8_t PseudoRandom::nextByte()
{
    return static_cast<std::uint8_t>((next() >> 3) & 0xFFu);
}
