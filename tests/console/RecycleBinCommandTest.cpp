// kww recyclebin on bins planted on a fixed test drive: the preview names each deleted item by the
// path its record holds (both versions of the record), the question is refused to a script, and
// the erase takes this user's items and nothing else.
#include "foundation/UniqueHandle.h"
#include "tests/console/KwwProcess.h"
#include "tests/support/PlantedRecycleBin.h"
#include "tests/support/ScratchFolder.h"
#include "tests/support/WineDrive.h"
#include "tests/support/WineDriveName.h"

#include <gtest/gtest.h>

using ConsoleTest::KwwResult;
using ConsoleTest::linesOf;
using ConsoleTest::runKww;
using KestrelTest::readFile;
using KestrelTest::recycleRecord;
using KestrelTest::writeFile;

namespace {

using Lines = std::vector<std::wstring>;

// The files in a folder with their bytes, and those of each folder inside, by relative path.
std::vector<std::pair<std::wstring, std::string>> filesIn(const std::wstring& folder, const std::wstring& below = {})
{
    std::vector<std::pair<std::wstring, std::string>> files;
    WIN32_FIND_DATAW entry;
    const Kestrel::UniqueFindHandle search(FindFirstFileW((folder + below + L"\\*").c_str(), &entry));
    for (bool more = static_cast<bool>(search); more; more = FindNextFileW(search.get(), &entry) != FALSE) {
        const std::wstring name = entry.cFileName, relative = below + L"\\" + name;
        if (name == L"." || name == L"..")
            continue;
        if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            files.emplace_back(relative, "<folder>");
            for (auto& inner : filesIn(folder, relative))
                files.push_back(std::move(inner));
        } else {
            files.emplace_back(relative, readFile(folder + relative));
        }
    }
    return files;
}

} // namespace

TEST(RecycleBinCommand, PreviewNamesEachItemByItsRecordAndTheEraseTakesOnlyThisUsersBin)
{
    const KestrelTest::ScratchFolder scratch;
    const std::wstring folder = scratch / L"drive";
    ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
    std::string why;
    const auto drive = KestrelTest::WineDrive::define(folder, KestrelTest::WineDrive::Type::Fixed, why);
    if (!drive)
        GTEST_SKIP() << "no fixed test drive: " << why;
    ASSERT_TRUE(KestrelTest::waitUntilWineNamesTheRoot(drive->root()));
    const std::wstring mine = KestrelTest::plantRecycleBin(drive->root(), KestrelTest::kWineUserSid);
    const std::wstring theirs = KestrelTest::plantRecycleBin(drive->root(), KestrelTest::kOtherUserSid);
    ASSERT_FALSE(mine.empty() || theirs.empty());
    // A file whose record is of the first version, a folder whose record is of the second, and a
    // record whose item is gone.
    const std::string notesRecord = recycleRecord(1, 12, L"C:\\Users\\me\\notes.txt");
    const std::string photosRecord = recycleRecord(2, 7, L"C:\\Users\\me\\Old photos");
    const std::string reportRecord = recycleRecord(2, 99, L"D:\\work\\report.doc");
    ASSERT_TRUE(writeFile(mine + L"\\$RAB12CD.txt", "twelve bytes") && writeFile(mine + L"\\$IAB12CD.txt", notesRecord));
    ASSERT_TRUE(CreateDirectoryW((mine + L"\\$REF34GH").c_str(), nullptr));
    ASSERT_TRUE(writeFile(mine + L"\\$REF34GH\\a.jpg", "abc") && writeFile(mine + L"\\$REF34GH\\b.jpg", "defg"));
    ASSERT_TRUE(writeFile(mine + L"\\$IEF34GH", photosRecord) && writeFile(mine + L"\\$IJK56LM.doc", reportRecord));
    ASSERT_TRUE(writeFile(theirs + L"\\$RZZ99ZZ.txt", "theirs") &&
                writeFile(theirs + L"\\$IZZ99ZZ.txt", recycleRecord(2, 6, L"C:\\Users\\other\\theirs.txt")));
    const auto before = filesIn(drive->root());
    const std::size_t recordBytes = notesRecord.size() + photosRecord.size() + reportRecord.size();

    const KwwResult preview = runKww({L"recyclebin", L"--preview"}, scratch.path());
    EXPECT_EQ(preview.exitCode, 0) << preview.error;
    EXPECT_EQ(linesOf(preview.output),
              (Lines{L"Recycle Bin (3 items, " + std::to_wstring(19 + recordBytes) + L" bytes)",
                     L"  File: C:\\Users\\me\\notes.txt (12 bytes)", L"  Folder: C:\\Users\\me\\Old photos (7 bytes)",
                     L"  Record without its item: D:\\work\\report.doc (" + std::to_wstring(reportRecord.size()) +
                         L" bytes)"}));
    const KwwResult refused = runKww({L"recyclebin"}, scratch.path(), "y\r\n");
    EXPECT_EQ(refused.exitCode, 2);
    EXPECT_EQ(refused.output, L"");
    const KwwResult extra = runKww({L"recyclebin", mine}, scratch.path());
    EXPECT_EQ(extra.exitCode, 2) << extra.error;
    EXPECT_EQ(filesIn(drive->root()), before) << "a preview or a refusal changes nothing";

    const KwwResult erased = runKww({L"recyclebin", L"--yes"}, scratch.path());
    EXPECT_EQ(erased.exitCode, 0) << erased.error;
    EXPECT_EQ(linesOf(erased.output), (Lines{L"Done: Recycle Bin", L"1 done, 0 failed, 0 aborted"}));
    // Every "$R" and "$I" of this user's bin goes, with the tree inside; the rest stays as it was.
    const std::wstring myItems = L"\\$Recycle.Bin\\" + std::wstring(KestrelTest::kWineUserSid) + L"\\$";
    auto kept = before;
    std::erase_if(kept, [&](const auto& file) { return file.first.rfind(myItems, 0) == 0; });
    EXPECT_EQ(filesIn(drive->root()), kept);
}
