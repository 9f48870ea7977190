#pragma once

#include <compare>
#include <cstddef>

namespace Kestrel {

// Where a column is on screen: 0 is the leftmost. Dragging a column changes positions, never a
// column's ColumnId; geometry, painting and hit tests work in positions.
class ColumnPosition {
public:
    constexpr ColumnPosition() noexcept = default;
    constexpr explicit ColumnPosition(int value) noexcept : value_(value) {}

    [[nodiscard]] constexpr int value() const noexcept { return value_; }
    [[nodiscard]] constexpr bool valid() const noexcept { return value_ >= 0; }
    // Where the column's record is in the list's columns; call on a valid position only.
    [[nodiscard]] constexpr std::size_t index() const noexcept { return static_cast<std::size_t>(value_); }
    [[nodiscard]] constexpr ColumnPosition movedBy(int steps) const noexcept { return ColumnPosition(value_ + steps); }
    constexpr ColumnPosition& operator++() noexcept
    {
        ++value_;
        return *this;
    }

    friend constexpr auto operator<=>(ColumnPosition, ColumnPosition) noexcept = default;

private:
    int value_ = -1; // none
};

} // namespace Kestrel
