#pragma once

#include <windows.h>

#include <string>

// Junctions, symbolic links and mount points all carry the reparse attribute. They are never
// entered, overwritten, renamed or removed: the removal calls can act on the link's target.
[[nodiscard]] constexpr bool isLink(DWORD attributes) noexcept
{
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
}

// "Skipped link: %s. " at Error level.
void reportSkippedLink(const std::wstring& path);
// "Skipped hard-linked file: %s. " at Error level.
void reportSkippedHardLink(const std::wstring& path);
