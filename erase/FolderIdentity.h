#pragma once

#include <windows.h>

#include <compare>
#include <cstdint>
#include <optional>
#include <string>

// What makes an item the same item whatever path leads to it: its volume and its file index.
struct FolderIdentity {
    DWORD volumeSerial = 0;
    DWORD indexHigh = 0;
    DWORD indexLow = 0;

    auto operator<=>(const FolderIdentity&) const = default;
};

[[nodiscard]] FolderIdentity identityOf(const BY_HANDLE_FILE_INFORMATION& information) noexcept;

// What an item is, read through one handle: its identity, where it really is (links resolved,
// extended-length form), its attributes (and reparse tag), its number of names and its size.
struct ItemFacts {
    FolderIdentity identity;
    std::wstring realPath;
    DWORD attributes = 0;
    DWORD links = 0;
    std::uint64_t size = 0;
    DWORD reparseTag = 0; // read only for a reparse point; 0 when it cannot be read
    // Read only for a file whose data is elsewhere: parts of it were downloaded to this disk.
    bool partlyHere = false;
};

// The facts of the file or folder the path names (a link is resolved to its target), read
// without any access right; nothing when it cannot be opened or read.
[[nodiscard]] std::optional<ItemFacts> itemFactsOf(const std::wstring& path);
// The same through a handle already open. Without the identity, its volume part is not asked
// for: under Wine that question goes to another process and costs more than the rest together.
[[nodiscard]] std::optional<ItemFacts> itemFactsOf(HANDLE handle, bool withIdentity = true);
// The identity alone, through a handle already open.
[[nodiscard]] std::optional<FolderIdentity> identityOf(HANDLE handle);

// Wine's file systems show no cloud files, compression or reparse tags, which Windows reports in
// listings and through handles. A test may add them, by the item's path, to what the erase reads:
// the facts read through a handle (itemFactsOf) and the listed attributes that choose a file's
// first open (openListedFile). Everything after the hook is the program's own code. None is set
// in the programs.
using ItemFactsHook = void (*)(const std::wstring& path, DWORD& attributes, DWORD& reparseTag);
void setItemFactsHook(ItemFactsHook hook) noexcept;
// Hands the attributes and tag read of the item at the path to the hook, if one is set.
void addHookedFacts(const std::wstring& path, DWORD& attributes, DWORD& reparseTag);
