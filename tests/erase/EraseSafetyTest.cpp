// Names and file-system features that must never lead an erase outside the chosen item. Each item
// is made from the Linux side, as another system would leave it on a disk.
#include "erase/EraseTask.h"
#include "erase/FolderListing.h"
#include "foundation/UniqueHandle.h"

#include "tests/erase/FileChecks.h"
#include "tests/erase/TaskRunner.h"
#include "tests/support/LogCapture.h"
#include "tests/support/LogGate.h"
#include "tests/support/MountedVolume.h"
#include "tests/support/ScratchFolder.h"
#include "tests/support/UnixScratch.h"
#include "tests/support/UnixShell.h"

#include <gtest/gtest.h>

#include <algorithm>

using KestrelTest::LogCapture;
using KestrelTest::readFile;
using KestrelTest::ScratchFolder;
using KestrelTest::UnixScratch;
using KestrelTest::writeFile;

namespace {

const std::string kOutside = "outside the choice, byte for byte";

std::wstring errorLine(const std::wstring& text, const std::wstring& path)
{
    return L"ERROR: \t" + text + path + L". \r\n";
}

} // namespace

// Win32 strips a trailing dot or blank: "x." would name "x", and "dd." the whole of "dd".
TEST(EraseSafety, NameWithATrailingDotOrBlankIsErasedAndItsNeighbourKept)
{
    if (!KestrelTest::runningUnderWine())
        GTEST_SKIP() << "such names are made on the Linux side";
    const UnixScratch scratch;
    ASSERT_TRUE(scratch.make("printf '" + kOutside + "' > x\nprintf chosen > x.\nmkdir dd dd.\nprintf '" + kOutside +
                             "' > dd/a\nprintf chosen > 'dd./a '\n"));

    const TaskOutcome file = runTask(scratch / L"x.");
    ASSERT_TRUE(file.finished);
    EXPECT_EQ(file.status, EraseStatus::Done);
    const TaskOutcome folder = runTask(scratch / L"dd.", ItemKind::Folder);
    ASSERT_TRUE(folder.finished);
    EXPECT_EQ(folder.status, EraseStatus::Done);

    EXPECT_EQ(readFile(scratch / L"x"), kOutside);
    EXPECT_EQ(readFile(scratch / L"dd\\a"), kOutside);
    EXPECT_TRUE(scratch.make("test ! -e x. && test ! -e dd. && test \"$(ls | wc -l)\" = 2\n"));
}

TEST(EraseSafety, ListedNameHoldingASeparatorIsSkipped)
{
    if (!KestrelTest::runningUnderWine())
        GTEST_SKIP() << "such names are made on the Linux side";
    const UnixScratch scratch;
    ASSERT_TRUE(scratch.make("printf '" + kOutside + "' > victim.txt\nmkdir F\nprintf x > 'F/..\\victim.txt'\n"
                             "printf x > F/plain.txt\n"));
    LogCapture log;
    const TaskOutcome outcome = runTask(scratch / L"F", ItemKind::Folder);
    ASSERT_TRUE(outcome.finished);
    EXPECT_EQ(outcome.status, EraseStatus::Failed);
    EXPECT_TRUE(log.contains(errorLine(L"Skipped name: ", scratch / L"F\\..\\victim.txt")));
    EXPECT_EQ(readFile(scratch / L"victim.txt"), kOutside);
    EXPECT_FALSE(exists(scratch / L"F\\plain.txt"));
}

// Under Wine a link to a file looks like a plain file: only where its handle leads shows it.
TEST(EraseSafety, LinkToAFileIsSkippedThoughItsAttributesDoNotShowIt)
{
    if (!KestrelTest::runningUnderWine())
        GTEST_SKIP() << "links are made on the Linux side";
    const UnixScratch scratch;
    ASSERT_TRUE(scratch.make("printf '" + kOutside + "' > outside.txt\nmkdir F\nln -s ../outside.txt F/link.txt\n"
                             "printf x > F/plain.txt\nln -s outside.txt link.txt\nln -s outside.txt outside.txt.\n"));
    LogCapture log;
    const TaskOutcome folder = runTask(scratch / L"F", ItemKind::Folder);
    ASSERT_TRUE(folder.finished);
    EXPECT_EQ(folder.status, EraseStatus::Failed);
    // Wine names a handle on "outside.txt." as "outside.txt", whether it is a file of its own or
    // a link to its neighbour.
    for (const wchar_t* link : {L"link.txt", L"outside.txt."}) {
        const TaskOutcome file = runTask(scratch / link);
        ASSERT_TRUE(file.finished);
        EXPECT_EQ(file.status, EraseStatus::Failed);
        EXPECT_TRUE(log.contains(errorLine(L"Skipped link: ", scratch / link)));
    }

    EXPECT_TRUE(log.contains(errorLine(L"Skipped link: ", scratch / L"F\\link.txt")));
    EXPECT_EQ(readFile(scratch / L"outside.txt"), kOutside);
    EXPECT_FALSE(exists(scratch / L"F\\plain.txt"));
}

// A file's other name outside the choice would be left at 0 bytes; names all inside may go.
TEST(EraseSafety, HardLinkedFileIsErasedOnlyWhenEveryNameIsInsideTheFolder)
{
    if (!KestrelTest::runningUnderWine())
        GTEST_SKIP() << "hard links are made on the Linux side";
    const UnixScratch scratch;
    ASSERT_TRUE(scratch.make("printf '" + kOutside + "' > outside.txt\nmkdir -p F/sub\nln outside.txt F/in.txt\n"
                             "printf pair > F/pair\nln F/pair F/sub/pair\n"));
    LogCapture log;
    const TaskOutcome folder = runTask(scratch / L"F", ItemKind::Folder);
    ASSERT_TRUE(folder.finished);
    EXPECT_EQ(folder.status, EraseStatus::Failed);
    const TaskOutcome file = runTask(scratch / L"F\\in.txt");
    ASSERT_TRUE(file.finished);
    EXPECT_EQ(file.status, EraseStatus::Failed);

    EXPECT_EQ(log.count(errorLine(L"Skipped hard-linked file: ", scratch / L"F\\in.txt")), 2u);
    EXPECT_EQ(readFile(scratch / L"outside.txt"), kOutside);
    EXPECT_EQ(namesIn(scratch / L"F"), std::vector<std::wstring>{L"in.txt"});
}

namespace {

// Another program, as the listing is about to enter T\b: it swaps T\b for a link to V and tries
// to move T, whose content is being listed.
const UnixScratch* swapScratch = nullptr;
bool subFolderSwapped = false;
DWORD listedFolderMoveError = ERROR_SUCCESS;

void swapSubFolderWhenEntered(const std::wstring& path)
{
    if (subFolderSwapped || !path.ends_with(L"\\T\\b"))
        return;
    subFolderSwapped = swapScratch->make("mv T/b b.was\nln -s \"$PWD/V\" T/b\n");
    const std::wstring listed = path.substr(0, path.size() - 2);
    if (!MoveFileW(listed.c_str(), (listed + L".moved").c_str()))
        listedFolderMoveError = GetLastError();
}

} // namespace

// T\b swapped for a link after T's entries were read and before T\b is entered is left alone, and
// so is what the link leads to; T cannot be moved while its content is listed.
TEST(EraseSafety, FolderSwappedForALinkBeforeItIsEnteredIsLeftAlone)
{
    if (!KestrelTest::runningUnderWine())
        GTEST_SKIP() << "links are made on the Linux side";
    const UnixScratch scratch;
    ASSERT_TRUE(scratch.make("mkdir -p V T/a T/b\nprintf '" + kOutside + "' > V/kept\nprintf x > T/a/f\n"));
    swapScratch = &scratch;
    LogCapture log;
    setFolderEntryHook(swapSubFolderWhenEntered);
    const TaskOutcome outcome = runTask(scratch / L"T", ItemKind::Folder);
    setFolderEntryHook(nullptr);
    ASSERT_TRUE(outcome.finished && subFolderSwapped);
    EXPECT_EQ(outcome.status, EraseStatus::Failed);
    EXPECT_EQ(listedFolderMoveError, static_cast<DWORD>(ERROR_SHARING_VIOLATION));
    EXPECT_TRUE(log.contains(
        errorLine(L"Skipped folder that moved or became a link since it was listed: ", scratch / L"T\\b")));
    EXPECT_EQ(namesIn(scratch / L"V"), std::vector<std::wstring>{L"kept"});
    EXPECT_EQ(readFile(scratch / L"V\\kept"), kOutside);
    EXPECT_TRUE(scratch.make("test -L T/b && test ! -e T/a && test \"$(ls T)\" = b\n"));
}

// A file gone between the listing and the walk is a file that was not erased, not a folder.
TEST(EraseSafety, ListedFileThatVanishedFailsTheTaskAsAFile)
{
    ScratchFolder scratch;
    const std::wstring top = scratch / L"F";
    const std::wstring file = top + L"\\only.txt";
    ASSERT_TRUE(CreateDirectoryW(top.c_str(), nullptr));
    ASSERT_TRUE(writeFile(file, "content"));
    LogCapture log;
    KestrelTest::LogGate gate(L"Begin to erase: " + file + L". ");
    const TaskOutcome outcome = runTask(top, ItemKind::Folder, [&](EraseTask&) {
        ASSERT_TRUE(gate.waitUntilHeld(kTaskBoundMilliseconds));
        EXPECT_TRUE(DeleteFileW(file.c_str()));
        gate.release();
    });
    ASSERT_TRUE(outcome.finished);
    EXPECT_EQ(outcome.status, EraseStatus::Failed);
    EXPECT_TRUE(log.contains(L"ERROR: \tFailed to open: " + file + L". The file is no longer there. \r\n"));
    EXPECT_FALSE(log.contains(L"Erase folder: " + file));
}

// An empty root lists no "." or "..": its search answers "file not found".
TEST(EraseSafety, EmptyDriveRootEndsDone)
{
    ScratchFolder scratch;
    std::wstring root;
    std::string why;
    const auto volume = KestrelTest::MountedVolume::tmpfsDrive(scratch / L"drive", 1024, root, why);
    if (!volume)
        GTEST_SKIP() << "no tmpfs mapped as a drive: " << why;
    const TaskOutcome outcome = runTask(root, ItemKind::Folder);
    ASSERT_TRUE(outcome.finished);
    EXPECT_EQ(outcome.status, EraseStatus::Done);
    EXPECT_TRUE(exists(root));
}

// Under Wine the attribute is the folder's write permission, which keeps its content from going
// (for anyone but root): it must be gone before the first item inside is touched.
TEST(EraseSafety, ReadOnlyFolderIsMadeWritableBeforeItsContentIsErased)
{
    if (!KestrelTest::runningUnderWine())
        GTEST_SKIP() << "the folder's permission is set on the Linux side";
    const UnixScratch scratch;
    ASSERT_TRUE(scratch.make("mkdir F\nprintf x > F/a.txt\nchmod 555 F\n"));
    const std::wstring top = scratch / L"F";
    ASSERT_NE(GetFileAttributesW(top.c_str()) & FILE_ATTRIBUTE_READONLY, 0u);
    KestrelTest::LogGate gate(L"Begin to erase: " + top + L"\\a.txt. ");
    const TaskOutcome outcome = runTask(top, ItemKind::Folder, [&](EraseTask&) {
        ASSERT_TRUE(gate.waitUntilHeld(kTaskBoundMilliseconds));
        EXPECT_EQ(GetFileAttributesW(top.c_str()) & FILE_ATTRIBUTE_READONLY, 0u);
        gate.release();
    });
    ASSERT_TRUE(outcome.finished);
    EXPECT_EQ(outcome.status, EraseStatus::Done);
    EXPECT_FALSE(exists(top));
}

namespace {

// Root may write to a read-only file; a user may not. The tests below take the user's road, so
// they must run without root's override rights (scripts/test drops them).
bool writeOpenRefused(const std::wstring& path)
{
    const Kestrel::UniqueFileHandle file(
        CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    return !file && GetLastError() == ERROR_ACCESS_DENIED;
}

constexpr DWORD kReadOnlyHiddenSystem = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;

bool makeReadOnly(const std::wstring& path, DWORD attributes = FILE_ATTRIBUTE_READONLY)
{
    return SetFileAttributesW(path.c_str(), attributes) != 0;
}

} // namespace

TEST(EraseSafety, ReadOnlyHiddenAndSystemItemsAreErasedWithAUsersRights)
{
    ScratchFolder scratch;
    const std::wstring file = scratch / L"rhs.txt";
    const std::wstring folder = scratch / L"F";
    const std::wstring neighbour = scratch / L"neighbour.txt";
    ASSERT_TRUE(writeFile(neighbour, kOutside) && makeReadOnly(neighbour));
    ASSERT_TRUE(writeFile(file, recognisableBytes(300)) && makeReadOnly(file, kReadOnlyHiddenSystem));
    ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr) && CreateDirectoryW((folder + L"\\sub").c_str(), nullptr));
    for (const wchar_t* inside : {L"\\a.txt", L"\\sub\\b.txt"})
        ASSERT_TRUE(writeFile(folder + inside, "chosen") && makeReadOnly(folder + inside, kReadOnlyHiddenSystem));
    ASSERT_TRUE(makeReadOnly(folder + L"\\sub") && makeReadOnly(folder));
    ASSERT_TRUE(writeOpenRefused(file)) << "run without root's override rights";

    for (const std::wstring& chosen : {file, folder}) {
        const TaskOutcome outcome = runTask(chosen);
        ASSERT_TRUE(outcome.finished);
        EXPECT_EQ(outcome.status, EraseStatus::Done);
        EXPECT_FALSE(exists(chosen));
    }
    EXPECT_EQ(readFile(neighbour), kOutside);
    EXPECT_NE(GetFileAttributesW(neighbour.c_str()) & FILE_ATTRIBUTE_READONLY, 0u);
    EXPECT_EQ(namesIn(scratch.path()), std::vector<std::wstring>{L"neighbour.txt"});
    EXPECT_TRUE(SetFileAttributesW(neighbour.c_str(), FILE_ATTRIBUTE_NORMAL));
}

// The attribute goes by path: a link swapped in after that must still not be erased.
TEST(EraseSafety, FileSwappedForALinkOnceItsAttributeWasClearedIsSkipped)
{
    if (!KestrelTest::runningUnderWine())
        GTEST_SKIP() << "links are made on the Linux side";
    const UnixScratch scratch;
    ASSERT_TRUE(scratch.make("printf '" + kOutside + "' > outside.txt\nprintf chosen > x\nchmod 444 x\n"));
    LogCapture log;
    KestrelTest::LogGate gate(L"Read-only attribute cleared: " + scratch / L"x" + L". ");
    const TaskOutcome outcome = runTask(scratch / L"x", ItemKind::File, [&](EraseTask&) {
        ASSERT_TRUE(gate.waitUntilHeld(kTaskBoundMilliseconds)) << "run without root's override rights";
        EXPECT_TRUE(scratch.make("mv x x.kept\nln -s outside.txt x\n"));
        gate.release();
    });
    ASSERT_TRUE(outcome.finished);
    EXPECT_EQ(outcome.status, EraseStatus::Failed);
    EXPECT_TRUE(log.contains(errorLine(L"Skipped link: ", scratch / L"x")));
    EXPECT_EQ(readFile(scratch / L"outside.txt"), kOutside);
    EXPECT_EQ(readFile(scratch / L"x.kept"), "chosen");
}

// Wine's final-path call gives up on any path longer than MAX_PATH.
TEST(EraseSafety, DeepTreesAreErasedWhateverTheirPathsLength)
{
    ScratchFolder scratch;
    const std::wstring segment(100, L'd');
    for (const std::size_t length : {400u, 1200u}) {
        const std::wstring top = scratch / (L"T" + std::to_wstring(length));
        std::wstring deepest = top;
        ASSERT_TRUE(CreateDirectoryW(top.c_str(), nullptr));
        while (deepest.size() < length) {
            deepest += L"\\" + segment;
            ASSERT_TRUE(CreateDirectoryW((L"\\\\?\\" + deepest).c_str(), nullptr));
        }
        for (const wchar_t* name : {L"\\a.txt", L"\\b.txt"})
            ASSERT_TRUE(writeFile(L"\\\\?\\" + deepest + name, "chosen"));

        const TaskOutcome file = runTask(deepest + L"\\a.txt");
        ASSERT_TRUE(file.finished);
        EXPECT_EQ(file.status, EraseStatus::Done) << length;
        const TaskOutcome folder = runTask(top, ItemKind::Folder);
        ASSERT_TRUE(folder.finished);
        EXPECT_EQ(folder.status, EraseStatus::Done) << length;
        EXPECT_FALSE(exists(top));
    }
}

// A folder the listing cannot read keeps its content: the user must learn why from its own line,
// not only from the folders above it that stay. Under Wine that is a folder the user may not read,
// or one whose path passes the Unix limit of 4,096 bytes.
TEST(EraseSafety, FoldersThatCannotBeListedFailTheTaskWithTheirOwnLines)
{
    if (!KestrelTest::runningUnderWine())
        GTEST_SKIP() << "the tree is made on the Linux side, beyond what Wine can address";
    const UnixScratch scratch;
    ASSERT_TRUE(scratch.make("mkdir -p T/private\nprintf '" + kOutside + "' > T/private/kept\nchmod 000 T/private\n"
                             "perl -e 'chdir \"T\"; for (1 .. 45) { mkdir \"d\" x 100; chdir \"d\" x 100 or die } "
                             "open F, \">a.txt\" or die'\n"));
    LogCapture log;
    const TaskOutcome outcome = runTask(scratch / L"T", ItemKind::Folder);
    ASSERT_TRUE(outcome.finished);
    EXPECT_EQ(outcome.status, EraseStatus::Failed);
    EXPECT_EQ(log.count(L"ERROR: \tAccess denied: " + scratch / L"T\\private\r\n"), 1u);
    const auto lines = log.lines();
    const auto unlisted = std::find_if(lines.begin(), lines.end(), [](const std::wstring& line) {
        return line.rfind(L"ERROR: \t", 0) == 0 && line.find(L"Directory not empty: ") == std::wstring::npos &&
               line.find(L"\\private") == std::wstring::npos;
    });
    EXPECT_NE(unlisted, lines.end());
    EXPECT_TRUE(scratch.make("chmod 700 T/private\ntest \"$(cat T/private/kept)\" = '" + kOutside + "'\n"));
}
