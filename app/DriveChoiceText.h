#pragma once

#include "erase/WipeableDrive.h"

#include <cstdint>
#include <string>

// How a drive is offered: "D:\  Data (NTFS), 12.4 GB free", or "D:\  (NTFS), 12.4 GB free"
// for one without a label.
[[nodiscard]] std::wstring driveChoiceText(const WipeableDrive& drive);
// A byte count as Explorer shows one ("512 bytes", "1.50 KB", "12.4 GB"), in the user's locale.
[[nodiscard]] std::wstring byteCountText(std::uint64_t bytes);
