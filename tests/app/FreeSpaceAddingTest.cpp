#include "tests/app/DialogDriver.h"
#include "tests/app/MainDialogAccess.h"
#include "tests/app/MessageBoxAnswerer.h"
#include "tests/support/LogCapture.h"
#include "tests/support/MessagePump.h"
#include "tests/support/MountedVolume.h"
#include "tests/support/ScratchFolder.h"
#include "tests/support/WineDrive.h"
#include "tests/support/WineDriveName.h"

#include "app/DriveChoiceText.h"
#include "app/HandedPaths.h"
#include "app/LeftoverFillFolderSweep.h"
#include "app/PathHandOver.h"
#include "app/UserTexts.h"
#include "app/WipewellMainDlg.h"
#include "erase/FillFolder.h"
#include "erase/WipeableDrive.h"
#include "foundation/ExtendedPath.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace {

using KestrelTest::DialogDriver;
using KestrelTest::LogCapture;
using KestrelTest::WineDrive;

// A row as a user sees it, with what it will run.
struct Row {
    ItemKind kind;
    std::wstring path;
    std::wstring shown;
    EraseStatus status;
    int image;
    bool operator==(const Row&) const = default;
};

std::vector<Row> rowsOf(WipewellMainDlg& dialog)
{
    ErasingTasksListCtrl& list = MainDialogAccess::taskList(dialog);
    std::vector<Row> rows;
    EraseTask task;
    for (int row = 0; list.copyTask(row, task); ++row)
        rows.push_back({task.kind(), task.path(), list.getItemText(row, 0), task.status(), list.getItemImage(row, 0)});
    return rows;
}

Row freeSpaceRow(const std::wstring& root, EraseStatus status = EraseStatus::Waiting)
{
    return {ItemKind::FreeSpace, root, L"Free space on " + root, status, ErasingTasksListCtrl::kFreeSpaceImage};
}

Row folderRow(const std::wstring& path)
{
    return {ItemKind::Folder, path, path, EraseStatus::Waiting, ErasingTasksListCtrl::kFolderImage};
}

// A drive letter that names no drive here.
std::wstring missingDriveLetter()
{
    const DWORD drives = GetLogicalDrives();
    for (wchar_t letter = L'Y'; letter > L'D'; --letter) {
        if (!(drives & (1u << (letter - L'A'))))
            return std::wstring(1, letter);
    }
    return {};
}

class FreeSpaceAdding : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dialog_.create(nullptr)); }
    void TearDown() override { dialog_.destroyWindow(); }

    WipewellMainDlg dialog_;
    LogCapture log_;
};

TEST(HandedItems, TheFreeSpaceSwitchFirstInAnyCaseTakesTheDriveWordsAsWritten)
{
    // Explorer's form runs on to the end of the line: its backslash escapes the closing quote.
    const HandedItems drives = handedItems(L"/FreeSpace e: \"D:\\\" f:");
    EXPECT_TRUE(drives.freeSpace);
    EXPECT_EQ(drives.words, (std::vector<std::wstring>{L"e:", L"D:\" f:"}));
    // Not the switch first: every word is a path, each made whole.
    const struct {
        const wchar_t* line;
        std::size_t words;
        const wchar_t* last;
    } notSwitches[] = {{L"C:\\x /freespace D:\\", 3, L"D:\\"},
                       {L"/freespacex D:\\", 2, L"D:\\"},
                       {L"-freespace D:\\", 2, L"D:\\"},
                       {L"C:\\x", 1, L"C:\\x"}};
    for (const auto& each : notSwitches) {
        const HandedItems paths = handedItems(each.line);
        EXPECT_FALSE(paths.freeSpace) << each.line;
        ASSERT_EQ(paths.words.size(), each.words) << each.line;
        EXPECT_TRUE(std::all_of(paths.words.begin(), paths.words.end(), isWholePath)) << each.line;
        EXPECT_EQ(paths.words.back(), each.last) << each.line;
    }
}

// The command line's story: every form of the switch and of a drive, each with its row or its
// "Skipped" line, and no box. C: and Z: are drives of every Wine prefix; no task is started.
TEST_F(FreeSpaceAdding, DrivesFromTheCommandLineBecomeFreeSpaceRowsOnceEachAndEverythingElseIsSkipped)
{
    const std::wstring missing = missingDriveLetter();
    ASSERT_FALSE(missing.empty());
    KestrelTest::MessageBoxAnswerer answerer;

    dialog_.addHandedItems(handedItems(L"/freespace C:\\"));
    dialog_.addHandedItems(handedItems(L"/FREESPACE \"Z:\\\""));
    dialog_.addHandedItems(handedItems(L"/freespace c: z:/"));
    dialog_.addHandedItems(handedItems((L"/freespace " + missing + L":\\ C:\\windows").c_str()));
    dialog_.addHandedItems(handedItems(L"C:\\"));
    EXPECT_EQ(rowsOf(dialog_), (std::vector<Row>{freeSpaceRow(L"C:\\"), freeSpaceRow(L"Z:\\"), folderRow(L"C:\\")}));
    EXPECT_EQ(log_.count(L"Info: \tAdded: C:\\. \r\n"), 2u);
    EXPECT_TRUE(log_.contains(L"Info: \tAdded: Z:\\. \r\n"));
    EXPECT_TRUE(log_.contains(L"ERROR: \tSkipped: C:\\. \r\n"));
    EXPECT_TRUE(log_.contains(L"ERROR: \tSkipped: Z:\\. \r\n"));
    EXPECT_TRUE(log_.contains(L"ERROR: \tSkipped: " + missing + L":\\. \r\n"));
    EXPECT_TRUE(log_.contains(L"ERROR: \tSkipped: C:\\windows. \r\n"));
    EXPECT_EQ(log_.count(L"ERROR: "), 4u);

    // A drive whose free-space row no longer waits may be added again.
    ASSERT_TRUE(MainDialogAccess::taskList(dialog_).setRowStatus(1, EraseStatus::Aborted));
    dialog_.addHandedItems(handedItems(L"/freespace z:"));
    EXPECT_EQ(rowsOf(dialog_).back(), freeSpaceRow(L"Z:\\"));
    EXPECT_EQ(log_.count(L"Info: \tAdded: Z:\\. \r\n"), 2u);

    EXPECT_EQ(MainDialogAccess::currentTask(dialog_), nullptr);
    EXPECT_TRUE(answerer.boxes().empty());
}

// Explorer's drive form without the switch, as the file and folder verb would hand it in: no item
// can have that name, so it is skipped with its line, and the file layer's errors never show.
TEST_F(FreeSpaceAdding, ExplorersDriveFormWithoutTheSwitchIsSkippedWithItsLineAlone)
{
    const HandedItems items = handedItems(L"\"C:\\\"");
    ASSERT_FALSE(items.freeSpace);
    ASSERT_EQ(items.words.size(), 1u);
    dialog_.addHandedItems(items);
    EXPECT_TRUE(rowsOf(dialog_).empty());
    EXPECT_TRUE(log_.contains(L"ERROR: \tSkipped: " + items.words[0] + L". \r\n"));
    EXPECT_EQ(log_.lines().size(), 1u);

    EXPECT_FALSE(dialog_.addFolder(L"C:\\\""));
    EXPECT_FALSE(dialog_.addFile(L"C:\\windows\\win.ini|"));
    EXPECT_TRUE(rowsOf(dialog_).empty());
    EXPECT_EQ(log_.lines().size(), 1u);
}

// A later start's words reach the running window in one WM_COPYDATA each: the drives with the
// switch's identifier, paths with the one every copy has sent so far.
TEST_F(FreeSpaceAdding, HandedOverDrivesReachTheRunningWindowAndPathsStayPaths)
{
    EXPECT_EQ(handItemsOver(dialog_, HandedItems{true, {L"Z:\"", L"C:"}}, 5000), HandOver::Taken);
    EXPECT_EQ(handItemsOver(dialog_, HandedItems{false, {L"C:\\"}}, 5000), HandOver::Taken);
    EXPECT_EQ(handItemsOver(dialog_, HandedItems{true, {}}, 5000), HandOver::NothingToSend);
    EXPECT_EQ(rowsOf(dialog_), (std::vector<Row>{freeSpaceRow(L"Z:\\"), freeSpaceRow(L"C:\\"), folderRow(L"C:\\")}));
    EXPECT_TRUE(log_.contains(L"Info: \tAdded: Z:\\. \r\n"));
    EXPECT_EQ(log_.count(L"Info: \tAdded: C:\\. \r\n"), 2u);
    EXPECT_EQ(log_.count(L"ERROR: "), 0u);
}

// A drive is offered by its letter, its label when it has one, its file system and its free space
// as Explorer words a size.
TEST(WipeableDrive, ChoicesReadAsLetterLabelFileSystemAndFreeSpace)
{
    const std::uint64_t gib = 1024ull * 1024 * 1024;
    EXPECT_EQ(driveChoiceText({L"D:\\", L"Data", L"NTFS", gib * 124 / 10}),
              L"D:\\  Data (NTFS), " + byteCountText(gib * 124 / 10) + L" free");
    EXPECT_EQ(driveChoiceText({L"E:\\", L"", L"FAT32", 1536}), L"E:\\  (FAT32), " + byteCountText(1536) + L" free");
    EXPECT_NE(byteCountText(gib * 124 / 10).find(L"GB"), std::wstring::npos);
}

// What the drive menu showed, read from a second thread while it was open.
struct ShownMenu {
    std::vector<std::wstring> items;
    std::vector<bool> enabled;
    RECT place{};
};

ShownMenu readMenu(HWND menuWindow)
{
    ShownMenu shown;
    const auto menu = reinterpret_cast<HMENU>(SendMessageW(menuWindow, MN_GETHMENU, 0, 0));
    for (int item = 0; item < GetMenuItemCount(menu); ++item) {
        wchar_t text[256]{};
        GetMenuStringW(menu, static_cast<UINT>(item), text, 256, MF_BYPOSITION);
        shown.items.emplace_back(text);
        shown.enabled.push_back(!(GetMenuState(menu, static_cast<UINT>(item), MF_BYPOSITION) & (MF_GRAYED | MF_DISABLED)));
    }
    GetWindowRect(menuWindow, &shown.place);
    return shown;
}

// Keys as a user presses them in the open menu: Down moves to the next item (the first from
// none), Enter chooses, Esc closes it.
void pressKeys(HWND menuWindow, const std::vector<WPARAM>& keys)
{
    for (const WPARAM key : keys) {
        PostMessageW(menuWindow, WM_KEYDOWN, key, 0);
        PostMessageW(menuWindow, WM_KEYUP, key, 0xC0000000);
    }
}

// The drive menu opened by the real button, with drives defined for the test: a fixed one on a
// tmpfs of 4 MiB (Wine gives it an NTFS volume without a label), and a CD-ROM and a network drive
// on plain folders.
class DriveMenu : public FreeSpaceAdding {
protected:
    void SetUp() override
    {
        FreeSpaceAdding::SetUp();
        const std::wstring mount = scratch_ / L"fixed";
        ASSERT_TRUE(CreateDirectoryW(mount.c_str(), nullptr));
        std::string why;
        volume_ = KestrelTest::MountedVolume::tmpfs(mount, 4096, why);
        if (!volume_)
            GTEST_SKIP() << "no tmpfs: " << why;
        fixed_ = WineDrive::define(mount, WineDrive::Type::Fixed, why);
        ASSERT_TRUE(fixed_) << why;
        cdRom_ = WineDrive::define(scratch_.path(), WineDrive::Type::CdRom, why);
        ASSERT_TRUE(cdRom_) << why;
        network_ = WineDrive::define(scratch_.path(), WineDrive::Type::Network, why);
        ASSERT_TRUE(network_) << why;
        root_ = fixed_->root();
        ASSERT_EQ(GetDriveTypeW(root_.c_str()), UINT{DRIVE_FIXED});
        ASSERT_EQ(GetDriveTypeW(cdRom_->root().c_str()), UINT{DRIVE_CDROM});
        ASSERT_EQ(GetDriveTypeW(network_->root().c_str()), UINT{DRIVE_REMOTE});
        dialog_.showWindow(SW_SHOW);
    }
    void TearDown() override
    {
        // The drives go before the mount they name.
        network_.reset();
        cdRom_.reset();
        fixed_.reset();
        volume_.reset();
        FreeSpaceAdding::TearDown();
    }

    // Presses Add Free Space..., and in the menu that opens presses Down as often as it takes to
    // reach the item that starts with the text (none: Esc); what the menu showed.
    ShownMenu openAndChoose(const std::wstring& start)
    {
        ShownMenu shown;
        DialogDriver driver(
            L"",
            [&](HWND menuWindow) {
                shown = readMenu(menuWindow);
                std::vector<WPARAM> keys;
                for (std::size_t item = 0; item < shown.items.size(); ++item) {
                    keys.push_back(VK_DOWN);
                    if (!start.empty() && shown.items[item].rfind(start, 0) == 0) {
                        keys.push_back(VK_RETURN);
                        pressKeys(menuWindow, keys);
                        return;
                    }
                }
                pressKeys(menuWindow, {VK_ESCAPE});
            },
            10000, L"#32768");
        dialog_.sendMessage(WM_COMMAND, MAKEWPARAM(IDC_ADD_FREE_SPACE, BN_CLICKED),
                            reinterpret_cast<LPARAM>(dialog_.getDlgItem(IDC_ADD_FREE_SPACE).handle()));
        // The press returns while the drives answer: the window goes on, and the menu opens later.
        EXPECT_FALSE(driver.acted());
        EXPECT_TRUE(KestrelTest::pumpUntil([&] { return driver.acted(); }, 10000));
        EXPECT_TRUE(driver.finish()) << "no menu showed";
        return shown;
    }

    KestrelTest::ScratchFolder scratch_;
    std::unique_ptr<KestrelTest::MountedVolume> volume_;
    std::unique_ptr<WineDrive> fixed_;
    std::unique_ptr<WineDrive> cdRom_;
    std::unique_ptr<WineDrive> network_;
    std::wstring root_;
};

TEST_F(DriveMenu, OffersTheFixedDriveBelowTheButtonAndAddsItsFreeSpaceOnceButNeverACdRomOrNetworkDrive)
{
    const std::wstring item = root_ + L"  (NTFS), " + byteCountText(4 * 1024 * 1024) + L" free";
    const ShownMenu first = openAndChoose(root_);
    EXPECT_NE(std::find(first.items.begin(), first.items.end(), item), first.items.end())
        << testing::PrintToString(first.items);
    // C: is offered too; other programs change its free space meanwhile, so only its start counts.
    const std::wstring driveC = driveChoiceText(*wipeableDrive(L"C:\\"));
    const std::wstring driveCStart = driveC.substr(0, driveC.rfind(L", "));
    EXPECT_TRUE(std::any_of(first.items.begin(), first.items.end(),
                            [&](const std::wstring& shown) { return shown.rfind(driveCStart + L", ", 0) == 0; }))
        << testing::PrintToString(first.items);
    EXPECT_EQ(std::count(first.enabled.begin(), first.enabled.end(), true), static_cast<long>(first.items.size()));
    RECT button{};
    GetWindowRect(dialog_.getDlgItem(IDC_ADD_FREE_SPACE), &button);
    EXPECT_GE(first.place.top, button.bottom);
    EXPECT_EQ(first.place.left, button.left);
    EXPECT_EQ(rowsOf(dialog_), std::vector<Row>{freeSpaceRow(root_)});

    // Offered greyed while its row waits, and chosen all the same: still one row. Closed without a
    // choice: nothing.
    const ShownMenu again = openAndChoose(root_);
    const auto waiting = std::find(again.items.begin(), again.items.end(), item);
    ASSERT_NE(waiting, again.items.end()) << testing::PrintToString(again.items);
    EXPECT_FALSE(again.enabled[static_cast<std::size_t>(waiting - again.items.begin())]);
    EXPECT_FALSE(openAndChoose(L"").items.empty());
    EXPECT_EQ(rowsOf(dialog_), std::vector<Row>{freeSpaceRow(root_)});
    for (const std::wstring& other : {cdRom_->root(), network_->root()}) {
        EXPECT_TRUE(std::none_of(first.items.begin(), first.items.end(),
                                 [&](const std::wstring& shown) { return shown.rfind(other, 0) == 0; }))
            << testing::PrintToString(other);
    }
    // The menu adds no log line of its own.
    EXPECT_TRUE(log_.empty());

    // Nor does the command line take them, or the fixed drive a second time.
    dialog_.addHandedItems(HandedItems{true, {cdRom_->root(), network_->root(), root_}});
    EXPECT_EQ(rowsOf(dialog_), std::vector<Row>{freeSpaceRow(root_)});
    EXPECT_EQ(log_.count(L"ERROR: \tSkipped: "), 3u);
}

// On a fixed drive: the fill folder of a wipe cut short, a user's folder of that name, and the
// folder of a wipe that runs now, held as the wipe holds it. The sweep at the window's start
// removes the first with its line, keeps the user's with its line, and passes over the third
// without a word.
TEST(LeftoverFillFolderSweep, RemovesLeftoversKeepsTheUsersAndPassesOverARunningWipe)
{
    KestrelTest::ScratchFolder folder;
    std::string why;
    const auto drive = WineDrive::define(folder.path(), WineDrive::Type::Fixed, why);
    if (!drive)
        GTEST_SKIP() << "no fixed test drive: " << why;
    // Proving a folder the program's own asks where its handle is.
    ASSERT_TRUE(KestrelTest::waitUntilWineNamesTheRoot(drive->root()));
    DWORD error = 0;
    auto running = FillFolder::create(Kestrel::extendedLengthPath(drive->root()), error);
    ASSERT_TRUE(running) << error;
    Kestrel::UniqueFileHandle fill = running->createFile(largeFillName(0), error);
    const std::wstring stem = drive->root() + FillFolder::kNameStem, leftover = stem + L".3", users = stem + L".4";
    ASSERT_TRUE(fill && CreateDirectoryW(leftover.c_str(), nullptr) && CreateDirectoryW(users.c_str(), nullptr));
    ASSERT_TRUE(KestrelTest::writeFile(leftover + L"\\FILL0", "f") && KestrelTest::writeFile(leftover + L"\\R12", "r"));
    ASSERT_TRUE(KestrelTest::writeFile(users + L"\\notes.txt", "the user's notes"));
    LogCapture log;

    { const LeftoverFillFolderSweep sweep; }

    EXPECT_EQ(GetFileAttributesW(leftover.c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_TRUE(log.contains(L"Info: \tRemoved an earlier fill folder: " + leftover + L". \r\n"));
    EXPECT_TRUE(log.contains(L"ERROR: \tKept a folder that is not the program's fill folder: " + users + L". \r\n"));
    EXPECT_EQ(log.count(stem), 2u);
    EXPECT_EQ(KestrelTest::readFile(users + L"\\notes.txt"), "the user's notes");
    EXPECT_NE(GetFileAttributesW((Kestrel::displayPath(running->path()) + L"\\FILL0").c_str()), INVALID_FILE_ATTRIBUTES);
    fill.reset();
    EXPECT_TRUE(running->remove());
}

} // namespace
