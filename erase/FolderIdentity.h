#pragma once

#include <windows.h>

#include <compare>
#include <optional>
#include <string>

// What makes a folder the same folder whatever path leads to it: its volume and its file index.
struct FolderIdentity {
    DWORD volumeSerial = 0;
    DWORD indexHigh = 0;
    DWORD indexLow = 0;

    auto operator<=>(const FolderIdentity&) const = default;
};

// The identity of the folder the path names (a link is resolved to its target); nothing when the
// folder cannot be opened.
[[nodiscard]] std::optional<FolderIdentity> folderIdentityOf(const std::wstring& folder);
