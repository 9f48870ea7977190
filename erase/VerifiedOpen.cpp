#include "erase/VerifiedOpen.h"

#include "erase/DataElsewhere.h"
#include "erase/LinkGuard.h"
#include "foundation/ExtendedPath.h"
#include "foundation/Logger.h"

namespace {

std::wstring withoutTrailingDotsAndBlanks(std::wstring name)
{
    while (!name.empty() && (name.back() == L'.' || name.back() == L' '))
        name.pop_back();
    return name;
}

enum class Access { Erase, Removal, Attributes, Query };

bool openFor(Kestrel::FileSpec& file, Access access)
{
    switch (access) {
    case Access::Erase:
        return file.openForErase();
    case Access::Removal:
        return file.openForRemoval();
    case Access::Attributes:
        return file.openForAttributes();
    case Access::Query:
        return file.openForQuery();
    }
    return false;
}

// Opens and reads the file; Link when it is not where it was listed.
OpenOutcome openAndPlace(Kestrel::FileSpec& file, Access access, const ListedFolder& holder, const std::wstring& name,
                         ItemFacts& facts)
{
    if (!openFor(file, access))
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
        // link itself was opened; either way such an item is not erased. A sync client's
        // placeholder keeps its attribute and tag through the handle: the tag read here, not the
        // listing's, decides, so an item swapped since the listing is judged by what it is now.
        if ((facts.attributes & FILE_ATTRIBUTE_DIRECTORY) == 0 && !isLink(facts.attributes, facts.reparseTag))
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

namespace {

// Wine changes a file's attributes through its Unix file opened for writing, which a user may not
// do to a read-only file: the open for attributes fails with ERROR_ACCESS_DENIED where Windows
// grants it, while a change by path works. The change by path is made while a handle without
// access rights holds the listed file, and that handle then shows whether the change reached it:
// if the path led elsewhere meanwhile, the held file is still read-only.
OpenOutcome clearReadOnlyByPath(Kestrel::FileSpec& held, DWORD attributes)
{
    if (!held.clearReadOnlyByPath(attributes))
        return OpenOutcome::Failed;
    FILE_BASIC_INFO basic{};
    if (!GetFileInformationByHandleEx(held.handle(), FileBasicInfo, &basic, sizeof basic)) {
        Kestrel::reportFileError(held.path());
        return OpenOutcome::Failed;
    }
    if ((basic.FileAttributes & FILE_ATTRIBUTE_READONLY) != 0)
        return OpenOutcome::Link;
    Kestrel::Logger::instance().log(Kestrel::LogLevel::Info, L"Read-only attribute cleared: %s. ",
                                    Kestrel::displayPath(held.path()).c_str());
    return OpenOutcome::Opened;
}

// Windows refuses write access to a read-only file: the attribute goes first, through a handle
// that is proven to hold the listed file. The handle is closed afterwards.
OpenOutcome makeListedFileWritable(Kestrel::FileSpec& file, const ListedFolder& holder, const std::wstring& name,
                                   ItemFacts& facts)
{
    OpenOutcome outcome = openAndPlace(file, Access::Attributes, holder, name, facts);
    const bool byPath = outcome == OpenOutcome::Failed && GetLastError() == ERROR_ACCESS_DENIED;
    if (byPath)
        outcome = openAndPlace(file, Access::Query, holder, name, facts);
    if (outcome == OpenOutcome::Opened) {
        if ((facts.attributes & FILE_ATTRIBUTE_READONLY) == 0)
            outcome = OpenOutcome::Failed;
        else if (byPath)
            outcome = clearReadOnlyByPath(file, facts.attributes);
        else if (!file.clearReadOnly(facts.attributes))
            outcome = OpenOutcome::Failed;
    }
    file.closeHandle();
    return outcome;
}

// A file whose data is here is opened for its overwrite; a read-only one is made writable first.
OpenOutcome openForOverwrite(Kestrel::FileSpec& file, const ListedFolder& holder, const std::wstring& name,
                             ItemFacts& facts)
{
    OpenOutcome outcome = openAndPlace(file, Access::Erase, holder, name, facts);
    if (outcome == OpenOutcome::Failed && GetLastError() == ERROR_ACCESS_DENIED) {
        // The item may change between the two opens: the second one proves it again.
        outcome = makeListedFileWritable(file, holder, name, facts);
        if (outcome == OpenOutcome::Opened)
            outcome = openAndPlace(file, Access::Erase, holder, name, facts);
        else if (outcome == OpenOutcome::Failed)
            SetLastError(ERROR_ACCESS_DENIED); // the refusal is the reason, not how clearing the attribute ended
    }
    if (outcome != OpenOutcome::Opened || isOnlineOnly(facts.attributes))
        return outcome;
    if ((facts.attributes & FILE_ATTRIBUTE_READONLY) != 0 && !file.clearReadOnly(facts.attributes)) {
        file.closeHandle();
        return OpenOutcome::Failed;
    }
    return OpenOutcome::Opened;
}

// A file whose data is elsewhere is opened for its removal alone; a read-only one cannot be
// deleted, so the attribute goes first.
OpenOutcome openForRemoval(Kestrel::FileSpec& file, const ListedFolder& holder, const std::wstring& name,
                           ItemFacts& facts)
{
    OpenOutcome outcome = openAndPlace(file, Access::Removal, holder, name, facts);
    if (outcome != OpenOutcome::Opened || !isOnlineOnly(facts.attributes) ||
        (facts.attributes & FILE_ATTRIBUTE_READONLY) == 0)
        return outcome;
    file.closeHandle();
    outcome = makeListedFileWritable(file, holder, name, facts);
    return outcome == OpenOutcome::Opened ? openAndPlace(file, Access::Removal, holder, name, facts) : outcome;
}

} // namespace

OpenOutcome openListedFile(Kestrel::FileSpec& file, const ListedFolder& holder, const std::wstring& name,
                           DWORD listedAttributes, ItemFacts& facts)
{
    // A handle with a right to the data of a file whose data is elsewhere is one call away from
    // fetching it, and an item that even an open fetches says so in listings only: the listing
    // chooses the first open. The handle's facts have the last word: a file that changed since
    // the listing is opened the other way, once.
    DWORD listedTag = 0;
    addHookedFacts(Kestrel::childPath(holder.path, name), listedAttributes, listedTag);
    bool online = isOnlineOnly(listedAttributes);
    for (int opens = 0; opens < 2; ++opens, online = !online) {
        const OpenOutcome outcome =
            online ? openForRemoval(file, holder, name, facts) : openForOverwrite(file, holder, name, facts);
        if (outcome != OpenOutcome::Opened || isOnlineOnly(facts.attributes) == online)
            return outcome;
        file.closeHandle();
    }
    return OpenOutcome::Failed;
}
