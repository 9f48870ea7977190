#include "erase/FolderListing.h"

FolderListing::Entry FolderListing::enter(const std::wstring& folder, bool chosen)
{
    auto facts = itemFactsOf(folder);
    if (!facts)
        return Entry::Unknown;
    if (!entered_.insert(facts->identity).second)
        return Entry::Again;
    folders.push_back(ListedFolder{folder, std::move(facts->realPath), facts->identity, facts->attributes, chosen});
    return Entry::First;
}
