// Free-space wipes of small real volumes (an ext4 image with 1 KiB blocks, an NTFS image through
// ntfs-3g) mapped as drives: what was deleted the ordinary way must be gone from the raw image,
// and the drive must come back as it was, whatever ended the wipe.
#include "erase/FillFolder.h"
#include "erase/FreeSpaceFill.h"
#include "foundation/UniqueHandle.h"
#include "tests/erase/FileChecks.h"
#include "tests/erase/TaskRunner.h"
#include "tests/support/LogCapture.h"
#include "tests/support/MountedVolume.h"
#include "tests/support/ScratchFolder.h"
#include "tests/support/UnixShell.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

namespace {

using KestrelTest::LogCapture;
using KestrelTest::MountedVolume;
using KestrelTest::readFile;
using KestrelTest::ScratchFolder;
using KestrelTest::writeFile;

constexpr unsigned kImageKibibytes = 24 * 1024;
const std::string kMarker = "kww-deleted-secret";
const std::string kSecretName = "secret-name-";
// How many times the marker's numbered lines fit in one 1 KiB block.
constexpr std::size_t kMarkersPerBlock = 1024 / 26;
// NTFS keeps the file table it grew by; a few MiB of it is the price of its freed records.
constexpr std::uint64_t kFileTableGrowth = 6 * 1024 * 1024;

enum class FileSystem { Ext4, Ntfs, Tmpfs };

// A small image mounted and mapped to a drive letter for one test.
struct Drive {
    ScratchFolder scratch;
    std::wstring image = scratch / L"volume.img";
    std::unique_ptr<MountedVolume> volume;
    std::wstring root;

    bool mount(FileSystem system, std::string& why, const std::string& ext4Options = "-b 1024 -m 0",
               const std::string& ext4Tuning = {})
    {
        const std::wstring folder = scratch / L"volume";
        if (!CreateDirectoryW(folder.c_str(), nullptr)) {
            why = "no mount folder";
            return false;
        }
        switch (system) {
        case FileSystem::Ext4:
            volume = MountedVolume::ext4Image(folder, image, kImageKibibytes, why, ext4Options, ext4Tuning);
            break;
        case FileSystem::Ntfs:
            volume = MountedVolume::ntfsImage(folder, image, kImageKibibytes, why);
            break;
        case FileSystem::Tmpfs:
            volume = MountedVolume::tmpfs(folder, kImageKibibytes, why);
            break;
        }
        if (volume)
            root = volume->mapDriveLetterAndWait(why);
        if (root.empty())
            return false;
        // ext4 keeps up to 2 % of its blocks free for its own use, which no file may fill (the
        // wipe's figures count them as not reached); here it keeps none, so that every free block
        // must be overwritten.
        return system != FileSystem::Ext4 || KestrelTest::runUnixShell(
                   "echo 0 > /sys/fs/ext4/$(basename $(findmnt -n -o SOURCE " +
                   KestrelTest::shellQuoted(KestrelTest::unixPathOf(folder)) + "))/reserved_clusters\n").status == 0;
    }
    std::wstring operator/(const std::wstring& name) const { return root + name; }
};

std::size_t occurrences(const std::string& haystack, const std::string& needle)
{
    std::size_t count = 0;
    for (auto at = haystack.find(needle); at != std::string::npos; at = haystack.find(needle, at + 1))
        ++count;
    return count;
}

// A name as NTFS stores it: UTF-16, little-endian.
std::string utf16(const std::string& text)
{
    std::string wide;
    for (const char character : text) {
        wide += character;
        wide += '\0';
    }
    return wide;
}

std::size_t tracesIn(const std::string& image)
{
    return occurrences(image, kMarker) + occurrences(image, kSecretName) + occurrences(image, utf16(kSecretName));
}

std::uint64_t freeBytes(const std::wstring& root)
{
    ULARGE_INTEGER available{}, total{}, free{};
    return GetDiskFreeSpaceExW(root.c_str(), &available, &total, &free) ? free.QuadPart : 0;
}

// Small files (whose content NTFS keeps in their records) and large ones, all full of marker
// text and written to the disk, then deleted the ordinary way.
void leaveDeletedSecrets(const Drive& drive)
{
    const std::wstring folder = drive / L"old";
    ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
    for (int index = 0; index < 300; ++index) {
        const std::string name = kSecretName + std::to_string(index);
        ASSERT_TRUE(writeFlushed(folder + L"\\" + std::wstring(name.begin(), name.end()), recognisableBytes(600, kMarker)));
    }
    for (int index = 0; index < 3; ++index)
        ASSERT_TRUE(writeFlushed(folder + L"\\large" + std::to_wstring(index), recognisableBytes(900 * 1024, kMarker)));
    for (const std::wstring& name : namesIn(folder))
        ASSERT_TRUE(DeleteFileW((folder + L"\\" + name).c_str()));
    ASSERT_TRUE(RemoveDirectoryW(folder.c_str()));
}

TaskOutcome wipe(const Drive& drive, const std::function<void(EraseTask&)>& whileRunning = {})
{
    return runTask(drive.root, ItemKind::FreeSpace, whileRunning);
}

void wipeLeavesNothingReadable(FileSystem system)
{
    Drive drive;
    std::string why;
    if (!drive.mount(system, why))
        GTEST_SKIP() << "no image mapped as a drive: " << why;
    const std::string kept = recognisableBytes(5000, "kept and untouched");
    ASSERT_TRUE(writeFlushed(drive / L"keep.txt", kept));
    leaveDeletedSecrets(drive);
    ASSERT_GT(tracesIn(readFile(drive.image)), 300u) << "the image does not show the deleted files";
    const auto namesBefore = namesIn(drive.root);
    const std::uint64_t freeBefore = freeBytes(drive.root);

    LogCapture log;
    const TaskOutcome outcome = wipe(drive);
    ASSERT_TRUE(outcome.finished);
    EXPECT_EQ(outcome.status, EraseStatus::Done);
    // NTFS's file table grows into the free space the progress counts.
    EXPECT_GT(outcome.progress, 50.0);
    EXPECT_TRUE(log.contains(L"Info: \tBegin to wipe free space: " + drive.root + L". \r\n"));
    EXPECT_TRUE(log.contains(L"Info: \tFree space of " + drive.root + L": ")) << "no figures";
    // The fill files were read back before they went: all of a small drive's, as of a small file.
    EXPECT_EQ(outcome.readBack, ReadBackExtent::Whole);
    EXPECT_FALSE(log.contains(L"ERROR")) << testing::PrintToString(log.lines());
    EXPECT_EQ(namesIn(drive.root), namesBefore);
    const std::uint64_t allowance = system == FileSystem::Ntfs ? kFileTableGrowth : 64 * 1024;
    EXPECT_GE(freeBytes(drive.root) + allowance, freeBefore);
    EXPECT_EQ(readFile(drive / L"keep.txt"), kept);

    ASSERT_TRUE(drive.volume->unmount());
    const std::string image = readFile(drive.image);
    // ext4 writes the blocks of the fill folder's own listing and of its files' extent records to
    // its journal only, and frees them again before they are written in place: a few blocks
    // that were free before the wipe may keep what they held. How many depends on when the
    // kernel writes back (0 to 9 in 38 runs here); the listing of thousands of names bounds it.
    const std::size_t allowed = system == FileSystem::Ext4 ? 16 * kMarkersPerBlock : 0;
    EXPECT_LE(tracesIn(image), allowed) << occurrences(image, kMarker) << " markers, "
                                        << occurrences(image, kSecretName) << " names, "
                                        << occurrences(image, utf16(kSecretName)) << " wide names";
    EXPECT_NE(image.find("kept and untouched"), std::string::npos);
}

TEST(FreeSpaceWipe, Ext4KeepsNoDeletedBlockAndGivesTheSpaceBack)
{
    wipeLeavesNothingReadable(FileSystem::Ext4);
}

TEST(FreeSpaceWipe, NtfsKeepsNoDeletedRecordAndGivesTheSpaceBack)
{
    wipeLeavesNothingReadable(FileSystem::Ntfs);
}

// What waits at the root under the fill folder's names: a user's folder of that name, a link of
// the next name to a folder elsewhere, and a real leftover of an earlier wipe. Only the leftover
// goes; the wipe takes a name of its own, and a stop half-way still gives everything back.
TEST(FreeSpaceWipe, StopHalfWayGivesEverythingBackAndTouchesNothingElse)
{
    Drive drive;
    std::string why;
    if (!drive.mount(FileSystem::Ext4, why))
        GTEST_SKIP() << "no image mapped as a drive: " << why;
    const std::wstring stem = FillFolder::kNameStem;
    const std::wstring users = drive / stem;
    ASSERT_TRUE(CreateDirectoryW(users.c_str(), nullptr));
    ASSERT_TRUE(writeFile(users + L"\\FILL0", "the user's own file"));
    ASSERT_TRUE(writeFile(users + L"\\notes.txt", "the user's notes"));
    const std::wstring outside = drive.scratch / L"outside";
    ASSERT_TRUE(CreateDirectoryW(outside.c_str(), nullptr));
    ASSERT_TRUE(writeFile(outside + L"\\R1", "outside the drive"));
    const auto linked = KestrelTest::runUnixShell("ln -s " + KestrelTest::shellQuoted(KestrelTest::unixPathOf(outside)) +
                                                  " " + KestrelTest::shellQuoted(KestrelTest::unixPathOf(drive.root)) +
                                                  "/KestrelWipewell.FreeSpace.1\n");
    ASSERT_TRUE(linked.finished && linked.status == 0) << linked.output;
    const std::wstring leftover = drive / (stem + L".7");
    ASSERT_TRUE(CreateDirectoryW(leftover.c_str(), nullptr));
    ASSERT_TRUE(writeFile(leftover + L"\\FILL0", recognisableBytes(4096)));
    ASSERT_TRUE(writeFile(leftover + L"\\R12", recognisableBytes(700)));
    const std::uint64_t freeBefore = freeBytes(drive.root) + 8 * 1024;

    LogCapture log;
    const TaskOutcome outcome = wipe(drive, [](EraseTask& task) {
        for (int waited = 0; waited < 60000 && task.progress() < 40.0; ++waited)
            Sleep(1);
        task.requestAbort();
    });
    ASSERT_TRUE(outcome.finished);
    EXPECT_EQ(outcome.status, EraseStatus::Aborted);
    EXPECT_GT(outcome.progress, 30.0);
    EXPECT_LT(outcome.progress, 95.0);
    EXPECT_FALSE(exists(leftover));
    EXPECT_TRUE(log.contains(L"Info: \tRemoved an earlier fill folder: " + leftover + L". \r\n"));
    EXPECT_TRUE(log.contains(L"ERROR: \tKept a folder that is not the program's fill folder: " + users + L". \r\n"));
    EXPECT_EQ(readFile(users + L"\\FILL0"), "the user's own file");
    EXPECT_EQ(readFile(users + L"\\notes.txt"), "the user's notes");
    EXPECT_EQ(readFile(outside + L"\\R1"), "outside the drive");
    auto names = namesIn(drive.root);
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::wstring>{stem, stem + L".1", L"lost+found"}));
    EXPECT_GE(freeBytes(drive.root) + 64 * 1024, freeBefore);
    (void)KestrelTest::runUnixShell("rm " + KestrelTest::shellQuoted(KestrelTest::unixPathOf(drive.root)) +
                                    "/KestrelWipewell.FreeSpace.1\n");
}

std::wstring wiperPath()
{
    wchar_t buffer[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameW(nullptr, buffer, MAX_PATH);
    std::wstring path(buffer, length);
    return path.substr(0, path.rfind(L'\\') + 1) + L"erase_test_free_space_wiper.exe";
}

// Waits, within the bound, until the test holds; false when it never did.
template <typename Test>
bool waitFor(Test test, DWORD boundMilliseconds)
{
    for (DWORD waited = 0; waited < boundMilliseconds; waited += 10) {
        if (test())
            return true;
        Sleep(10);
    }
    return test();
}

// A wipe killed while it fills: the system deletes its fill files with their handles, and the
// next wipe removes the folder it left. On a tmpfs, whose flushes cost nothing.
TEST(FreeSpaceWipe, KilledWipeGivesTheSpaceBackAndTheNextOneClearsUp)
{
    Drive drive;
    std::string why;
    if (!drive.mount(FileSystem::Tmpfs, why))
        GTEST_SKIP() << "no image mapped as a drive: " << why;
    const auto namesBefore = namesIn(drive.root);
    const std::uint64_t freeBefore = freeBytes(drive.root);
    const std::wstring wiper = wiperPath();
    std::wstring commandLine = L"\"" + wiper + L"\" " + drive.root;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started{};
    ASSERT_TRUE(CreateProcessW(wiper.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                               &startup, &started));
    const Kestrel::UniqueHandle thread(started.hThread);
    const Kestrel::UniqueHandle process(started.hProcess);
    const bool halfFull = waitFor([&] { return freeBytes(drive.root) < freeBefore / 2; }, 60000);
    TerminateProcess(process.get(), 9);
    ASSERT_EQ(WaitForSingleObject(process.get(), 30000), WAIT_OBJECT_0);
    ASSERT_TRUE(halfFull) << "the wiper never filled half the drive";
    EXPECT_TRUE(waitFor([&] { return freeBytes(drive.root) + 64 * 1024 >= freeBefore; }, 10000));

    LogCapture log;
    const TaskOutcome outcome = wipe(drive);
    ASSERT_TRUE(outcome.finished);
    EXPECT_EQ(outcome.status, EraseStatus::Done);
    EXPECT_TRUE(log.contains(L"Info: \tRemoved an earlier fill folder: " + drive.root + FillFolder::kNameStem + L". \r\n"));
    EXPECT_EQ(namesIn(drive.root), namesBefore);
    EXPECT_GE(freeBytes(drive.root) + 64 * 1024, freeBefore);
}

// A drive this user may not write to, and a path that is no drive root: each ends Failed with
// its line, and nothing is made.
TEST(FreeSpaceWipe, DriveThatCannotBeWrittenFailsWithItsLine)
{
    Drive drive;
    std::string why;
    if (!drive.mount(FileSystem::Ext4, why))
        GTEST_SKIP() << "no image mapped as a drive: " << why;
    const std::string unixRoot = KestrelTest::shellQuoted(KestrelTest::unixPathOf(drive.root));
    const auto locked = KestrelTest::runUnixShell("chmod 755 " + unixRoot + " && chown 1000 " + unixRoot + "\n");
    ASSERT_TRUE(locked.finished && locked.status == 0) << locked.output;
    const auto namesBefore = namesIn(drive.root);

    LogCapture log;
    const TaskOutcome outcome = wipe(drive);
    ASSERT_TRUE(outcome.finished);
    EXPECT_EQ(outcome.status, EraseStatus::Failed);
    EXPECT_TRUE(log.contains(L"ERROR: \tAccess denied: " + drive.root + L"KestrelWipewell.FreeSpace\r\n"));
    EXPECT_EQ(namesIn(drive.root), namesBefore);

    const TaskOutcome folder = runTask(drive / L"lost+found", ItemKind::FreeSpace);
    ASSERT_TRUE(folder.finished);
    EXPECT_EQ(folder.status, EraseStatus::Failed);
    EXPECT_TRUE(log.contains(L"ERROR: \tPath syntax error: " + drive.root + L"lost+found\r\n"));
}

// Every large fill file is refused past 2 MiB as a FAT32 file is past 4 GiB: the wipe goes on
// with the next file, and the deleted blocks are all overwritten, not left to the small files
// (which would keep the last third of each block).
TEST(FreeSpaceWipe, FillFilesThatCannotGrowAreFollowedByTheNext)
{
    limitFillFilesForTests(FillFileLimit{2 * 1024 * 1024, ERROR_DISK_FULL});
    wipeLeavesNothingReadable(FileSystem::Ext4);
    limitFillFilesForTests(std::nullopt);
}

// Blocks kept from the user (ext4's reserve, here another user's, as a quota would be on Windows)
// and a write refused for any other reason than a full drive: each ends the wipe Failed with its
// line, and the drive is left as it was.
TEST(FreeSpaceWipe, SpaceNotReachedOrAWriteRefusedFailsTheWipe)
{
    Drive drive;
    std::string why;
    if (!drive.mount(FileSystem::Ext4, why, "-b 1024 -m 5", "-u 1000 -g 1000"))
        GTEST_SKIP() << "no image mapped as a drive: " << why;
    const auto reserved = KestrelTest::runUnixShell(
        "tune2fs -l " + KestrelTest::shellQuoted(KestrelTest::unixPathOf(drive.image)) +
        " | sed -n 's/^Reserved block count: *//p'\n");
    static std::uint64_t kept = 0;
    kept = std::stoull("0" + reserved.output) * 1024;
    ASSERT_GT(kept, 1024u * 1024u) << reserved.output;
    // Wine hides the reserve from the free space it reports; the wipe is told of it as Windows tells of a quota.
    const DriveSpaceQuery withTheReserve = [](const std::wstring& root) -> std::optional<DriveSpace> {
        ULARGE_INTEGER available{}, total{}, free{};
        if (!GetDiskFreeSpaceExW(root.c_str(), &available, &total, &free))
            return std::nullopt;
        return DriveSpace{available.QuadPart, free.QuadPart + kept};
    };
    queryDriveSpaceForTests(withTheReserve);
    const auto namesBefore = namesIn(drive.root);
    const std::uint64_t freeBefore = freeBytes(drive.root);

    LogCapture log;
    const TaskOutcome kept_ = wipe(drive);
    queryDriveSpaceForTests(nullptr);
    ASSERT_TRUE(kept_.finished);
    EXPECT_EQ(kept_.status, EraseStatus::Failed);
    EXPECT_TRUE(log.contains(L"ERROR: \tFree space not reached on " + drive.root + L": " + std::to_wstring(kept) +
                             L" bytes, kept from this user (blocks the file system reserves for the drive's owner or "
                             L"for itself, or a disk quota). \r\n"))
        << testing::PrintToString(log.lines());
    EXPECT_EQ(namesIn(drive.root), namesBefore);
    EXPECT_GE(freeBytes(drive.root) + 64 * 1024, freeBefore);

    limitFillFilesForTests(FillFileLimit{1024 * 1024, ERROR_ACCESS_DENIED});
    const TaskOutcome refused = wipe(drive);
    limitFillFilesForTests(std::nullopt);
    ASSERT_TRUE(refused.finished);
    EXPECT_EQ(refused.status, EraseStatus::Failed);
    EXPECT_TRUE(log.contains(L"ERROR: \tAccess denied: " + drive.root + L"KestrelWipewell.FreeSpace\\FILL0\r\n"));
    EXPECT_EQ(namesIn(drive.root), namesBefore);
    EXPECT_GE(freeBytes(drive.root) + 64 * 1024, freeBefore);

    // A quota refuses a write as a full drive does, and a file too fragmented to grow is followed
    // by the next: either way the fill goes on to what is kept from the user, and says only that.
    queryDriveSpaceForTests(withTheReserve);
    for (const DWORD error : {DWORD{ERROR_DISK_QUOTA_EXCEEDED}, DWORD{ERROR_FILE_SYSTEM_LIMITATION}}) {
        log.clear();
        limitFillFilesForTests(FillFileLimit{1024 * 1024, error});
        const TaskOutcome limited = wipe(drive);
        limitFillFilesForTests(std::nullopt);
        ASSERT_TRUE(limited.finished);
        EXPECT_EQ(limited.status, EraseStatus::Failed);
        EXPECT_TRUE(log.contains(L"ERROR: \tFree space not reached on " + drive.root + L": " + std::to_wstring(kept) +
                                 L" bytes, kept from this user"))
            << error << testing::PrintToString(log.lines());
        EXPECT_EQ(log.count(L"ERROR: "), 1u) << error;
        EXPECT_EQ(namesIn(drive.root), namesBefore);
    }
    queryDriveSpaceForTests(nullptr);
}

} // namespace
