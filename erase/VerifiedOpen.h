#pragma once

#include "erase/FolderIdentity.h"
#include "erase/FolderListing.h"
#include "foundation/FileSpec.h"

#include <string>

// Where an opened item turned out to be.
enum class Place {
    Listed,    // in the folder the listing found it in, under the listed name
    Elsewhere, // somewhere else: a link the attributes did not show, or a swap since the listing
    Unknown,   // its real path could not be read
};

// Compares where the item really is (its handle's final path) with the real path of the folder
// that was listed plus the listed name.
[[nodiscard]] Place placeOf(const ItemFacts& facts, const ListedFolder& holder, const std::wstring& name);

enum class OpenOutcome { Opened, Failed, Link };

// Opens a listed file for its erase and proves that the handle holds the item the listing named,
// before anything is changed; a read-only file is made writable through its own handle. The facts
// are those of the opened file, its identity read only for a name ending in a dot or blank. A file
// that is not where it was listed is closed untouched. A file whose data is elsewhere
// (isOnlineOnly in its listed attributes and its facts) is never opened for its data: its handle
// serves its removal alone. After Failed the thread's last error says why the open was refused.
[[nodiscard]] OpenOutcome openListedFile(Kestrel::FileSpec& file, const ListedFolder& holder, const std::wstring& name,
                                         DWORD listedAttributes, ItemFacts& facts);
