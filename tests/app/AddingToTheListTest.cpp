#include "tests/app/MainDialogAccess.h"
#include "tests/app/MessageBoxAnswerer.h"
#include "tests/app/ShellDrop.h"
#include "tests/app/WaitingRows.h"
#include "tests/support/MessagePump.h"
#include "tests/support/ScratchFolder.h"

#include "app/HandedPaths.h"
#include "app/WipewellMainDlg.h"

#include <shlobj.h>
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace {

using KestrelTest::ScratchFolder;
using Paths = std::vector<std::wstring>;
using KestrelTest::Row;

class AddingToTheList : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dialog_.create(nullptr)); }
    void TearDown() override { dialog_.destroyWindow(); }

    std::vector<Row> rows() { return KestrelTest::waitingRows(dialog_); }
    void drop(const Paths& paths) { dialog_.sendMessage(WM_DROPFILES, reinterpret_cast<WPARAM>(KestrelTest::shellDrop(paths))); }

    ScratchFolder folder_;
    WipewellMainDlg dialog_;
};

TEST_F(AddingToTheList, FilesAndFoldersOfTheRightKindOnlyAndTheSamePathTwice)
{
    const std::wstring file = folder_ / L"a.txt";
    ASSERT_TRUE(KestrelTest::writeFile(file, "a"));
    EXPECT_FALSE(dialog_.addFile(L""));
    EXPECT_FALSE(dialog_.addFile(folder_ / L"missing.txt"));
    EXPECT_FALSE(dialog_.addFile(folder_.path()));
    EXPECT_FALSE(dialog_.addFolder(file));
    EXPECT_FALSE(dialog_.addFolder(folder_ / L"missing"));
    EXPECT_TRUE(dialog_.addFile(file));
    EXPECT_TRUE(dialog_.addFile(file));
    EXPECT_TRUE(dialog_.addFolder(folder_.path()));
    EXPECT_EQ(rows(), (std::vector<Row>{{ItemKind::File, file}, {ItemKind::File, file}, {ItemKind::Folder, folder_.path()}}));
}

TEST_F(AddingToTheList, DroppedItemsComeLastFirstAndAMissingOrOverlongOneIsSkippedSilently)
{
    const std::wstring sub = folder_ / std::wstring(150, L'd');
    ASSERT_TRUE(CreateDirectoryW(sub.c_str(), nullptr));
    for (const wchar_t* name : {L"A", L"B", L"C"})
        ASSERT_TRUE(KestrelTest::writeFile(sub + L"\\" + name, "x"));
    // An item whose path is exactly what a 260-character buffer keeps of a longer dropped path:
    // the longer path must not end up naming it.
    const std::wstring cut = sub + L"\\" + std::wstring(258 - sub.size(), L'f');
    ASSERT_EQ(cut.size(), 259u);
    ASSERT_TRUE(KestrelTest::writeFile(cut, "f"));

    // A named stream of A (under Wine a file of that name beside it) and a pattern that matches
    // A, B and C name no item a row could hold.
    const std::wstring stream = sub + L"\\A:Zone.Identifier";
    ASSERT_TRUE(KestrelTest::writeFile(stream, "zone"));

    KestrelTest::MessageBoxAnswerer answerer;
    drop({sub + L"\\A", sub + L"\\B", sub + L"\\C", stream, sub + L"\\?"});
    drop({folder_ / L"missing.txt", cut + L"-longer.txt", folder_.path()});
    EXPECT_EQ(dialog_.droppedFiles(), (Paths{folder_.path(), cut + L"-longer.txt", folder_ / L"missing.txt"}));
    EXPECT_EQ(rows(), (std::vector<Row>{{ItemKind::File, sub + L"\\C"},
                                        {ItemKind::File, sub + L"\\B"},
                                        {ItemKind::File, sub + L"\\A"},
                                        {ItemKind::Folder, folder_.path()}}));
    EXPECT_TRUE(answerer.boxes().empty());
}

// The plain form of a path longer than MAX_PATH fails on Windows where the long form works: a file
// there must still become a File row, from a drop and from the command line, and be erased as any
// other. Wine's plain form reaches any length, but strips a name's trailing dot as Windows does:
// a folder named so fails the plain form under Wine too.
TEST_F(AddingToTheList, FilesBeyondMaxPathBecomeFileRowsAndAreErased)
{
    const std::wstring outer = folder_ / std::wstring(120, L'd');
    const std::wstring inner = outer + L"\\" + std::wstring(120, L'e') + L".";
    const std::wstring dropped = inner + L"\\dropped.txt";
    const std::wstring handed = inner + L"\\handed.txt";
    ASSERT_GT(dropped.size(), static_cast<std::size_t>(MAX_PATH));
    ASSERT_TRUE(CreateDirectoryW((L"\\\\?\\" + outer).c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryW((L"\\\\?\\" + inner).c_str(), nullptr));
    for (const std::wstring& file : {dropped, handed})
        ASSERT_TRUE(KestrelTest::writeFile(L"\\\\?\\" + file, "beyond"));

    drop({dropped});
    dialog_.addHandedItems(handedItems((L"\"" + handed + L"\"").c_str()));
    ASSERT_EQ(rows(), (std::vector<Row>{{ItemKind::File, dropped}, {ItemKind::File, handed}}));

    ASSERT_TRUE(MainDialogAccess::startNextTask(dialog_));
    ASSERT_TRUE(KestrelTest::pumpUntil([this] { return MainDialogAccess::currentTask(dialog_) == nullptr; }, 60000));
    EraseTask task;
    for (int row = 0; row < 2; ++row) {
        ASSERT_TRUE(MainDialogAccess::taskList(dialog_).copyTask(row, task));
        EXPECT_EQ(task.status(), EraseStatus::Done) << row;
    }
    EXPECT_EQ(GetFileAttributesW((L"\\\\?\\" + dropped).c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(GetFileAttributesW((L"\\\\?\\" + handed).c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_TRUE(RemoveDirectoryW((L"\\\\?\\" + inner).c_str()));
    EXPECT_TRUE(RemoveDirectoryW((L"\\\\?\\" + outer).c_str()));
}

} // namespace
