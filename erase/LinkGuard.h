#pragma once

#include <windows.h>

#include <string>

// What a reparse point is to the erase. Junctions, symbolic links, mount points and WSL links name
// another item: they are never entered, overwritten, renamed or removed, since the removal calls
// can act on the link's target. Some tags mark a file or folder that holds its own data (a sync
// client's placeholder, a deduplicated or system-compressed file): those are erased like any
// other. A tag not known to be one of those may name another item, and so counts as a link; so
// does tag 0, which is all Wine shows for a link to a folder.
enum class ReparseKind {
    None, // no reparse point at all (or attributes that could not be read)
    Data, // a tag known to hold the item's own data
    Link, // a name surrogate, or a tag that is unknown, 0 or could not be read
};

// The tags of sync clients' files: the cloud files API's, which differ only in the mask's bits,
// and OneDrive's own from before that API.
[[nodiscard]] constexpr bool isCloudTag(DWORD tag) noexcept
{
    return (tag & ~IO_REPARSE_TAG_CLOUD_MASK) == IO_REPARSE_TAG_CLOUD || tag == IO_REPARSE_TAG_ONEDRIVE;
}

[[nodiscard]] constexpr ReparseKind reparseKindOf(DWORD attributes, DWORD tag) noexcept
{
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0)
        return ReparseKind::None;
    if (IsReparseTagNameSurrogate(tag))
        return ReparseKind::Link;
    const bool data = isCloudTag(tag) || tag == IO_REPARSE_TAG_DEDUP || tag == IO_REPARSE_TAG_WOF;
    return data ? ReparseKind::Data : ReparseKind::Link;
}

[[nodiscard]] constexpr bool isLink(DWORD attributes, DWORD tag) noexcept
{
    return reparseKindOf(attributes, tag) == ReparseKind::Link;
}

// The tag a listing's entry carries; the field holds it only for a reparse point.
[[nodiscard]] constexpr DWORD reparseTagOf(const WIN32_FIND_DATAW& entry) noexcept
{
    return (entry.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0 ? entry.dwReserved0 : 0;
}

// The tag of the item a handle holds, read only when the attributes read through it show a
// reparse point; 0 when there is none or it cannot be read.
[[nodiscard]] DWORD reparseTagOf(HANDLE handle, DWORD attributes) noexcept;

// "Skipped link: %s. " at Error level.
void reportSkippedLink(const std::wstring& path);
// The same for an item skipped on what its attributes and tag say: a tag that is neither 0 nor
// a name surrogate is named, "Skipped reparse point of an unknown kind (tag 0x%08X): %s. ".
void reportSkippedLink(const std::wstring& path, DWORD attributes, DWORD tag);
// "Skipped hard-linked file: %s. " at Error level.
void reportSkippedHardLink(const std::wstring& path);
