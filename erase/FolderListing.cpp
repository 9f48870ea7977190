#include "erase/FolderListing.h"

FolderListing::Entry FolderListing::enter(const std::wstring& folder)
{
    const auto identity = folderIdentityOf(folder);
    if (!identity)
        return Entry::Unknown;
    return entered_.insert(*identity).second ? Entry::First : Entry::Again;
}
