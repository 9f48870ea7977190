#pragma once

#include "foundation/UniqueHandle.h"

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

// Windows keeps what a user deleted the ordinary way on each drive in X:\$Recycle.Bin\<SID>\, a
// folder of that user alone, named by the user's security identifier, beside the folders of the
// other users. Each deleted item there is a pair of names: "$R" followed by six characters and
// the item's extension is the item itself (a file, or a folder with its tree), "$I" followed by
// the same is its record (erase/RecycleRecord.h). The folder's desktop.ini is the folder's own.

// How the bin is named to the user, in rows, lines and boxes.
inline constexpr const wchar_t* kRecycleBinName = L"Recycle Bin";

// One name of a pair, as the bin folder's listing shows it.
struct BinEntry {
    std::wstring name;       // empty when the pair lacks it
    DWORD attributes = 0;
    DWORD reparseTag = 0;    // the listing's, for a reparse point
    std::uint64_t bytes = 0; // a file's size; a folder's files together (links inside not counted)

    [[nodiscard]] bool present() const noexcept { return !name.empty(); }
};

// One deleted item: the item ("$R...") and its record ("$I..."), either of which may be missing.
struct RecycledItem {
    std::wstring folder; // the user's bin folder, extended-length
    BinEntry content;
    BinEntry record;

    [[nodiscard]] std::wstring pathOf(const BinEntry& entry) const;
    [[nodiscard]] std::uint64_t bytes() const noexcept { return content.bytes + record.bytes; }
};

// What this user's bin holds on the fixed drives, read without changing anything.
struct RecycleBinContent {
    std::vector<std::wstring> folders;  // the user's bin folder on each drive that has one
    std::vector<RecycledItem> items;    // drive by drive, each drive's by name
    std::vector<std::wstring> problems; // what could not be looked at, as a line says it

    [[nodiscard]] std::uint64_t bytes() const noexcept;
};

// Opens the user's bin folder and holds it, so that nobody can move or delete it while the
// handle is open, when it is a folder at exactly that path, with no link on the way to it (a
// junction put in place of X:\$Recycle.Bin would lead the erase into a folder nobody chose), and
// its owner is this user, SYSTEM or the Administrators, as Windows makes it (on a shared data
// disk another user can make a folder under this user's name). Otherwise none, with what is
// wrong as a line says it ("Skipped Recycle Bin folder owned by another user: %s").
[[nodiscard]] Kestrel::UniqueFileHandle holdBinFolder(const std::wstring& folder, std::wstring& problem);

// The current user's bin on every fixed drive that is not a folder of another drive (subst), each
// volume once. Other users' folders are never listed. Nothing is logged: what could not be looked
// at is in problems.
[[nodiscard]] RecycleBinContent findRecycleBin();
