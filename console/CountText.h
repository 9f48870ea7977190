#pragma once

#include <cstdint>
#include <string>

// A count as English reads it: "1 file", "0 files", "2 files". The noun is given in the singular
// and takes an "s" otherwise, as every noun kww counts does (item, file, byte, link).
[[nodiscard]] std::wstring countText(std::uint64_t count, const std::wstring& noun);
