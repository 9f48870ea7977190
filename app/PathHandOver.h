#pragma once

#include "app/HandedPaths.h"

#include <windows.h>

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

// A later start of the program hands its words to the running one in one WM_COPYDATA message:
// dwData is kPathHandOverIdentifier for paths, kFreeSpaceHandOverIdentifier for the drive words
// of the free-space switch and kRecycleBinHandOverIdentifier for the Recycle Bin (its one word is
// the switch), lpData the words in UTF-16, each ended by a NUL, and one more NUL after the
// last. The receiver reads the block only while the message is being sent (the system
// frees its copy afterwards) and answers TRUE when it took the block. The switch travels as an
// identifier of its own, so that a copy that knows no free space refuses the drives whole rather
// than taking them for folders.
inline constexpr ULONG_PTR kPathHandOverIdentifier = 0x4B575750;      // "KWWP"
inline constexpr ULONG_PTR kFreeSpaceHandOverIdentifier = 0x4B575746; // "KWWF"
inline constexpr ULONG_PTR kRecycleBinHandOverIdentifier = 0x4B575752; // "KWWR"
// The longest path Windows can name, in UTF-16 units, without its terminator.
inline constexpr std::size_t kLongestHandedPath = 32767;

// The block for the words. An empty word cannot be told from the block's end and is left out;
// empty when no word is left.
[[nodiscard]] std::wstring packHandedPaths(const std::vector<std::wstring>& paths);

// The words of a block and their kind, or nothing when the block is not one of ours or is
// malformed: another identifier, no data, an odd number of bytes, a missing terminator, an empty
// word before the end, or a word longer than kLongestHandedPath.
[[nodiscard]] std::optional<HandedItems> unpackHandedItems(const COPYDATASTRUCT& block);

enum class HandOver {
    Taken,
    Refused,       // the window answered FALSE: not ready for them, or not ours
    NoAnswer,      // not within the bound, or hung: it may still take them later
    NothingToSend, // no word that the block can carry
};

// Sends the words to the window and waits for its answer, at most the bound.
[[nodiscard]] HandOver handItemsOver(HWND window, const HandedItems& items, UINT boundMilliseconds);
