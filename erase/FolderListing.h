#pragma once

#include "erase/FolderIdentity.h"
#include "foundation/FileSpec.h"

#include <cstdint>
#include <set>
#include <string>
#include <vector>

// What a folder task found: every item in listing order (each folder before its content), the
// byte total of the files, and whether links were left out.
class FolderListing {
public:
    enum class Entry {
        First,   // not entered before: list it now
        Again,   // the same folder was entered before, under this or another path
        Unknown, // its identity cannot be read, so it is not entered
    };

    // Records that the folder is about to be listed.
    [[nodiscard]] Entry enter(const std::wstring& folder);

    std::vector<Kestrel::FileSpec> items;
    std::uint64_t totalBytes = 0;
    bool linksSkipped = false;

private:
    std::set<FolderIdentity> entered_;
};
