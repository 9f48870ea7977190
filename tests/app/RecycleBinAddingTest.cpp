// The Recycle Bin from the window: its button adds one row that says what this user's bin holds,
// with the bin's own image; it waits once, whether it came from the button, the command line or
// a later start; and Erase! runs it as any row.
#include "tests/app/MainDialogAccess.h"
#include "tests/support/LogCapture.h"
#include "tests/support/MessagePump.h"
#include "tests/support/PlantedRecycleBin.h"
#include "tests/support/ScratchFolder.h"
#include "tests/support/WineDrive.h"
#include "tests/support/WineDriveName.h"

#include "app/DriveChoiceText.h"
#include "app/HandedPaths.h"
#include "app/PathHandOver.h"
#include "app/WipewellMainDlg.h"
#include "foundation/UniqueHandle.h"

#include <gtest/gtest.h>

namespace {

using KestrelTest::recycleRecord;
using KestrelTest::writeFile;

std::vector<std::wstring> namesIn(const std::wstring& folder)
{
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW entry;
    const Kestrel::UniqueFindHandle search(FindFirstFileW((folder + L"\\*").c_str(), &entry));
    for (bool more = static_cast<bool>(search); more; more = FindNextFileW(search.get(), &entry) != FALSE) {
        if (std::wstring(entry.cFileName) != L"." && std::wstring(entry.cFileName) != L"..")
            names.emplace_back(entry.cFileName);
    }
    return names;
}

} // namespace

TEST(RecycleBinAdding, TheButtonAddsTheBinOnceWithWhatItHoldsAndEraseEmptiesIt)
{
    const KestrelTest::ScratchFolder scratch;
    std::string why;
    const auto drive = KestrelTest::WineDrive::define(scratch.path(), KestrelTest::WineDrive::Type::Fixed, why);
    if (!drive)
        GTEST_SKIP() << "no fixed test drive: " << why;
    ASSERT_TRUE(KestrelTest::waitUntilWineNamesTheRoot(drive->root()));
    const std::wstring bin = KestrelTest::plantRecycleBin(drive->root(), KestrelTest::kWineUserSid);
    ASSERT_FALSE(bin.empty());
    const std::string record = recycleRecord(2, 3000, L"C:\\Users\\me\\letter.txt");
    const std::string lone = recycleRecord(1, 10, L"C:\\Users\\me\\gone.txt");
    ASSERT_TRUE(writeFile(bin + L"\\$RAB12CD.txt", std::string(3000, 'x')) && writeFile(bin + L"\\$IAB12CD.txt", record) &&
                writeFile(bin + L"\\$IEF34GH.txt", lone));
    const std::wstring expected =
        L"Recycle Bin (2 items, " + byteCountText(3000 + record.size() + lone.size()) + L")";

    WipewellMainDlg dialog;
    ASSERT_TRUE(dialog.create(nullptr));
    ErasingTasksListCtrl& list = MainDialogAccess::taskList(dialog);
    const KestrelTest::LogCapture log;
    // Reached by Tab from the button before it, and pressed as a click presses it.
    const HWND button = dialog.getDlgItem(IDC_ADD_RECYCLE_BIN);
    EXPECT_EQ(GetNextDlgTabItem(dialog, dialog.getDlgItem(IDC_ADD_FREE_SPACE), FALSE), button);
    auto press = [&] {
        dialog.sendMessage(WM_COMMAND, MAKEWPARAM(IDC_ADD_RECYCLE_BIN, BN_CLICKED), reinterpret_cast<LPARAM>(button));
    };
    press();
    press();
    ASSERT_EQ(list.getItemCount(), 1);
    EXPECT_EQ(list.getItemText(0, 0), expected);
    EXPECT_EQ(list.getItemImage(0, 0), ErasingTasksListCtrl::kRecycleBinImage);

    // The switch, from this start's command line and from a later one's, while the row waits.
    const HandedItems switched = handedItems(L"/RecycleBin C:\\ignored");
    EXPECT_TRUE(switched.recycleBin && switched.words.empty());
    dialog.addHandedItems(switched);
    EXPECT_EQ(handItemsOver(dialog, switched, 5000), HandOver::Taken);
    EXPECT_EQ(list.getItemCount(), 1);
    EXPECT_EQ(log.count(L"ERROR: \tSkipped: Recycle Bin. \r\n"), 2u);
    ASSERT_TRUE(list.setRowStatus(0, EraseStatus::Aborted));
    EXPECT_EQ(handItemsOver(dialog, switched, 5000), HandOver::Taken);
    EXPECT_TRUE(log.contains(L"Info: \tAdded: " + expected + L". \r\n"));

    ASSERT_TRUE(MainDialogAccess::startNextTask(dialog));
    ASSERT_TRUE(KestrelTest::pumpUntil([&] { return MainDialogAccess::currentTask(dialog) == nullptr; }, 60000));
    EraseTask erased;
    ASSERT_TRUE(list.copyTask(1, erased));
    EXPECT_EQ(erased.status(), EraseStatus::Done);
    EXPECT_EQ(namesIn(bin), std::vector<std::wstring>{L"desktop.ini"});
    EXPECT_TRUE(log.contains(L"Info: \tFile erased: " + expected + L". \r\n"));
    dialog.destroyWindow();
}
