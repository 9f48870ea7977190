#include "erase/VerifiedOpen.h"

#include "foundation/ExtendedPath.h"

namespace {

std::wstring withoutTrailingDotsAndBlanks(std::wstring name)
{
    while (!name.empty() && (name.back() == L'.' || name.back() == L' '))
        name.pop_back();
    return name;
}

// Opens and reads the file; Link when it is not where it was listed.
OpenOutcome openAndPlace(Kestrel::FileSpec& file, bool forErase, const ListedFolder& holder,
                         const std::wstring& name, ItemFacts& facts)
{
    if (!(forErase ? file.openForErase() : file.openForAttributes()))
        return OpenOutcome::Failed;
    // Only a name that Wine shows stripped needs the identity (see placeOf).
    const bool stripped = !name.empty() && (name.back() == L'.' || name.back() == L' ');
    const auto read = itemFactsOf(file.handle(), stripped);
    if (!read) {
        file.closeHandle();
        return OpenOutcome::Failed;
    }
    facts = *read;
    switch (placeOf(facts, holder, name)) {
    case Place::Listed:
        // On Windows a handle opened through a link shows the link's attribute only when the
        // link itself was opened; either way such an item is not erased.
        if ((facts.attributes & (FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DIRECTORY)) == 0)
            return OpenOutcome::Opened;
        break;
    case Place::Elsewhere:
        break;
    case Place::Unknown:
        file.closeHandle();
        return OpenOutcome::Failed;
    }
    file.closeHandle();
    return OpenOutcome::Link;
}

} // namespace

Place placeOf(const ItemFacts& facts, const ListedFolder& holder, const std::wstring& name)
{
    if (facts.realPath.empty() || holder.realPath.empty())
        return Place::Unknown;
    if (facts.realPath == Kestrel::childPath(holder.realPath, name))
        return Place::Listed;
    // Wine gives a handle's path in the Win32 form, trailing dots and blanks stripped: the handle
    // on "x." reads as "x". It holds either "x." itself or, through a link, "x": the identity of
    // "x" tells them apart.
    const std::wstring stripped = withoutTrailingDotsAndBlanks(name);
    if (stripped.empty() || stripped == name || facts.realPath != Kestrel::childPath(holder.realPath, stripped))
        return Place::Elsewhere;
    const auto sibling = itemFactsOf(Kestrel::childPath(holder.path, stripped));
    return sibling && sibling->identity == facts.identity ? Place::Elsewhere : Place::Listed;
}

OpenOutcome openListedFile(Kestrel::FileSpec& file, const ListedFolder& holder, const std::wstring& name,
                           ItemFacts& facts)
{
    OpenOutcome outcome = openAndPlace(file, true, holder, name, facts);
    if (outcome == OpenOutcome::Failed && GetLastError() == ERROR_ACCESS_DENIED) {
        // Windows refuses write access to a read-only file: the attribute goes first, through a
        // handle that is proven to hold the listed file.
        outcome = openAndPlace(file, false, holder, name, facts);
        if (outcome != OpenOutcome::Opened)
            return outcome;
        const bool cleared = (facts.attributes & FILE_ATTRIBUTE_READONLY) != 0 && file.clearReadOnly(facts.attributes);
        file.closeHandle();
        if (!cleared) {
            SetLastError(ERROR_ACCESS_DENIED);
            return OpenOutcome::Failed;
        }
        outcome = openAndPlace(file, true, holder, name, facts);
    }
    if (outcome != OpenOutcome::Opened)
        return outcome;
    if ((facts.attributes & FILE_ATTRIBUTE_READONLY) != 0 && !file.clearReadOnly(facts.attributes)) {
        file.closeHandle();
        return OpenOutcome::Failed;
    }
    return OpenOutcome::Opened;
}
