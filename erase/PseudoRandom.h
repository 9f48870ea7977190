#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

// The generator of the overwrite bytes: the additive feedback generator of BSD random(3), state
// filled by the Park-Miller minimal standard generator. Fast, not cryptographic. One generator
// belongs to one thread.
class PseudoRandom {
public:
    // stateBytes selects the state as BSD initstate does: below 32 bytes no additive state, then
    // degree 7, 15, 31 and, from 256 bytes on, 63. The state is seeded from the calendar time.
    explicit PseudoRandom(std::size_t stateBytes);
    PseudoRandom(const PseudoRandom&) = delete;
    PseudoRandom& operator=(const PseudoRandom&) = delete;
    ~PseudoRandom();

    // Rebuilds the whole state from the value; the same seed always gives the same sequence.
    void seed(std::uint32_t value);
    // The next value, 0 to 2^31 - 1.
    [[nodiscard]] std::uint32_t next();
    // Bits 3 to 10 of the next value.
    [[nodiscard]] std::uint8_t nextByte();

    // Park-Miller minimal standard step (16807 x mod 2^31 - 1, Schrage's method), 0 read as
    // 123459876. Every intermediate value stays within signed 32 bits, for every input.
    [[nodiscard]] static std::int32_t parkMiller(std::int32_t x) noexcept;

    // Positions, in words from the first state word (for tests of the state's cycle).
    [[nodiscard]] std::ptrdiff_t frontIndex() const noexcept { return front_ - state_; }
    [[nodiscard]] std::ptrdiff_t rearIndex() const noexcept { return rear_ - state_; }
    [[nodiscard]] int degree() const noexcept { return degree_; }

private:
    std::uint32_t* front_ = nullptr;
    std::uint32_t* rear_ = nullptr;
    std::uint32_t* state_ = nullptr;
    int type_ = 0;
    int degree_ = 0;
    int separation_ = 0;
    std::uint32_t* end_ = nullptr;
    // The header word, then the state words.
    std::unique_ptr<std::uint32_t[]> buffer_;
};
