#include "tests/app/MessageBoxAnswerer.h"
#include "tests/app/ShellDrop.h"
#include "tests/app/WaitingRows.h"
#include "tests/support/ScratchFolder.h"

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

    KestrelTest::MessageBoxAnswerer answerer;
    drop({sub + L"\\A", sub + L"\\B", sub + L"\\C"});
    drop({folder_ / L"missing.txt", cut + L"-longer.txt", folder_.path()});
    EXPECT_EQ(dialog_.droppedFiles(), (Paths{folder_.path(), cut + L"-longer.txt", folder_ / L"missing.txt"}));
    EXPECT_EQ(rows(), (std::vector<Row>{{ItemKind::File, sub + L"\\C"},
                                        {ItemKind::File, sub + L"\\B"},
                                        {ItemKind::File, sub + L"\\A"},
                                        {ItemKind::Folder, folder_.path()}}));
    EXPECT_TRUE(answerer.boxes().empty());
}

} // namespace
