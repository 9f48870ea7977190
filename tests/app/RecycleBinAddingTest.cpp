// The Recycle Bin from the window: its row says what this user's bin holds (the prefix's is
// empty), with the bin's own image, and waits once, whether it came from the command line, the
// button (reached by Tab) or a later start. The button alone refuses an empty bin, and says so.
#include "tests/app/MainDialogAccess.h"
#include "tests/app/MessageBoxAnswerer.h"
#include "tests/support/LogCapture.h"
#include "tests/support/PlantedRecycleBin.h"
#include "tests/support/ScratchFolder.h"

#include "app/DriveChoiceText.h"
#include "app/HandedPaths.h"
#include "app/PathHandOver.h"
#include "app/UserTexts.h"
#include "app/WipewellMainDlg.h"

#include <gtest/gtest.h>

TEST(RecycleBinAdding, TheBinWaitsOnceWithWhatItHoldsFromTheSwitchTheButtonAndALaterStart)
{
    WipewellMainDlg dialog;
    ASSERT_TRUE(dialog.create(nullptr));
    ErasingTasksListCtrl& list = MainDialogAccess::taskList(dialog);
    const KestrelTest::LogCapture log;
    const HandedItems switched = handedItems(L"/RecycleBin C:\\ignored");
    EXPECT_TRUE(switched.recycleBin && switched.words.empty());
    dialog.addHandedItems(switched);
    const std::wstring row = L"Recycle Bin (0 items, " + byteCountText(0) + L")";
    EXPECT_TRUE(log.contains(L"Info: \tAdded: " + row + L". \r\n"));

    const HWND button = dialog.getDlgItem(IDC_ADD_RECYCLE_BIN);
    EXPECT_EQ(GetNextDlgTabItem(dialog, dialog.getDlgItem(IDC_ADD_FREE_SPACE), FALSE), button);
    dialog.sendMessage(WM_COMMAND, MAKEWPARAM(IDC_ADD_RECYCLE_BIN, BN_CLICKED), reinterpret_cast<LPARAM>(button));
    EXPECT_EQ(handItemsOver(dialog, switched, 5000), HandOver::Taken);
    ASSERT_EQ(list.getItemCount(), 1);
    EXPECT_EQ(list.getItemText(0, 0), row);
    EXPECT_EQ(list.getItemImage(0, 0), ErasingTasksListCtrl::kRecycleBinImage);
    EXPECT_EQ(log.count(L"ERROR: \tSkipped: Recycle Bin. \r\n"), 1u);

    // Once it no longer waits, the button says that the empty bin is empty and adds nothing; with
    // something in the bin, it adds the bin again.
    ASSERT_TRUE(list.setRowStatus(0, EraseStatus::Aborted));
    {
        KestrelTest::MessageBoxAnswerer answerer;
        dialog.sendMessage(WM_COMMAND, MAKEWPARAM(IDC_ADD_RECYCLE_BIN, BN_CLICKED), reinterpret_cast<LPARAM>(button));
        ASSERT_EQ(answerer.boxes().size(), 1u);
        EXPECT_EQ(answerer.boxes()[0].text, UserTexts::kRecycleBinEmpty);
        EXPECT_EQ(list.getItemCount(), 1);
    }
    const KestrelTest::ScratchFolder scratch;
    std::string why;
    const KestrelTest::PlantedBins bins = KestrelTest::plantBins(scratch.path(), why);
    ASSERT_FALSE(bins.mine.empty()) << why;
    ASSERT_TRUE(KestrelTest::writeFile(bins.mine + L"\\$RAB12CD.txt", "twelve bytes"));
    dialog.sendMessage(WM_COMMAND, MAKEWPARAM(IDC_ADD_RECYCLE_BIN, BN_CLICKED), reinterpret_cast<LPARAM>(button));
    ASSERT_EQ(list.getItemCount(), 2);
    EXPECT_EQ(list.getItemText(1, 0), L"Recycle Bin (1 item, " + byteCountText(12) + L")");
}
