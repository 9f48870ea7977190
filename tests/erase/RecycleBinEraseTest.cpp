// The Recycle Bin task on bins planted on an NTFS image (ntfs-3g) defined as a fixed drive: this
// user's deleted items and their records go, with nothing of their content or of the paths they
// were deleted from left on the raw image; the bin folder's desktop.ini and another user's bin
// stay byte for byte; an item that cannot be erased keeps its record.
#include "tests/erase/FileChecks.h"
#include "tests/erase/FileHolder.h"
#include "tests/erase/TaskRunner.h"
#include "tests/support/LogCapture.h"
#include "tests/support/MountedVolume.h"
#include "tests/support/PlantedRecycleBin.h"
#include "tests/support/ScratchFolder.h"
#include "tests/support/UnixShell.h"
#include "tests/support/WineDrive.h"
#include "tests/support/WineDriveName.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <memory>

namespace {

using KestrelTest::kOtherUserSid;
using KestrelTest::kWineUserSid;
using KestrelTest::readFile;
using KestrelTest::recycleRecord;
using KestrelTest::writeFile;
using Names = std::vector<std::wstring>;

const std::string kContentMarker = "kww-binned-content";
const std::string kPlaceMarker = "kww-deleted-from";
const std::string kOtherMarker = "kww-other-users-item";

std::wstring wide(const std::string& text)
{
    return {text.begin(), text.end()};
}

// A name as NTFS stores it: UTF-16, little-endian.
std::string utf16(const std::string& text)
{
    std::string bytes;
    for (const char character : text)
        bytes += {character, '\0'};
    return bytes;
}

std::size_t occurrences(const std::string& haystack, const std::string& needle)
{
    std::size_t count = 0;
    for (auto at = haystack.find(needle); at != std::string::npos; at = haystack.find(needle, at + 1))
        ++count;
    return count;
}

Names sorted(Names names)
{
    std::sort(names.begin(), names.end());
    return names;
}

// Every file under the folder with its bytes, by its path below it.
std::map<std::wstring, std::string> treeOf(const std::wstring& folder, const std::wstring& below = {})
{
    std::map<std::wstring, std::string> tree;
    for (const std::wstring& name : namesIn(folder + below)) {
        const std::wstring relative = below + L"\\" + name;
        if (GetFileAttributesW((folder + relative).c_str()) & FILE_ATTRIBUTE_DIRECTORY)
            tree.merge(treeOf(folder, relative));
        else
            tree[relative] = readFile(folder + relative);
    }
    return tree;
}

// An NTFS image mounted on the Linux side and defined as a fixed drive, as the bin's drives are.
struct FixedNtfsDrive {
    KestrelTest::ScratchFolder scratch;
    std::wstring image = scratch / L"volume.img";
    std::unique_ptr<KestrelTest::MountedVolume> volume;
    std::unique_ptr<KestrelTest::WineDrive> drive;

    bool mount(std::string& why)
    {
        const std::wstring folder = scratch / L"volume";
        if (!CreateDirectoryW(folder.c_str(), nullptr)) {
            why = "no mount folder";
            return false;
        }
        volume = KestrelTest::MountedVolume::ntfsImage(folder, image, 16 * 1024, why);
        if (volume)
            drive = KestrelTest::WineDrive::define(folder, KestrelTest::WineDrive::Type::Fixed, why);
        if (drive && !KestrelTest::waitUntilWineNamesTheRoot(drive->root()))
            why = "Wine does not name the volume by its letter";
        return drive && why.empty();
    }
    // Everything written reaches the image.
    std::string rawImage()
    {
        drive.reset();
        return volume->unmount() ? readFile(image) : std::string();
    }
};

// Deleted items of every kind the bin holds: a large file, a small one whose content NTFS keeps in
// its record, a folder with a tree, an item without its record and a record without its item.
void fillBin(const std::wstring& bin)
{
    auto place = [](const std::string& name) { return wide("C:\\Users\\me\\" + kPlaceMarker + "-" + name); };
    const std::string large = recognisableBytes(300 * 1024, kContentMarker);
    const std::string small = recognisableBytes(600, kContentMarker);
    ASSERT_TRUE(writeFlushed(bin + L"\\$RLARGE1.bin", large));
    ASSERT_TRUE(writeFlushed(bin + L"\\$ILARGE1.bin", recycleRecord(2, large.size(), place("large.bin"))));
    ASSERT_TRUE(writeFlushed(bin + L"\\$RSMALL1.txt", small));
    ASSERT_TRUE(writeFlushed(bin + L"\\$ISMALL1.txt", recycleRecord(1, small.size(), place("small.txt"))));
    ASSERT_TRUE(CreateDirectoryW((bin + L"\\$RTREE01").c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryW((bin + L"\\$RTREE01\\inner").c_str(), nullptr));
    ASSERT_TRUE(writeFlushed(bin + L"\\$RTREE01\\inner\\a.txt", recognisableBytes(5000, kContentMarker)));
    ASSERT_TRUE(writeFlushed(bin + L"\\$RTREE01\\b.txt", recognisableBytes(500, kContentMarker)));
    ASSERT_TRUE(writeFlushed(bin + L"\\$ITREE01", recycleRecord(2, 5500, place("tree"))));
    ASSERT_TRUE(writeFlushed(bin + L"\\$RLONE01.dat", recognisableBytes(700, kContentMarker)));
    ASSERT_TRUE(writeFlushed(bin + L"\\$ILONE02.txt", recycleRecord(2, 10, place("lone.txt"))));
}

} // namespace

TEST(RecycleBinErase, ThisUsersDeletedItemsGoWithoutTraceAndNothingElseChanges)
{
    FixedNtfsDrive ntfs;
    std::string why;
    if (!KestrelTest::runningUnderWine() || !ntfs.mount(why))
        GTEST_SKIP() << "no NTFS image defined as a fixed drive: " << why;
    const std::wstring mine = KestrelTest::plantRecycleBin(ntfs.drive->root(), kWineUserSid);
    const std::wstring theirs = KestrelTest::plantRecycleBin(ntfs.drive->root(), kOtherUserSid);
    ASSERT_FALSE(mine.empty() || theirs.empty());
    fillBin(mine);
    ASSERT_TRUE(writeFlushed(theirs + L"\\$ROTHER1.txt", recognisableBytes(800, kOtherMarker)));
    ASSERT_TRUE(writeFlushed(theirs + L"\\$IOTHER1.txt", recycleRecord(2, 800, wide("C:\\" + kOtherMarker))));
    const std::string desktopIni = readFile(mine + L"\\desktop.ini");
    const auto theirsBefore = treeOf(theirs);

    {
        // Held by another process, the small file cannot be erased: it keeps its record and fails
        // the task, while every other item goes.
        const FileHolder holder(mine + L"\\$RSMALL1.txt");
        ASSERT_TRUE(holder.holding());
        const KestrelTest::LogCapture log;
        const TaskOutcome held = runTask(L"Recycle Bin", ItemKind::RecycleBin);
        ASSERT_TRUE(held.finished);
        EXPECT_EQ(held.status, EraseStatus::Failed);
        EXPECT_TRUE(log.contains(L"ERROR: \tFailed to erase: " + mine + L"\\$RSMALL1.txt. \r\n"));
        EXPECT_EQ(sorted(namesIn(mine)), (Names{L"$ISMALL1.txt", L"$RSMALL1.txt", L"desktop.ini"}));
    }
    const TaskOutcome erased = runTask(L"Recycle Bin", ItemKind::RecycleBin);
    ASSERT_TRUE(erased.finished);
    EXPECT_EQ(erased.status, EraseStatus::Done);
    EXPECT_EQ(namesIn(mine), Names{L"desktop.ini"});
    EXPECT_EQ(readFile(mine + L"\\desktop.ini"), desktopIni);
    EXPECT_EQ(treeOf(theirs), theirsBefore);

    const std::string image = ntfs.rawImage();
    ASSERT_FALSE(image.empty());
    EXPECT_EQ(occurrences(image, kContentMarker), 0u);
    EXPECT_EQ(occurrences(image, utf16(kPlaceMarker)), 0u);
    // What stays is found where it was: the search would have seen the rest.
    EXPECT_GT(occurrences(image, kOtherMarker), 0u);
    EXPECT_GT(occurrences(image, utf16(kOtherMarker)), 0u);
}
