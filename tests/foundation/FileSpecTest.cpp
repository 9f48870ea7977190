#include "foundation/FileSpec.h"
#include "foundation/UniqueHandle.h"
#include "tests/support/LogCapture.h"
#include "tests/support/ScratchFolder.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <utility>
#include <vector>

namespace {

using Kestrel::FileSpec;
using KestrelTest::LogCapture;
using KestrelTest::ScratchFolder;

std::wstring errorLine(const std::wstring& message)
{
    return L"ERROR: \t" + message + L"\r\n";
}

// A handle that shares nothing, as another program holding the file would have it.
Kestrel::UniqueFileHandle holdExclusively(const std::wstring& path)
{
    return Kestrel::UniqueFileHandle(
        CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr));
}

DWORD attributesOf(const std::wstring& path)
{
    return GetFileAttributesW(path.c_str());
}

TEST(FileSpec, DropsOneTrailingSeparatorExceptADriveRoots)
{
    const std::pair<std::wstring, std::wstring> cases[] = {
        {L"C:\\", L"C:\\"},         {L"C:/", L"C:/"},           {L"C:\\a\\", L"C:\\a"},
        {L"C:\\a/", L"C:\\a"},      {L"a\\\\", L"a\\"},         {L"a//", L"a/"},
        {L"\\", L"\\"},             {L"/", L"/"},               {L"", L""},
        {L"ab\\", L"ab"},           {L"C:\\a\\..\\", L"C:\\a\\.."}, {L"x:y\\", L"x:y"},
    };
    for (const auto& [given, stored] : cases) {
        EXPECT_EQ(FileSpec(given).path(), stored) << given;
        FileSpec assigned;
        assigned.assign(given);
        EXPECT_EQ(assigned.path(), stored) << given;
    }
}

TEST(FileSpec, CopiesNeverShareTheHandleAndAssignmentKeepsIt)
{
    ScratchFolder scratch;
    const std::wstring first = scratch / L"first.bin";
    const std::wstring second = scratch / L"second.bin";
    ASSERT_TRUE(KestrelTest::writeFile(first, ""));
    ASSERT_TRUE(KestrelTest::writeFile(second, ""));

    FileSpec file(first);
    ASSERT_TRUE(file.openReadWrite());
    {
        const FileSpec copy(file);
        EXPECT_EQ(copy.path(), first);
        EXPECT_FALSE(copy.isOpen());
    }
    FileSpec assignedCopy(second);
    assignedCopy = file;
    EXPECT_EQ(assignedCopy.path(), first);
    EXPECT_FALSE(assignedCopy.isOpen());

    // The copies are gone and the handle still works; after assign it still writes the old item.
    file.assign(second + L"\\");
    EXPECT_EQ(file.path(), second);
    ASSERT_TRUE(file.isOpen());
    EXPECT_EQ(file.writeBytes("abc", 3), 3u);

    FileSpec moved(std::move(file));
    EXPECT_FALSE(file.isOpen());
    EXPECT_EQ(moved.writeBytes("de", 2), 2u);
    FileSpec target(second);
    ASSERT_TRUE(target.openReadWrite());
    target = std::move(moved);
    EXPECT_EQ(target.writeBytes("f", 1), 1u);
    target.closeHandle();
    target.closeHandle();
    EXPECT_FALSE(target.isOpen());

    EXPECT_EQ(KestrelTest::readFile(first), "abcdef");
    EXPECT_EQ(KestrelTest::readFile(second), "");
}

TEST(FileSpec, ExistsAnswersNotThereWithoutALogLine)
{
    ScratchFolder scratch;
    const std::wstring file = scratch / L"present.txt";
    ASSERT_TRUE(KestrelTest::writeFile(file, "x"));
    LogCapture capture;
    EXPECT_TRUE(FileSpec(file).exists());
    EXPECT_TRUE(FileSpec(scratch.path() + L"\\").exists());
    EXPECT_FALSE(FileSpec(scratch / L"missing.txt").exists());
    EXPECT_FALSE(FileSpec(scratch / L"missing\\below.txt").exists());
    EXPECT_FALSE(FileSpec(L"Q:\\nothing\\here.txt").exists()); // a drive letter that is not mapped
    EXPECT_TRUE(capture.empty()) << capture.lines().front();
}

TEST(FileSpec, FolderTestLogsAndAnswersTrueWhenTheItemCannotBeRead)
{
    ScratchFolder scratch;
    const std::wstring file = scratch / L"present.txt";
    ASSERT_TRUE(KestrelTest::writeFile(file, "x"));
    LogCapture capture;
    EXPECT_TRUE(FileSpec(scratch.path()).isDirectory());
    EXPECT_FALSE(FileSpec(file).isDirectory());
    ASSERT_TRUE(capture.empty());

    const std::wstring missingFile = scratch / L"missing.txt";
    const std::wstring underMissingFolder = scratch / L"missing\\below.txt";
    EXPECT_TRUE(FileSpec(missingFile).isDirectory());
    EXPECT_TRUE(FileSpec(underMissingFolder).isDirectory());
    EXPECT_EQ(capture.lines(), (std::vector<std::wstring>{errorLine(L"File not found: " + missingFile),
                                                          errorLine(L"Path not found: " + underMissingFolder)}));
}

TEST(FileSpec, FileSizeComesFromTheAttributesAndIsZeroWhenMissing)
{
    ScratchFolder scratch;
    const std::wstring path = scratch / L"sized.bin";
    ASSERT_TRUE(KestrelTest::writeFile(path, std::string(70000, 'x')));
    LogCapture capture;
    EXPECT_EQ(FileSpec(path).fileSize(), 70000u);
    EXPECT_TRUE(capture.empty());

    const std::wstring missing = scratch / L"missing.bin";
    EXPECT_EQ(FileSpec(missing).fileSize(), 0u);
    EXPECT_EQ(capture.lines(), (std::vector<std::wstring>{errorLine(L"File not found: " + missing)}));
}

TEST(FileSpec, CreateFileMakesOrEmptiesAFileAndHoldsNoHandle)
{
    ScratchFolder scratch;
    const std::wstring path = scratch / L"made.txt";
    LogCapture capture;
    FileSpec file(path);
    EXPECT_TRUE(file.createFile());
    EXPECT_FALSE(file.isOpen());
    EXPECT_EQ(FileSpec(path).fileSize(), 0u);

    ASSERT_TRUE(KestrelTest::writeFile(path, "old contents"));
    EXPECT_TRUE(file.createFile());
    EXPECT_EQ(KestrelTest::readFile(path), "");
    // No handle is left behind: the file can be deleted at once.
    EXPECT_TRUE(DeleteFileW(path.c_str()));
    EXPECT_TRUE(capture.empty());

    const std::wstring underMissingFolder = scratch / L"missing\\made.txt";
    EXPECT_FALSE(FileSpec(underMissingFolder).createFile());
    EXPECT_EQ(capture.lines(), (std::vector<std::wstring>{errorLine(L"Path not found: " + underMissingFolder)}));
}

TEST(FileSpec, RawIoSignalsFailureOnlyThroughItsResults)
{
    ScratchFolder scratch;
    const std::wstring path = scratch / L"raw.bin";
    LogCapture capture;

    FileSpec none;
    EXPECT_FALSE(none.openReadWrite());
    EXPECT_FALSE(none.isOpen());
    EXPECT_EQ(none.writeBytes("x", 1), 0u);
    EXPECT_EQ(none.seek(0, FILE_END), -1);
    EXPECT_FALSE(none.flush());

    FileSpec missing(path);
    EXPECT_FALSE(missing.openReadWrite());
    EXPECT_FALSE(missing.isOpen());
    EXPECT_EQ(missing.writeBytes("x", 1), 0u);
    EXPECT_EQ(missing.seek(0, FILE_BEGIN), -1);
    EXPECT_FALSE(missing.flush());
    EXPECT_EQ(attributesOf(path), INVALID_FILE_ATTRIBUTES);
    EXPECT_TRUE(capture.empty());

    ASSERT_TRUE(KestrelTest::writeFile(path, "0123456789"));
    ASSERT_TRUE(missing.openReadWrite());
    EXPECT_EQ(missing.seek(0, FILE_END), 10);
    EXPECT_EQ(missing.writeBytes("ab", 2), 2u);
    EXPECT_EQ(missing.seek(-5, FILE_CURRENT), 7);
    EXPECT_EQ(missing.seek(-1, FILE_BEGIN), -1);
    EXPECT_EQ(missing.seek(3, FILE_BEGIN), 3);
    EXPECT_EQ(missing.writeBytes("X", 1), 1u);
    EXPECT_TRUE(missing.flush());
    // Reopening closes the old handle first; the file stays readable and writable by others.
    ASSERT_TRUE(missing.openReadWrite());
    EXPECT_EQ(KestrelTest::readFile(path), "012X456789ab");
    EXPECT_TRUE(capture.empty());
}

TEST(FileSpec, ResizeUsesAHandleOfItsOwnAndStopsAtItsFirstFailure)
{
    ScratchFolder scratch;
    const std::wstring path = scratch / L"resized.bin";
    ASSERT_TRUE(KestrelTest::writeFile(path, "0123456789"));
    LogCapture capture;

    FileSpec file(path);
    ASSERT_TRUE(file.openReadWrite());
    ASSERT_EQ(file.seek(4, FILE_BEGIN), 4);
    file.resize(3);
    EXPECT_EQ(file.fileSize(), 3u);
    EXPECT_EQ(file.seek(0, FILE_CURRENT), 4); // the object's own handle kept its position
    file.closeHandle();
    file.resize(0x100000000ull + 5); // beyond 4 GiB: the high part reaches SetFilePointer
    EXPECT_EQ(file.fileSize(), 0x100000000ull + 5);
    // A low part of all ones is the value SetFilePointer also answers on failure.
    file.resize(0x1FFFFFFFFull);
    EXPECT_EQ(file.fileSize(), 0x1FFFFFFFFull);
    file.resize(0);
    EXPECT_EQ(file.fileSize(), 0u);
    EXPECT_TRUE(capture.empty()) << capture.lines().front();

    const auto holder = holdExclusively(path);
    ASSERT_TRUE(holder);
    file.resize(0);
    // Nothing is tried on a handle that was never opened: the one line names the real cause.
    EXPECT_EQ(capture.lines(), std::vector<std::wstring>{errorLine(L"Sharing violation: " + path)});
}

TEST(FileSpec, MakeWritableChangesOnlyTheReadOnlyBit)
{
    ScratchFolder scratch;
    const std::wstring path = scratch / L"guarded.txt";
    ASSERT_TRUE(KestrelTest::writeFile(path, "x"));
    ASSERT_TRUE(SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_HIDDEN));
    LogCapture capture;

    FileSpec file(path);
    file.makeWritable(false);
    EXPECT_EQ(attributesOf(path) & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN),
              DWORD{FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN});
    file.makeWritable(true);
    EXPECT_EQ(attributesOf(path) & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN), DWORD{FILE_ATTRIBUTE_HIDDEN});

    ASSERT_TRUE(SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_READONLY));
    file.makeWritable(true);
    EXPECT_EQ(attributesOf(path) & FILE_ATTRIBUTE_READONLY, 0u);
    EXPECT_TRUE(DeleteFileW(path.c_str()));
    EXPECT_TRUE(capture.empty());

    // Nothing is written when the attributes cannot be read: one line, for the read.
    file.makeWritable(true);
    EXPECT_EQ(capture.lines(), (std::vector<std::wstring>{errorLine(L"File not found: " + path)}));
}

TEST(FileSpec, MoveToNamesTheTargetAfterwardsEvenWhenTheMoveFails)
{
    ScratchFolder scratch;
    const std::wstring source = scratch / L"source.txt";
    const std::wstring target = scratch / L"target.txt";
    const std::wstring taken = scratch / L"taken.txt";
    ASSERT_TRUE(KestrelTest::writeFile(source, "moved"));
    ASSERT_TRUE(KestrelTest::writeFile(taken, "keep"));
    LogCapture capture;

    FileSpec file(source);
    file.moveTo(target);
    EXPECT_EQ(file.path(), target);
    EXPECT_EQ(KestrelTest::readFile(target), "moved");
    EXPECT_EQ(attributesOf(source), INVALID_FILE_ATTRIBUTES);
    EXPECT_TRUE(capture.empty());

    file.moveTo(taken);
    EXPECT_EQ(file.path(), taken);
    EXPECT_EQ(KestrelTest::readFile(target), "moved");
    EXPECT_EQ(KestrelTest::readFile(taken), "keep");
    EXPECT_EQ(capture.lines(), (std::vector<std::wstring>{errorLine(L"File already exists: " + target)}));
}

TEST(FileSpec, RemoveDeletesOneItemAndReportsWhatStopsIt)
{
    ScratchFolder scratch;
    const std::wstring file = scratch / L"file.txt";
    const std::wstring emptyFolder = scratch / L"empty";
    const std::wstring fullFolder = scratch / L"full";
    const std::wstring held = scratch / L"held.txt";
    ASSERT_TRUE(KestrelTest::writeFile(file, "x"));
    ASSERT_TRUE(KestrelTest::writeFile(held, "x"));
    ASSERT_TRUE(CreateDirectoryW(emptyFolder.c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryW(fullFolder.c_str(), nullptr));
    ASSERT_TRUE(KestrelTest::writeFile(fullFolder + L"\\inside.txt", "x"));
    LogCapture capture;

    FileSpec(file).remove();
    FileSpec(emptyFolder + L"\\").remove();
    EXPECT_EQ(attributesOf(file), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(attributesOf(emptyFolder), INVALID_FILE_ATTRIBUTES);
    EXPECT_TRUE(capture.empty());

    FileSpec(fullFolder).remove();
    EXPECT_NE(attributesOf(fullFolder + L"\\inside.txt"), INVALID_FILE_ATTRIBUTES);
    {
        const auto holder = holdExclusively(held);
        ASSERT_TRUE(holder);
        FileSpec(held).remove();
        FileSpec(held).moveTo(scratch / L"elsewhere.txt");
        EXPECT_FALSE(FileSpec(held).openReadWrite());
    }
    EXPECT_NE(attributesOf(held), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(capture.lines(), (std::vector<std::wstring>{
                                   errorLine(L"Directory not empty: " + fullFolder),
                                   errorLine(L"Sharing violation: " + held),
                                   errorLine(L"Sharing violation: " + held),
                               }));
}

// The owners of kernel handles used by the file layer and the erase engine.
TEST(UniqueHandle, ClosesOnceKeepsTheLastErrorAndMovesOwnership)
{
    ScratchFolder scratch;
    const std::wstring path = scratch / L"owned.bin";
    ASSERT_TRUE(KestrelTest::writeFile(path, "x"));

    Kestrel::UniqueFileHandle moved;
    {
        auto first = holdExclusively(path);
        ASSERT_TRUE(first);
        moved = std::move(first);
        EXPECT_FALSE(first);
        EXPECT_EQ(first.get(), INVALID_HANDLE_VALUE);
    }
    // Still held by the moved-to owner: the file is not free yet.
    EXPECT_FALSE(holdExclusively(path));
    SetLastError(ERROR_DIR_NOT_EMPTY);
    moved.reset();
    EXPECT_EQ(GetLastError(), DWORD{ERROR_DIR_NOT_EMPTY});
    EXPECT_FALSE(moved);
    EXPECT_TRUE(holdExclusively(path));

    Kestrel::UniqueHandle mutex(CreateMutexW(nullptr, FALSE, nullptr));
    ASSERT_TRUE(mutex);
    Kestrel::UniqueHandle none;
    EXPECT_FALSE(none);
    EXPECT_EQ(none.get(), nullptr);
    const HANDLE raw = mutex.release();
    EXPECT_FALSE(mutex);
    none.reset(raw);
    EXPECT_EQ(none.get(), raw);
    // A close that fails (the value was closed behind the owner's back) must not leak its error.
    ASSERT_TRUE(CloseHandle(raw));
    SetLastError(ERROR_LOCK_VIOLATION);
    none.reset();
    EXPECT_EQ(GetLastError(), DWORD{ERROR_LOCK_VIOLATION});

    WIN32_FIND_DATAW entry;
    {
        Kestrel::UniqueFindHandle search(FindFirstFileW((scratch.path() + L"\\*").c_str(), &entry));
        ASSERT_TRUE(search);
        SetLastError(ERROR_SHARING_VIOLATION);
    }
    EXPECT_EQ(GetLastError(), DWORD{ERROR_SHARING_VIOLATION});
    EXPECT_FALSE(Kestrel::UniqueFindHandle(FindFirstFileW((scratch.path() + L"\\none*").c_str(), &entry)));
}

} // namespace
