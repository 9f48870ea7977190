#pragma once

#include <cstddef>

class StandardStream;

// "Erase these N items? This cannot be undone. [y/N] " ("Erase this item? ..." for one) on the
// console, answered on the console's input: true for y or yes (any case, blanks around allowed),
// false for anything else, an empty line, or input that ends.
[[nodiscard]] bool confirmErase(std::size_t items, const StandardStream& prompt);
