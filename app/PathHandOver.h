#pragma once

#include <windows.h>

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

// A later start of the program hands its paths to the running one in one WM_COPYDATA message:
// dwData is kPathHandOverIdentifier, lpData the paths in UTF-16, each ended by a NUL, and one more
// NUL after the last. The receiver reads the block only while the message is being sent (the
// system frees its copy afterwards) and answers TRUE when it took the block.
inline constexpr ULONG_PTR kPathHandOverIdentifier = 0x4B575750; // "KWWP"
// The longest path Windows can name, in UTF-16 units, without its terminator.
inline constexpr std::size_t kLongestHandedPath = 32767;

// The block for the paths. An empty path cannot be told from the block's end and is left out;
// empty when no path is left.
[[nodiscard]] std::wstring packHandedPaths(const std::vector<std::wstring>& paths);

// The paths of a block, or nothing when the block is not one of ours or is malformed: another
// identifier, no data, an odd number of bytes, a missing terminator, an empty path before the
// end, or a path longer than kLongestHandedPath.
[[nodiscard]] std::optional<std::vector<std::wstring>> unpackHandedPaths(const COPYDATASTRUCT& block);

enum class HandOver {
    Taken,
    Refused,       // the window answered FALSE: not ready for them, or not ours
    NoAnswer,      // not within the bound, or hung: it may still take them later
    NothingToSend, // no path that the block can carry
};

// Sends the paths to the window and waits for its answer, at most the bound.
[[nodiscard]] HandOver handPathsOver(HWND window, const std::vector<std::wstring>& paths, UINT boundMilliseconds);
