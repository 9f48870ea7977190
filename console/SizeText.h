#pragma once

#include <cstdint>
#include <string>

// A size as people read it beside the exact bytes, the shell's wording in the user's format:
// "2.4 GB (2,621,440,027 bytes)"; below a kilobyte only the bytes ("12 bytes", "1 byte").
[[nodiscard]] std::wstring sizeText(std::uint64_t bytes);
// The same for a place already in brackets: "2.4 GB, 2,621,440,027 bytes".
[[nodiscard]] std::wstring sizeTextInBrackets(std::uint64_t bytes);
