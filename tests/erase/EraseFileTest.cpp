#include "erase/EraseTask.h"
#include "erase/OverwriteBuffer.h"
#include "erase/ReadBack.h"
#include "foundation/UniqueHandle.h"

#include "tests/erase/FileChecks.h"
#include "tests/erase/FileHolder.h"
#include "tests/erase/TaskRunner.h"
#include "tests/support/LogCapture.h"
#include "tests/support/MountedVolume.h"
#include "tests/support/ScratchFolder.h"
#include "tests/support/UnixShell.h"

#include <gtest/gtest.h>

using KestrelTest::LogCapture;
using KestrelTest::readFile;
using KestrelTest::ScratchFolder;
using KestrelTest::writeFile;

namespace {

// One write of the overwrite.
constexpr std::size_t kChunk = kWriteChunkSize;

} // namespace

TEST(EraseFile, EmptyFileIsRemovedAtZeroPercent)
{
    ScratchFolder scratch;
    const std::wstring file = scratch / L"empty.txt";
    ASSERT_TRUE(writeFile(file, ""));
    const TaskOutcome outcome = runTask(file);
    ASSERT_TRUE(outcome.finished);
    EXPECT_EQ(outcome.status, EraseStatus::Done);
    EXPECT_EQ(outcome.messageStatus, static_cast<WPARAM>(EraseStatus::Done));
    EXPECT_EQ(outcome.progress, 0.0);
    // Neither the file nor its disposal name is left.
    EXPECT_TRUE(namesIn(scratch.path()).empty());
}

TEST(EraseFile, OneFullChunkEndsAtOneHundredPercent)
{
    ScratchFolder scratch;
    const std::wstring file = scratch / L"chunk.bin";
    ASSERT_TRUE(writeFile(file, recognisableBytes(kChunk)));
    const TaskOutcome outcome = runTask(file);
    ASSERT_TRUE(outcome.finished);
    EXPECT_EQ(outcome.status, EraseStatus::Done);
    EXPECT_EQ(outcome.progress, 100.0);
    EXPECT_TRUE(namesIn(scratch.path()).empty());
}

// The stop request is read only after a chunk, so one made before the first write still lets
// that chunk be written; the rest of the file is left as it was.
TEST(EraseFile, StopBeforeTheFirstChunkLetsThatChunkBeWritten)
{
    ScratchFolder scratch;
    const std::wstring file = scratch / L"longer.bin";
    const std::string original = recognisableBytes(kChunk + 1);
    ASSERT_TRUE(writeFile(file, original));

    const TaskOutcome stopped = runTaskStoppedAtItsStart(file);
    ASSERT_TRUE(stopped.finished);
    EXPECT_EQ(stopped.status, EraseStatus::Aborted);
    EXPECT_DOUBLE_EQ(stopped.progress, double(kChunk) / double(kChunk + 1) * 100.0);
    const std::string after = readFile(file);
    ASSERT_EQ(after.size(), original.size());
    EXPECT_NE(after.substr(0, kChunk), original.substr(0, kChunk));
    EXPECT_EQ(after[kChunk], original[kChunk]);
    // One write carries the 64 KiB block over and over.
    EXPECT_EQ(after.substr(kChunk - kOverwriteChunkSize, kOverwriteChunkSize), after.substr(0, kOverwriteChunkSize));

    const TaskOutcome whole = runTask(file);
    ASSERT_TRUE(whole.finished);
    EXPECT_EQ(whole.status, EraseStatus::Done);
    EXPECT_EQ(whole.progress, 100.0);
    EXPECT_TRUE(namesIn(scratch.path()).empty());
}

// A stop that comes while the last chunk is written: the whole file is overwritten, but it stays.
TEST(EraseFile, StopDuringTheLastChunkKeepsTheOverwrittenFile)
{
    ScratchFolder scratch;
    const std::wstring file = scratch / L"short.txt";
    const std::string original = recognisableBytes(1000);
    ASSERT_TRUE(writeFile(file, original));
    const TaskOutcome outcome = runTaskStoppedAtItsStart(file);
    ASSERT_TRUE(outcome.finished);
    EXPECT_EQ(outcome.status, EraseStatus::Aborted);
    EXPECT_EQ(outcome.progress, 100.0);
    const std::string after = readFile(file);
    ASSERT_EQ(after.size(), original.size());
    EXPECT_NE(after, original);
    EXPECT_EQ(namesIn(scratch.path()), std::vector<std::wstring>{L"short.txt"});
}

TEST(EraseFile, ReadOnlyFileIsErased)
{
    ScratchFolder scratch;
    const std::wstring file = scratch / L"locked.txt";
    ASSERT_TRUE(writeFile(file, recognisableBytes(300)));
    ASSERT_TRUE(SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_READONLY));
    const TaskOutcome outcome = runTask(file);
    ASSERT_TRUE(outcome.finished);
    EXPECT_EQ(outcome.status, EraseStatus::Done);
    EXPECT_TRUE(namesIn(scratch.path()).empty());
}

TEST(EraseFile, ItemHoldingTheFirstDisposalNameIsLeftAlone)
{
    ScratchFolder scratch;
    const std::wstring file = scratch / L"secret.txt";
    const std::wstring bystander = scratch / L"KestrelWipewell.0";
    ASSERT_TRUE(writeFile(file, recognisableBytes(500)));
    ASSERT_TRUE(writeFile(bystander, "not chosen"));
    const TaskOutcome outcome = runTask(file);
    ASSERT_TRUE(outcome.finished);
    EXPECT_EQ(outcome.status, EraseStatus::Done);
    EXPECT_EQ(namesIn(scratch.path()), std::vector<std::wstring>{L"KestrelWipewell.0"});
    EXPECT_EQ(readFile(bystander), "not chosen");
}

TEST(EraseFile, FileHeldOpenByAnotherProcessIsLeftUntouched)
{
    ScratchFolder scratch;
    const std::wstring file = scratch / L"busy.txt";
    const std::string original = recognisableBytes(5000);
    ASSERT_TRUE(writeFile(file, original));
    LogCapture log;
    {
        FileHolder holder(file);
        ASSERT_TRUE(holder.holding());
        const TaskOutcome outcome = runTask(file);
        ASSERT_TRUE(outcome.finished);
        EXPECT_EQ(outcome.status, EraseStatus::Failed);
    }
    // Windows names the holder behind this; Wine's Restart Manager names nobody.
    EXPECT_TRUE(log.contains(L"ERROR: \tFailed to open: " + file + L". The file is in use by another program"));
    EXPECT_EQ(readFile(file), original);
}

// A sparse file larger than its tmpfs: the overwrite runs out of space part-way for real.
TEST(EraseFile, WriteThatFailsKeepsTheFileUnderItsName)
{
    ScratchFolder scratch;
    const std::wstring mount = scratch / L"small";
    ASSERT_TRUE(CreateDirectoryW(mount.c_str(), nullptr));
    std::string why;
    auto volume = KestrelTest::MountedVolume::tmpfs(mount, 2560, why);
    if (!volume)
        GTEST_SKIP() << "no tmpfs for a real disk-full write: " << why;
    const std::wstring file = mount + L"\\sparse.bin";
    ASSERT_TRUE(writeSparse(file, 4 * 1024 * 1024));
    LogCapture log;
    const TaskOutcome outcome = runTask(file);
    ASSERT_TRUE(outcome.finished);
    EXPECT_EQ(outcome.status, EraseStatus::Failed);
    EXPECT_TRUE(log.contains(L"ERROR: \tFailed to write to: " + file + L". \r\n"));
    EXPECT_GT(outcome.progress, 0.0);
    EXPECT_LT(outcome.progress, 100.0);
    EXPECT_EQ(namesIn(mount), std::vector<std::wstring>{L"sparse.bin"});
}

// What the disk holds after the erase, read from the raw image of a small ext4 volume: the old
// bytes must be gone from every block, not only from the file's name.
TEST(EraseFile, OverwriteReachesTheDiskBeforeTheFileIsEmptied)
{
    ScratchFolder scratch;
    const std::wstring mount = scratch / L"volume";
    const std::wstring image = scratch / L"volume.img";
    ASSERT_TRUE(CreateDirectoryW(mount.c_str(), nullptr));
    std::string why;
    auto volume = KestrelTest::MountedVolume::ext4Image(mount, image, 8192, why);
    if (!volume)
        GTEST_SKIP() << "no ext4 image to read back: " << why;
    const std::string marker = "kww-unmistakable-marker";
    const std::wstring file = mount + L"\\secret.bin";
    ASSERT_TRUE(writeFlushed(file, recognisableBytes(3 * kChunk + 123, marker)));
    ASSERT_NE(readFile(image).find(marker), std::string::npos) << "the image does not show the file's blocks";

    const TaskOutcome outcome = runTask(file);
    ASSERT_TRUE(outcome.finished);
    EXPECT_EQ(outcome.status, EraseStatus::Done);
    ASSERT_TRUE(volume->unmount());
    EXPECT_EQ(readFile(image).find(marker), std::string::npos);
}

// Every disposal name is taken: the emptied file goes under its own name, and none of the
// 65536 items that hold those names is touched. They are made on a tmpfs: creating them on the
// disk takes seconds, and unmounting removes them at once.
TEST(EraseFile, FileIsRemovedUnderItsOwnNameWhenNoDisposalNameIsFree)
{
    ScratchFolder scratch;
    const std::wstring mount = scratch / L"names";
    ASSERT_TRUE(CreateDirectoryW(mount.c_str(), nullptr));
    std::string why;
    auto volume = KestrelTest::MountedVolume::tmpfs(mount, 64 * 1024, why);
    if (!volume)
        GTEST_SKIP() << "no tmpfs for the 65536 names: " << why;
    const std::string folder = KestrelTest::shellQuoted(KestrelTest::unixPathOf(mount));
    const auto made =
        KestrelTest::runUnixShell("cd " + folder + " && seq 0 65535 | sed 's/^/KestrelWipewell./' | xargs touch\n");
    ASSERT_TRUE(made.finished && made.status == 0) << made.output;
    const std::wstring file = mount + L"\\secret.txt";
    ASSERT_TRUE(writeFile(file, recognisableBytes(700)));

    const TaskOutcome outcome = runTask(file);
    ASSERT_TRUE(outcome.finished);
    EXPECT_EQ(outcome.status, EraseStatus::Done);
    EXPECT_FALSE(exists(file));
    const auto counted = KestrelTest::runUnixShell("ls " + folder + " | grep -c '^KestrelWipewell\\.'\n");
    EXPECT_EQ(counted.output, "65536\n");
}

// In a folder marked immutable on the Linux side the file can be overwritten and emptied but
// neither moved nor deleted. Wine's DeleteFileW even answers TRUE there (the unlink fails at the
// close, unreported), so only a look afterwards shows that the file is still there. The delete is
// tried under the name the file still has, not under the disposal name the move failed to give.
TEST(EraseFile, FileThatCannotBeRemovedFailsTheTask)
{
    ScratchFolder scratch;
    const std::wstring mount = scratch / L"volume";
    ASSERT_TRUE(CreateDirectoryW(mount.c_str(), nullptr));
    std::string why;
    auto volume = KestrelTest::MountedVolume::ext4Image(mount, scratch / L"volume.img", 4096, why);
    if (!volume)
        GTEST_SKIP() << "no ext4 image for an immutable folder: " << why;
    const std::wstring folder = mount + L"\\fixed";
    const std::wstring file = folder + L"\\stuck.txt";
    ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
    ASSERT_TRUE(writeFile(file, recognisableBytes(4000)));
    const std::string unixFolder = KestrelTest::unixPathOf(folder);
    const auto frozen = KestrelTest::runUnixShell("chattr +i " + KestrelTest::shellQuoted(unixFolder) + "\n");
    ASSERT_TRUE(frozen.finished && frozen.status == 0) << frozen.output;

    LogCapture log;
    const TaskOutcome outcome = runTask(file);
    (void)KestrelTest::runUnixShell("chattr -i " + KestrelTest::shellQuoted(unixFolder) + "\n");
    ASSERT_TRUE(outcome.finished);
    EXPECT_EQ(outcome.status, EraseStatus::Failed);
    EXPECT_TRUE(exists(file));
    EXPECT_TRUE(readFile(file).empty());
    const std::wstring disposal = folder + L"\\KestrelWipewell.0";
    EXPECT_FALSE(log.contains(L": " + disposal + L"\r\n"));
    EXPECT_TRUE(log.contains(L": " + file + L"\r\n")); // the failed move
}

namespace {

// Turns one byte of the file's last, partly filled sector into another, between the overwrite's
// flush and its read-back, as a fault of the drive or another program would.
void changeTheLastSector(const std::wstring& path)
{
    const Kestrel::UniqueFileHandle file(CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE,
                                                     FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                                     nullptr, OPEN_EXISTING, 0, nullptr));
    LARGE_INTEGER size{};
    ASSERT_TRUE(file && GetFileSizeEx(file.get(), &size));
    OVERLAPPED at{};
    at.Offset = static_cast<DWORD>(size.QuadPart - 7);
    char byte = 0;
    DWORD done = 0;
    ASSERT_TRUE(ReadFile(file.get(), &byte, 1, &done, &at) && done == 1);
    byte = static_cast<char>(~byte);
    ASSERT_TRUE(WriteFile(file.get(), &byte, 1, &done, &at) && done == 1);
}

} // namespace

// What was written is read back past the cache before the file goes: a file that reads back as
// written is erased and counted as read back whole; one whose bytes changed after the flush fails
// with the code of a data error and stays under its name, overwritten.
TEST(EraseFile, OverwriteIsReadBackBeforeTheFileGoes)
{
    ScratchFolder scratch;
    const std::string original = recognisableBytes(3 * kChunk + 123);
    const std::wstring erased = scratch / L"erased.bin";
    const std::wstring changed = scratch / L"changed.bin";
    ASSERT_TRUE(writeFile(erased, original) && writeFile(changed, original));

    const TaskOutcome outcome = runTask(erased);
    ASSERT_TRUE(outcome.finished);
    EXPECT_EQ(outcome.status, EraseStatus::Done);
    EXPECT_EQ(outcome.readBack, ReadBackExtent::Whole);

    LogCapture log;
    setBeforeReadBackForTests(changeTheLastSector);
    const TaskOutcome failed = runTask(changed);
    setBeforeReadBackForTests(nullptr);
    ASSERT_TRUE(failed.finished);
    EXPECT_EQ(failed.status, EraseStatus::Failed);
    EXPECT_EQ(failed.readBack, ReadBackExtent::None);
    EXPECT_EQ(failed.failureCode, 323u);
    EXPECT_TRUE(log.contains(L"ERROR: \tThe overwrite of " + changed + L" could not be read back as written. \r\n"));
    EXPECT_EQ(namesIn(scratch.path()), std::vector<std::wstring>{L"changed.bin"});
    const std::string after = readFile(changed);
    ASSERT_EQ(after.size(), original.size());
    EXPECT_EQ(after.find("old content"), std::string::npos);
}
