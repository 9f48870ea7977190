#include "erase/LinkGuard.h"

#include "tests/support/LogCapture.h"

#include <gtest/gtest.h>

// Wine has no reparse tags (a folder link shows tag 0), so this table is what checks the tags a
// Windows disk carries; the link stories under Wine check the tag-0 row end to end.
TEST(ReparseKind, OnlyKnownDataTagsAreErasedAndEveryOtherReparsePointIsALink)
{
    constexpr DWORD reparse = FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DIRECTORY;
    const struct { DWORD attributes, tag; ReparseKind kind; } rows[] = {
        {reparse, IO_REPARSE_TAG_CLOUD, ReparseKind::Data}, {reparse, 0x9000301A, ReparseKind::Data},
        {reparse, 0x80000021, ReparseKind::Data}, // OneDrive before the cloud files API
        {reparse, IO_REPARSE_TAG_DEDUP, ReparseKind::Data}, {reparse, IO_REPARSE_TAG_WOF, ReparseKind::Data},
        {reparse, IO_REPARSE_TAG_SYMLINK, ReparseKind::Link}, {reparse, IO_REPARSE_TAG_MOUNT_POINT, ReparseKind::Link},
        {reparse, 0xA000001D, ReparseKind::Link}, // a WSL symbolic link
        {reparse, 0, ReparseKind::Link}, {reparse, 0x80000099, ReparseKind::Link},
        {reparse, 0x9000001B, ReparseKind::Link}, // beside the cloud tags, not one of them
        {INVALID_FILE_ATTRIBUTES, IO_REPARSE_TAG_SYMLINK, ReparseKind::None},
        {FILE_ATTRIBUTE_DIRECTORY, IO_REPARSE_TAG_SYMLINK, ReparseKind::None},
    };
    for (const auto& row : rows)
        EXPECT_EQ(reparseKindOf(row.attributes, row.tag), row.kind) << std::hex << row.attributes << " " << row.tag;

    KestrelTest::LogCapture log;
    reportSkippedLink(L"C:\\a", reparse, 0x80000099);
    reportSkippedLink(L"C:\\b", reparse, 0);
    EXPECT_TRUE(log.contains(L"Skipped reparse point of an unknown kind (tag 0x80000099): C:\\a. "));
    EXPECT_TRUE(log.contains(L"Skipped link: C:\\b. "));
}
