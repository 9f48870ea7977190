// The Recycle Bin task on bins planted on an NTFS image (ntfs-3g) defined as a fixed drive: this
// user's deleted items and their records go, with nothing of their content or of the paths they
// were deleted from left on the raw image; the bin folder's desktop.ini and another user's bin
// stay byte for byte; an item that cannot be erased keeps its record.
#include "erase/FolderListing.h"

#include "tests/erase/FileChecks.h"
#include "tests/erase/FileHolder.h"
#include "tests/erase/TaskRunner.h"
#include "tests/support/LogCapture.h"
#include "tests/support/MountedVolume.h"
#include "tests/support/PlantedRecycleBin.h"
#include "tests/support/ScratchFolder.h"
#include "tests/support/UnixShell.h"

#include <gtest/gtest.h>

namespace {

using KestrelTest::filesIn;
using KestrelTest::recycleRecord;
using KestrelTest::shellQuoted;
using KestrelTest::writeFile;

const std::string kContent = "kww-binned-content";
const std::string kOtherContent = "kww-other-users-item";
const std::wstring kPlace = L"C:\\kww-deleted-from";

// Text as NTFS and the records store it: UTF-16, little-endian.
std::string utf16(const std::wstring& text)
{
    std::string bytes;
    for (const wchar_t character : text)
        bytes += {static_cast<char>(character), '\0'};
    return bytes;
}

// A small file whose content NTFS keeps in its file record, a folder with a larger one in its
// tree, an item without its record and a record without its item.
void fillBin(const std::wstring& bin)
{
    ASSERT_TRUE(writeFlushed(bin + L"\\$RSMALL1.txt", recognisableBytes(600, kContent)));
    ASSERT_TRUE(writeFlushed(bin + L"\\$ISMALL1.txt", recycleRecord(1, 600, kPlace + L"\\small.txt")));
    ASSERT_TRUE(CreateDirectoryW((bin + L"\\$RTREE01").c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryW((bin + L"\\$RTREE01\\inner").c_str(), nullptr));
    ASSERT_TRUE(writeFlushed(bin + L"\\$RTREE01\\inner\\a.txt", recognisableBytes(300 * 1024, kContent)));
    ASSERT_TRUE(writeFlushed(bin + L"\\$ITREE01", recycleRecord(2, 300 * 1024, kPlace + L"\\tree")));
    ASSERT_TRUE(writeFlushed(bin + L"\\$RLONE01.dat", recognisableBytes(700, kContent)));
    ASSERT_TRUE(writeFlushed(bin + L"\\$ILONE02.txt", recycleRecord(2, 10, kPlace + L"\\lone.txt")));
}

} // namespace

TEST(RecycleBinErase, ThisUsersDeletedItemsGoWithoutTraceAndNothingElseChanges)
{
    KestrelTest::ScratchFolder scratch;
    const std::wstring mount = scratch / L"volume", image = scratch / L"volume.img";
    std::string why;
    auto volume = CreateDirectoryW(mount.c_str(), nullptr)
                      ? KestrelTest::MountedVolume::ntfsImage(mount, image, 16 * 1024, why)
                      : nullptr;
    KestrelTest::PlantedBins bins = volume ? KestrelTest::plantBins(mount, why) : KestrelTest::PlantedBins{};
    if (bins.mine.empty())
        GTEST_SKIP() << "no bins on an NTFS image as a fixed drive: " << why;
    fillBin(bins.mine);
    ASSERT_TRUE(writeFlushed(bins.theirs + L"\\$ROTHER1.txt", recognisableBytes(800, kOtherContent)));
    ASSERT_TRUE(writeFlushed(bins.theirs + L"\\$IOTHER1.txt", recycleRecord(2, 800, L"C:\\kww-other-place")));
    const auto desktopIni = filesIn(bins.mine).at(L"desktop.ini");
    const auto theirs = filesIn(bins.theirs);
    {
        // Held by another process, the small file cannot be erased: it keeps its record and fails
        // the task, while every other item goes.
        const FileHolder holder(bins.mine + L"\\$RSMALL1.txt");
        ASSERT_TRUE(holder.holding());
        const KestrelTest::LogCapture log;
        const TaskOutcome held = runTask(L"Recycle Bin", ItemKind::RecycleBin);
        EXPECT_EQ(held.status, EraseStatus::Failed);
        EXPECT_TRUE(log.contains(L"ERROR: \tFailed to erase: " + bins.mine + L"\\$RSMALL1.txt. \r\n"));
        EXPECT_EQ(filesIn(bins.mine).size(), 3u) << "the held item, its record and desktop.ini";
        EXPECT_TRUE(exists(bins.mine + L"\\$ISMALL1.txt"));
    }
    EXPECT_EQ(runTask(L"Recycle Bin", ItemKind::RecycleBin).status, EraseStatus::Done);
    EXPECT_EQ(filesIn(bins.mine), (std::map<std::wstring, std::string>{{L"desktop.ini", desktopIni}}));
    EXPECT_EQ(filesIn(bins.theirs), theirs);

    bins.drive.reset();
    ASSERT_TRUE(volume->unmount());
    const std::string raw = KestrelTest::readFile(image);
    EXPECT_EQ(raw.find(kContent), std::string::npos);
    EXPECT_EQ(raw.find(utf16(kPlace)), std::string::npos);
    // What stays is found where it is: the search would have seen the rest.
    EXPECT_NE(raw.find(kOtherContent), std::string::npos);
    EXPECT_NE(raw.find(utf16(L"C:\\kww-other-place")), std::string::npos);
}

namespace {

// Another program swaps the deleted folder $RTREE02 for a link to the folder "outside", beside the
// drive's, as the erase is about to enter it; its shell works in the bin folder.
std::string binToSwapIn;
bool binItemSwapped = false;

bool runInBin(const std::string& script)
{
    const auto result = KestrelTest::runUnixShell("cd " + shellQuoted(binToSwapIn) + " && " + script + "\n");
    return result.finished && result.status == 0;
}

void swapBinItemWhenEntered(const std::wstring& path)
{
    if (!binItemSwapped && path.ends_with(L"\\$RTREE02"))
        binItemSwapped = runInBin("mv '$RTREE02' ../../was && ln -s ../../../outside '$RTREE02'");
}

} // namespace

// A deleted folder swapped for a link as its erase begins, then a bin folder under this user's
// name that another user owns: what either holds stays, and neither run ends Done.
TEST(RecycleBinErase, SwappedFolderAndForeignBinFolderAreLeftAlone)
{
    if (!KestrelTest::runningUnderWine())
        GTEST_SKIP() << "links and owners are made on the Linux side";
    KestrelTest::ScratchFolder scratch;
    const std::wstring drive = scratch / L"drive", outside = scratch / L"outside";
    ASSERT_TRUE(CreateDirectoryW(drive.c_str(), nullptr) && CreateDirectoryW(outside.c_str(), nullptr) &&
                writeFile(outside + L"\\kept.txt", kOtherContent));
    std::string why;
    KestrelTest::PlantedBins bins = KestrelTest::plantBins(drive, why);
    if (bins.mine.empty())
        GTEST_SKIP() << "no bins on a fixed drive: " << why;
    ASSERT_TRUE(CreateDirectoryW((bins.mine + L"\\$RTREE02").c_str(), nullptr));
    for (const wchar_t* name : {L"\\$RFIRST1.txt", L"\\$RTREE02\\a.txt", L"\\$ITREE02"})
        ASSERT_TRUE(writeFile(bins.mine + name, kContent));
    binToSwapIn = KestrelTest::unixPathOf(bins.mine);
    const KestrelTest::LogCapture log;
    setFolderEntryHook(swapBinItemWhenEntered);
    const TaskOutcome swapped = runTask(L"Recycle Bin", ItemKind::RecycleBin);
    setFolderEntryHook(nullptr);
    ASSERT_TRUE(writeFile(bins.mine + L"\\$RTHIRD3.txt", kContent) && runInBin("chown 4321 ."));
    const TaskOutcome foreign = runTask(L"Recycle Bin", ItemKind::RecycleBin);
    EXPECT_TRUE(runInBin("chown \"$(id -u)\" . && rm '$RTREE02'"));
    EXPECT_TRUE(binItemSwapped);
    EXPECT_EQ(swapped.status, EraseStatus::Failed);
    EXPECT_TRUE(log.contains(L"ERROR: \tSkipped folder that moved or became a link since it was listed: " + bins.mine +
                             L"\\$RTREE02. \r\n"));
    EXPECT_EQ(filesIn(outside), (std::map<std::wstring, std::string>{{L"kept.txt", kOtherContent}}));
    EXPECT_EQ(foreign.status, EraseStatus::Failed);
    EXPECT_TRUE(log.contains(L"ERROR: \tSkipped Recycle Bin folder owned by another user: " + bins.mine + L". \r\n"));
    // desktop.ini, the swapped item's record and the item planted for the second run stay.
    const auto left = filesIn(bins.mine);
    EXPECT_TRUE(left.size() == 3u && left.at(L"$ITREE02") == kContent && left.at(L"$RTHIRD3.txt") == kContent);
}
