// kww recyclebin on a bin planted on a fixed test drive: the preview names each deleted item by the
// path its record holds (both versions of the record), a script is refused, and the erase runs.
#include "tests/console/KwwProcess.h"
#include "tests/support/PlantedRecycleBin.h"
#include "tests/support/ScratchFolder.h"

#include <gtest/gtest.h>

using ConsoleTest::linesOf;
using ConsoleTest::runKww;
using KestrelTest::recycleRecord;
using KestrelTest::writeFile;

TEST(RecycleBinCommand, PreviewNamesEachItemByItsRecordAndNothingGoesUnaskedBeforeTheErase)
{
    const KestrelTest::ScratchFolder scratch;
    std::string why;
    const KestrelTest::PlantedBins bins = KestrelTest::plantBins(scratch.path(), why);
    if (bins.mine.empty())
        GTEST_SKIP() << why;
    // A file with a record of the first version, a folder with one of the second, and a record
    // whose item is gone.
    const std::string notes = recycleRecord(1, 12, L"C:\\Users\\me\\notes.txt");
    const std::string photos = recycleRecord(2, 7, L"C:\\Users\\me\\Old photos");
    const std::string report = recycleRecord(2, 99, L"D:\\work\\report.doc");
    ASSERT_TRUE(writeFile(bins.mine + L"\\$RAB12CD.txt", "twelve bytes") && writeFile(bins.mine + L"\\$IAB12CD.txt", notes));
    ASSERT_TRUE(CreateDirectoryW((bins.mine + L"\\$REF34GH").c_str(), nullptr));
    ASSERT_TRUE(writeFile(bins.mine + L"\\$REF34GH\\a.jpg", "abc") && writeFile(bins.mine + L"\\$REF34GH\\b", "defg"));
    ASSERT_TRUE(writeFile(bins.mine + L"\\$IEF34GH", photos) && writeFile(bins.mine + L"\\$IJK56LM.doc", report));
    const auto mine = KestrelTest::filesIn(bins.mine);

    const auto preview = runKww({L"recyclebin", L"--preview"}, scratch.path());
    EXPECT_EQ(preview.exitCode, 0) << preview.error;
    const std::wstring total = std::to_wstring(12 + 7 + notes.size() + photos.size() + report.size());
    EXPECT_EQ(linesOf(preview.output),
              (std::vector<std::wstring>{L"Recycle Bin (3 items, " + total + L" bytes)",
                                         L"  File: C:\\Users\\me\\notes.txt (12 bytes)",
                                         L"  Folder: C:\\Users\\me\\Old photos (7 bytes)",
                                         L"  Record without its item: D:\\work\\report.doc (" +
                                             std::to_wstring(report.size()) + L" bytes)"}));
    EXPECT_EQ(runKww({L"recyclebin"}, scratch.path(), "y\r\n").exitCode, 2);
    EXPECT_EQ(runKww({L"recyclebin", bins.mine}, scratch.path()).exitCode, 2);
    EXPECT_EQ(KestrelTest::filesIn(bins.mine), mine) << "a preview or a refusal changes nothing";

    const auto erased = runKww({L"recyclebin", L"--yes"}, scratch.path());
    EXPECT_EQ(erased.exitCode, 0) << erased.error;
    EXPECT_EQ(linesOf(erased.output), (std::vector<std::wstring>{L"Done: Recycle Bin", L"1 done, 0 failed, 0 aborted"}));
    EXPECT_EQ(KestrelTest::filesIn(bins.mine).size(), 1u) << "desktop.ini alone stays";
}

// Records as Windows wrote them: a localized Vista's record one byte short, its path starting one
// byte earlier, reads whole; a record whose path runs past its end names its item by its place in
// the bin and says it is damaged, never the part of the path it holds.
TEST(RecycleBinCommand, PreviewReadsAShortVistaRecordAndNamesADamagedOneByItsPlace)
{
    const KestrelTest::ScratchFolder scratch;
    std::string why;
    const KestrelTest::PlantedBins bins = KestrelTest::plantBins(scratch.path(), why);
    if (bins.mine.empty())
        GTEST_SKIP() << why;
    std::string vista = recycleRecord(1, 5, L"C:\\Users\\me\\caf\u00e9.txt");
    vista.erase(23, 1); // the deletion time's last byte
    std::string cut = recycleRecord(2, 6, L"C:\\Users\\me\\Secret plans.txt");
    cut.resize(cut.size() - 8); // the NUL and the last three units
    ASSERT_EQ(vista.size(), 543u);
    ASSERT_TRUE(writeFile(bins.mine + L"\\$RAA11AA.txt", "fives") && writeFile(bins.mine + L"\\$IAA11AA.txt", vista));
    ASSERT_TRUE(writeFile(bins.mine + L"\\$RBB22BB.txt", "sixsix") && writeFile(bins.mine + L"\\$IBB22BB.txt", cut));

    const auto preview = runKww({L"recyclebin", L"--preview"}, scratch.path());
    EXPECT_EQ(preview.exitCode, 0) << preview.error;
    const std::wstring total = std::to_wstring(5 + 6 + vista.size() + cut.size());
    EXPECT_EQ(linesOf(preview.output),
              (std::vector<std::wstring>{L"Recycle Bin (2 items, " + total + L" bytes)",
                                         L"  File: C:\\Users\\me\\caf\u00e9.txt (5 bytes)",
                                         L"  File: " + bins.mine + L"\\$RBB22BB.txt (6 bytes, its record is damaged)"}));
    EXPECT_EQ(preview.output.find(L"Secret"), std::wstring::npos);
}
