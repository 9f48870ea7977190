#include "erase/EraseTask.h"
#include "erase/FileHolders.h"
#include "erase/OverwriteBuffer.h"
#include "erase/FolderListing.h"
#include "foundation/UniqueHandle.h"

#include "tests/erase/FileChecks.h"
#include "tests/erase/FileHolder.h"
#include "tests/erase/TaskRunner.h"
#include "tests/support/LogCapture.h"
#include "tests/support/LogGate.h"
#include "tests/support/MountedVolume.h"
#include "tests/support/ScratchFolder.h"
#include "tests/support/UnixShell.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>

using KestrelTest::LogCapture;
using KestrelTest::readFile;
using KestrelTest::ScratchFolder;
using KestrelTest::writeFile;

namespace {

// One write of the overwrite.
constexpr std::size_t kChunk = kWriteChunkSize;
const std::wstring kBegin = L"Info: \tBegin to erase: ";

// What Windows would name as the holders of b.txt; Wine's Restart Manager names nobody.
std::vector<std::wstring> heldByPrograms(const std::wstring& path)
{
    if (!path.ends_with(L"\\F\\b.txt"))
        return {};
    return {L"Viewer", L"Editor", L"Sync", L"Editor", L"Backup", L"Indexer"};
}

bool makeFolder(const std::wstring& path)
{
    return CreateDirectoryW(path.c_str(), nullptr) != 0;
}

// The items in the order the walk began them.
std::vector<std::wstring> begunItems(const LogCapture& log)
{
    std::vector<std::wstring> items;
    for (const auto& line : log.lines()) {
        if (line.rfind(kBegin, 0) == 0)
            items.push_back(line.substr(kBegin.size(), line.size() - kBegin.size() - 4)); // ". \r\n"
    }
    return items;
}

// Links are made on the Linux side; Wine shows a link to a folder as a folder with the reparse
// attribute. Every link under the root goes again with the object, wherever the erase moved it:
// nothing on the Windows side may remove them, since RemoveDirectoryW acts on a link's target.
class UnixLinks {
public:
    explicit UnixLinks(const std::wstring& root) : root_(KestrelTest::unixPathOf(root)) {}
    ~UnixLinks()
    {
        if (!root_.empty())
            (void)KestrelTest::runUnixShell("find " + KestrelTest::shellQuoted(root_) + " -type l -delete\n");
    }
    UnixLinks(const UnixLinks&) = delete;
    UnixLinks& operator=(const UnixLinks&) = delete;

    [[nodiscard]] bool make(const std::wstring& target, const std::wstring& link)
    {
        const auto result =
            KestrelTest::runUnixShell("ln -s " + KestrelTest::shellQuoted(KestrelTest::unixPathOf(target)) + " " +
                                      KestrelTest::shellQuoted(KestrelTest::unixPathOf(link)) + "\n");
        return result.finished && result.status == 0 &&
               (GetFileAttributesW(link.c_str()) & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
    }

private:
    std::string root_;
};

// The one folder in a folder (whatever name the erase gave it), or an empty string.
std::wstring onlyFolderIn(const std::wstring& folder)
{
    const auto names = namesIn(folder);
    if (names.size() != 1 || !(GetFileAttributesW((folder + L"\\" + names[0]).c_str()) & FILE_ATTRIBUTE_DIRECTORY))
        return {};
    return folder + L"\\" + names[0];
}

// The names of the links under a folder, found without entering any.
std::vector<std::wstring> linksUnder(const std::wstring& folder)
{
    std::vector<std::wstring> links;
    for (const auto& name : namesIn(folder)) {
        const std::wstring path = folder + L"\\" + name;
        const DWORD attributes = GetFileAttributesW(path.c_str());
        if (attributes & FILE_ATTRIBUTE_REPARSE_POINT) {
            links.push_back(name);
        } else if (attributes & FILE_ATTRIBUTE_DIRECTORY) {
            const auto inner = linksUnder(path);
            links.insert(links.end(), inner.begin(), inner.end());
        }
    }
    return links;
}

// How many plain files lie under a folder, links not entered.
std::size_t filesUnder(const std::wstring& folder)
{
    std::size_t files = 0;
    for (const auto& name : namesIn(folder)) {
        const DWORD attributes = GetFileAttributesW((folder + L"\\" + name).c_str());
        if (attributes & FILE_ATTRIBUTE_REPARSE_POINT)
            continue;
        files += (attributes & FILE_ATTRIBUTE_DIRECTORY) ? filesUnder(folder + L"\\" + name) : 1;
    }
    return files;
}

// A folder outside the erased tree whose every byte must survive.
struct Sentinel {
    explicit Sentinel(const std::wstring& folder) : folder(folder)
    {
        created = makeFolder(folder) && writeFile(folder + L"\\keep.txt", recognisableBytes(3000, "keep")) &&
                  makeFolder(folder + L"\\inner") && writeFile(folder + L"\\inner\\keep2.txt", "also kept");
    }
    [[nodiscard]] bool intact() const
    {
        return namesIn(folder).size() == 2 && readFile(folder + L"\\keep.txt") == recognisableBytes(3000, "keep") &&
               namesIn(folder + L"\\inner") == std::vector<std::wstring>{L"keep2.txt"} &&
               readFile(folder + L"\\inner\\keep2.txt") == "also kept";
    }
    std::wstring folder;
    bool created = false;
};

// Runs the folder task and requests the stop while its worker is held at the first log line that
// begins with the text.
TaskOutcome runStoppedAt(const std::wstring& folder, const std::wstring& lineStart)
{
    KestrelTest::LogGate gate(lineStart);
    return runTask(folder, ItemKind::Folder, [&gate](EraseTask& task) {
        ASSERT_TRUE(gate.waitUntilHeld(kTaskBoundMilliseconds));
        EXPECT_TRUE(task.requestAbort());
        gate.release();
    });
}

} // namespace

TEST(EraseFolder, EmptyFolderIsRemoved)
{
    ScratchFolder scratch;
    const std::wstring folder = scratch / L"empty";
    ASSERT_TRUE(makeFolder(folder));
    LogCapture log;
    const TaskOutcome outcome = runTask(folder, ItemKind::Folder);
    ASSERT_TRUE(outcome.finished);
    EXPECT_EQ(outcome.status, EraseStatus::Done);
    EXPECT_EQ(outcome.messageStatus, static_cast<WPARAM>(EraseStatus::Done));
    EXPECT_EQ(outcome.progress, 0.0);
    EXPECT_TRUE(log.contains(L"Info: \tBegin to erase: " + folder + L". \r\n"));
    EXPECT_TRUE(log.contains(L"Info: \tErase folder: " + folder + L". \r\n"));
    EXPECT_TRUE(namesIn(scratch.path()).empty());
}

TEST(EraseFolder, TreeIsErasedDeepestItemFirstAndTheTaskFolderLast)
{
    ScratchFolder scratch;
    const std::wstring top = scratch / L"F";
    const std::vector<std::wstring> folders = {top, top + L"\\A", top + L"\\A\\B"};
    const std::vector<std::wstring> files = {top + L"\\b", top + L"\\A\\a", top + L"\\A\\B\\c", top + L"\\A\\d"};
    for (const auto& folder : folders)
        ASSERT_TRUE(makeFolder(folder));
    for (const auto& file : files)
        ASSERT_TRUE(writeFile(file, recognisableBytes(kChunk + 10)));
    LogCapture log;
    const TaskOutcome outcome = runTask(top, ItemKind::Folder);
    ASSERT_TRUE(outcome.finished);
    EXPECT_EQ(outcome.status, EraseStatus::Done);
    EXPECT_EQ(outcome.progress, 100.0);
    EXPECT_TRUE(namesIn(scratch.path()).empty());

    const auto order = begunItems(log);
    ASSERT_EQ(order.size(), folders.size() + files.size());
    EXPECT_EQ(order.back(), top);
    std::map<std::wstring, std::size_t> position;
    for (std::size_t index = 0; index < order.size(); ++index)
        position[order[index]] = index;
    for (const auto& item : order) {
        for (const auto& folder : folders) {
            // Everything inside a folder comes before the folder.
            if (item.size() > folder.size() && item.rfind(folder + L"\\", 0) == 0) {
                EXPECT_LT(position[item], position[folder]);
            }
        }
    }
}

// One file cannot be opened: it stays, untouched, and the task fails; every other file still goes.
TEST(EraseFolder, FileHeldOpenElsewhereSparesNoOtherFile)
{
    ScratchFolder scratch;
    const std::wstring top = scratch / L"F";
    ASSERT_TRUE(makeFolder(top));
    ASSERT_TRUE(makeFolder(top + L"\\sub"));
    const std::string heldContent = recognisableBytes(2000, "held");
    for (const wchar_t* name : {L"\\a.txt", L"\\c.txt", L"\\sub\\d.txt", L"\\e.txt"})
        ASSERT_TRUE(writeFile(top + name, recognisableBytes(3000)));
    const std::wstring held = top + L"\\b.txt";
    ASSERT_TRUE(writeFile(held, heldContent));
    LogCapture log;
    {
        FileHolder holder(held);
        ASSERT_TRUE(holder.holding());
        setFileHoldersHook(heldByPrograms);
        const TaskOutcome outcome = runTask(top, ItemKind::Folder);
        setFileHoldersHook(nullptr);
        ASSERT_TRUE(outcome.finished);
        EXPECT_EQ(outcome.status, EraseStatus::Failed);
    }
    // Each program once, a few of them, the rest counted.
    EXPECT_TRUE(log.contains(L"ERROR: \tFailed to open: " + held +
                             L". The file is in use by another program (Backup, Editor, Indexer and 2 more). \r\n"));
    // The task folder cannot go while it holds the file, and keeps its name so that the user
    // finds the file where it was; everything else is gone.
    EXPECT_EQ(namesIn(scratch.path()), std::vector<std::wstring>{L"F"});
    EXPECT_EQ(namesIn(top), std::vector<std::wstring>{L"b.txt"});
    EXPECT_EQ(readFile(held), heldContent);
}

// Another handle that shares deletion lets the file be opened, overwritten, emptied and moved,
// but its deletion waits for that handle: the file is not gone, so neither is its folder, and the
// task fails. The file goes when the last handle closes.
TEST(EraseFolder, FileWhoseDeletionWaitsForAnotherHandleFailsTheTask)
{
    ScratchFolder scratch;
    const std::wstring top = scratch / L"F";
    ASSERT_TRUE(makeFolder(top));
    ASSERT_TRUE(makeFolder(top + L"\\sub"));
    ASSERT_TRUE(writeFile(top + L"\\a.txt", recognisableBytes(3000)));
    const std::wstring held = top + L"\\sub\\b.txt";
    ASSERT_TRUE(writeFile(held, recognisableBytes(3000)));
    LogCapture log;
    {
        const Kestrel::UniqueFileHandle holder(CreateFileW(held.c_str(), GENERIC_READ,
                                                           FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                                           nullptr, OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(holder);
        const TaskOutcome outcome = runTask(top, ItemKind::Folder);
        ASSERT_TRUE(outcome.finished);
        EXPECT_EQ(outcome.status, EraseStatus::Failed);
        EXPECT_EQ(namesIn(top), std::vector<std::wstring>{L"sub"});
        EXPECT_EQ(namesIn(top + L"\\sub"), std::vector<std::wstring>{L"KestrelWipewell.0"});
    }
    EXPECT_TRUE(log.contains(L"ERROR: \tDirectory not empty: " + top + L"\\sub\r\n"));
    EXPECT_TRUE(namesIn(top + L"\\sub").empty());
}

// The walk is held just before a three-chunk file while the stop is requested: that file gets
// one chunk and then keeps its name and the rest of its bytes, and nothing after it is begun.
TEST(EraseFolder, StopDuringTheWalkNeverDeletesAHalfOverwrittenFile)
{
    ScratchFolder scratch;
    const std::wstring top = scratch / L"F";
    ASSERT_TRUE(makeFolder(top));
    const std::wstring big = top + L"\\big.bin";
    const std::string original = recognisableBytes(3 * kChunk);
    ASSERT_TRUE(writeFile(big, original));
    for (const wchar_t* name : {L"\\one.txt", L"\\two.txt"})
        ASSERT_TRUE(writeFile(top + name, "small"));

    LogCapture log;
    const TaskOutcome outcome = runStoppedAt(top, L"Begin to erase: " + big + L". ");
    ASSERT_TRUE(outcome.finished);
    EXPECT_EQ(outcome.status, EraseStatus::Aborted);
    const std::string after = readFile(big);
    ASSERT_EQ(after.size(), original.size());
    EXPECT_NE(after.substr(0, kChunk), original.substr(0, kChunk));
    EXPECT_EQ(after.substr(kChunk), original.substr(kChunk));
    EXPECT_FALSE(log.contains(L"Erase file: " + big));
    EXPECT_EQ(begunItems(log).back(), big);
    EXPECT_TRUE(exists(top));
}

// A stop that comes while a file's only chunk is written: that file was overwritten whole, so it
// is finished (emptied, moved, deleted); nothing after it is begun.
TEST(EraseFolder, StopDuringAFilesLastChunkStillFinishesThatFile)
{
    ScratchFolder scratch;
    const std::wstring top = scratch / L"F";
    ASSERT_TRUE(makeFolder(top));
    const std::wstring small = top + L"\\small.txt";
    ASSERT_TRUE(writeFile(small, recognisableBytes(1000)));
    for (const wchar_t* name : {L"\\one.txt", L"\\two.txt"})
        ASSERT_TRUE(writeFile(top + name, "untouched"));

    LogCapture log;
    const TaskOutcome outcome = runStoppedAt(top, L"Begin to erase: " + small + L". ");
    ASSERT_TRUE(outcome.finished);
    EXPECT_EQ(outcome.status, EraseStatus::Aborted);
    EXPECT_FALSE(exists(small));
    EXPECT_EQ(begunItems(log).back(), small);
    // The files begun before it are gone, the others untouched; the folder stays.
    for (const auto& name : namesIn(top))
        EXPECT_EQ(readFile(top + L"\\" + name), "untouched");
    EXPECT_EQ(namesIn(top).size() + begunItems(log).size(), 3u);
}

// The listing is held at a link it skips while the stop is requested: nothing has been changed,
// and the user asked for the stop, so the task ends Aborted.
TEST(EraseFolder, StopDuringTheListingEndsAbortedWithNothingChanged)
{
    if (!KestrelTest::runningUnderWine())
        GTEST_SKIP() << "the link that marks the listing's progress is made on the Linux side";
    ScratchFolder scratch;
    const std::wstring top = scratch / L"F";
    ASSERT_TRUE(makeFolder(top));
    ASSERT_TRUE(makeFolder(top + L"\\target"));
    for (const wchar_t* name : {L"\\a.txt", L"\\b.txt", L"\\c.txt"})
        ASSERT_TRUE(writeFile(top + name, "content"));
    UnixLinks links(scratch.path());
    ASSERT_TRUE(links.make(top + L"\\target", top + L"\\link"));

    LogCapture log;
    const TaskOutcome outcome = runStoppedAt(top, L"Skipped link: ");
    ASSERT_TRUE(outcome.finished);
    EXPECT_EQ(outcome.status, EraseStatus::Aborted);
    EXPECT_TRUE(begunItems(log).empty());
    EXPECT_EQ(namesIn(top).size(), 5u);
    EXPECT_EQ(readFile(top + L"\\a.txt"), "content");
}

// A link into a folder outside the tree and a link back to the tree itself: neither is entered
// or removed, the listing ends, the task fails because the links remain.
TEST(EraseFolder, LinksAreNeverFollowed)
{
    if (!KestrelTest::runningUnderWine())
        GTEST_SKIP() << "folder links are made on the Linux side";
    ScratchFolder scratch;
    const Sentinel sentinel(scratch / L"sentinel");
    ASSERT_TRUE(sentinel.created);
    const std::wstring top = scratch / L"F";
    ASSERT_TRUE(makeFolder(top));
    ASSERT_TRUE(makeFolder(top + L"\\sub"));
    ASSERT_TRUE(writeFile(top + L"\\a.txt", recognisableBytes(100)));
    ASSERT_TRUE(writeFile(top + L"\\sub\\b.txt", recognisableBytes(100)));
    UnixLinks links(scratch.path());
    ASSERT_TRUE(links.make(sentinel.folder, top + L"\\sub\\outside"));
    ASSERT_TRUE(links.make(top, top + L"\\sub\\loop"));

    LogCapture log;
    const TaskOutcome outcome = runTask(top, ItemKind::Folder);
    ASSERT_TRUE(outcome.finished);
    EXPECT_EQ(outcome.status, EraseStatus::Failed);
    EXPECT_TRUE(log.contains(L"ERROR: \tSkipped link: " + top + L"\\sub\\outside. \r\n"));
    EXPECT_TRUE(log.contains(L"ERROR: \tSkipped link: " + top + L"\\sub\\loop. \r\n"));
    EXPECT_TRUE(sentinel.intact());
    EXPECT_EQ(log.count(L"Begin to erase: "), 4u); // F, sub, a.txt, b.txt: nothing behind a link
    // The folders holding the links could not go and kept their names, the files did; both
    // links are still there.
    EXPECT_EQ(namesIn(scratch.path()).size(), 2u);
    auto visible = linksUnder(scratch.path());
    std::sort(visible.begin(), visible.end());
    EXPECT_EQ(visible, (std::vector<std::wstring>{L"loop", L"outside"}));
    const std::string unixScratch = KestrelTest::shellQuoted(KestrelTest::unixPathOf(scratch.path()));
    const auto found = KestrelTest::runUnixShell("find " + unixScratch + " -type l -printf '%f\\n' | sort\n");
    EXPECT_EQ(found.output, "loop\noutside\n");
    EXPECT_EQ(filesUnder(scratch.path()), 2u); // the sentinel's
}

TEST(EraseFolder, TaskPathThatIsALinkIsNotErased)
{
    if (!KestrelTest::runningUnderWine())
        GTEST_SKIP() << "folder links are made on the Linux side";
    ScratchFolder scratch;
    const Sentinel sentinel(scratch / L"sentinel");
    ASSERT_TRUE(sentinel.created);
    UnixLinks links(scratch.path());
    const std::wstring link = scratch / L"link";
    ASSERT_TRUE(links.make(sentinel.folder, link));
    LogCapture log;
    const TaskOutcome outcome = runTask(link, ItemKind::Folder);
    ASSERT_TRUE(outcome.finished);
    EXPECT_EQ(outcome.status, EraseStatus::Failed);
    EXPECT_TRUE(log.contains(L"ERROR: \tSkipped link: " + link + L". \r\n"));
    EXPECT_TRUE(sentinel.intact());
    EXPECT_TRUE(exists(link));
}

// A folder swapped for a link to another folder after the listing: nothing behind the link is
// touched, although its items carry the names the listing found.
TEST(EraseFolder, FolderSwappedForALinkAfterTheListingIsNotEntered)
{
    if (!KestrelTest::runningUnderWine())
        GTEST_SKIP() << "folder links are made on the Linux side";
    ScratchFolder scratch;
    const Sentinel sentinel(scratch / L"sentinel");
    ASSERT_TRUE(sentinel.created);
    const std::wstring top = scratch / L"F";
    const Sentinel listed(top);
    ASSERT_TRUE(listed.created);
    UnixLinks links(scratch.path());

    LogCapture log;
    const std::wstring inner = top + L"\\inner";
    KestrelTest::LogGate gate(kBegin);
    const TaskOutcome outcome = runTask(top, ItemKind::Folder, [&](EraseTask&) {
        ASSERT_TRUE(gate.waitUntilHeld(kTaskBoundMilliseconds));
        EXPECT_TRUE(MoveFileW(inner.c_str(), (scratch / L"moved").c_str()));
        EXPECT_TRUE(links.make(sentinel.folder + L"\\inner", inner));
        gate.release();
    });
    ASSERT_TRUE(outcome.finished);
    EXPECT_EQ(outcome.status, EraseStatus::Failed);
    EXPECT_TRUE(sentinel.intact());
    EXPECT_TRUE(log.contains(L"ERROR: \tSkipped link: " + inner + L"\\keep2.txt. \r\n"));
}

// Whatever path leads to a folder already listed, the listing does not enter it again.
TEST(EraseFolder, ListingNeverEntersAFolderTwice)
{
    ScratchFolder scratch;
    const std::wstring top = scratch / L"F";
    ASSERT_TRUE(makeFolder(top));
    ASSERT_TRUE(makeFolder(top + L"\\sub"));
    ASSERT_TRUE(writeFile(top + L"\\sub\\a.txt", std::string(10, 'a')));
    ASSERT_TRUE(writeFile(top + L"\\b.txt", std::string(20, 'b')));
    const EraseTask task(ItemKind::Folder, top, EraseStatus::InProgress, 0.0, nullptr);
    FolderListing listing;
    LogCapture log;
    ASSERT_TRUE(listing.collect(top, task));
    EXPECT_EQ(listing.items.size(), 3u);
    EXPECT_EQ(listing.totalBytes, 30u);
    EXPECT_FALSE(listing.linksSkipped);

    EXPECT_TRUE(listing.collect(top + L"\\sub", task));
    EXPECT_TRUE(listing.collect(top + L"\\.\\sub\\", task));
    EXPECT_EQ(listing.items.size(), 3u);
    EXPECT_EQ(listing.totalBytes, 30u);
    EXPECT_TRUE(listing.linksSkipped);
    EXPECT_EQ(log.count(L"ERROR: \tSkipped link: "), 2u);
}

// A drive root is emptied but never moved or removed.
TEST(EraseFolder, DriveRootIsEmptiedButKept)
{
    ScratchFolder scratch;
    std::wstring root;
    std::string why;
    const auto volume = KestrelTest::MountedVolume::tmpfsDrive(scratch / L"drive", 4096, root, why);
    if (!volume)
        GTEST_SKIP() << "no tmpfs mapped as a drive: " << why;
    ASSERT_TRUE(makeFolder(root + L"sub"));
    ASSERT_TRUE(writeFile(root + L"sub\\a.txt", recognisableBytes(100)));
    ASSERT_TRUE(writeFile(root + L"b.txt", recognisableBytes(kChunk * 2)));
    LogCapture log;
    const TaskOutcome outcome = runTask(root, ItemKind::Folder);
    ASSERT_TRUE(outcome.finished);
    EXPECT_EQ(outcome.status, EraseStatus::Done);
    EXPECT_EQ(outcome.progress, 100.0);
    EXPECT_TRUE(exists(root));
    EXPECT_TRUE(namesIn(root).empty());
    EXPECT_EQ(begunItems(log).size(), 3u);
}

// Disk full on one file of a tree: that file stays, the task fails, every other file still goes.
TEST(EraseFolder, WriteThatFailsSparesNoOtherFile)
{
    ScratchFolder scratch;
    const std::wstring mount = scratch / L"small";
    ASSERT_TRUE(makeFolder(mount));
    std::string why;
    auto volume = KestrelTest::MountedVolume::tmpfs(mount, 2560, why);
    if (!volume)
        GTEST_SKIP() << "no tmpfs for a real disk-full write: " << why;
    const std::wstring top = mount + L"\\F";
    ASSERT_TRUE(makeFolder(top));
    const std::wstring sparse = top + L"\\sparse.bin";
    ASSERT_TRUE(writeSparse(sparse, 4 * 1024 * 1024));
    for (const wchar_t* name : {L"\\a.txt", L"\\b.txt", L"\\c.txt"})
        ASSERT_TRUE(writeFile(top + name, recognisableBytes(5000)));
    LogCapture log;
    const TaskOutcome outcome = runTask(top, ItemKind::Folder);
    ASSERT_TRUE(outcome.finished);
    EXPECT_EQ(outcome.status, EraseStatus::Failed);
    EXPECT_TRUE(log.contains(L"ERROR: \tFailed to write to: " + sparse + L". \r\n"));
    EXPECT_TRUE(log.contains(L"ERROR: \tFailed to erase: " + sparse + L". \r\n"));
    const std::wstring kept = onlyFolderIn(mount);
    ASSERT_FALSE(kept.empty());
    EXPECT_EQ(namesIn(kept), std::vector<std::wstring>{L"sparse.bin"});
}
