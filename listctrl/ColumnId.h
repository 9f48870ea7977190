#pragma once

namespace Kestrel {

// A column's identifier: the position it was added at, which it keeps wherever the user drags
// it. Cell data, notifications and what the list remembers about a column (focus, hot and sort
// column) name columns by it; ColumnPosition is where a column is on screen now.
class ColumnId {
public:
    constexpr ColumnId() noexcept = default;
    constexpr explicit ColumnId(int value) noexcept : value_(value) {}

    // The number the callbacks and notifications carry as a sub-item.
    [[nodiscard]] constexpr int value() const noexcept { return value_; }
    [[nodiscard]] constexpr bool valid() const noexcept { return value_ >= 0; }

    friend constexpr bool operator==(ColumnId, ColumnId) noexcept = default;

private:
    int value_ = -1; // none
};

} // namespace Kestrel
