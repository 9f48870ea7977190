#include "foundation/PathUtilities.h"

#include "foundation/Exception.h"
#include "tests/support/LogCapture.h"
#include "tests/support/ScratchFolder.h"
#include "tests/support/UnixShell.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

namespace {

using namespace Kestrel;
using KestrelTest::LogCapture;
using KestrelTest::ScratchFolder;
using KestrelTest::unixPathOf;

std::wstring environmentVariable(const wchar_t* name)
{
    std::vector<wchar_t> value(32768, L'\0');
    const DWORD length = GetEnvironmentVariableW(name, value.data(), static_cast<DWORD>(value.size()));
    return length < value.size() ? std::wstring(value.data(), length) : std::wstring();
}

bool sameText(const std::wstring& a, const std::wstring& b)
{
    return CompareStringOrdinal(a.c_str(), -1, b.c_str(), -1, TRUE) == CSTR_EQUAL;
}

bool isFolder(const std::wstring& path)
{
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// Moves an existing folder out of the way for one test and brings it back afterwards, removing
// whatever the test created in its place. A folder that could not be moved is the user's own (on
// Windows this is where the program's log lives): it is never removed.
class FolderSetAside {
public:
    explicit FolderSetAside(std::wstring folder)
        : folder_(std::move(folder)), aside_(folder_ + L".kww-test-aside-" + std::to_wstring(GetCurrentProcessId()))
    {
        const bool existed = GetFileAttributesW(folder_.c_str()) != INVALID_FILE_ATTRIBUTES;
        movedAside_ = existed && isFolder(folder_) && MoveFileW(folder_.c_str(), aside_.c_str());
        madeByTest_ = !existed || movedAside_;
    }
    ~FolderSetAside()
    {
        if (!madeByTest_)
            return;
        KestrelTest::removeTree(folder_);
        if (movedAside_)
            MoveFileW(aside_.c_str(), folder_.c_str());
    }
    FolderSetAside(const FolderSetAside&) = delete;
    FolderSetAside& operator=(const FolderSetAside&) = delete;

    [[nodiscard]] bool cleared() const { return !isFolder(folder_); }

private:
    std::wstring folder_;
    std::wstring aside_;
    bool movedAside_ = false;
    // Whatever is under the folder's name from now on is the test's.
    bool madeByTest_ = false;
};

// Points TMP (the first variable GetTempPathW reads) somewhere else for one test.
class TemporaryFolderOverride {
public:
    explicit TemporaryFolderOverride(const std::wstring& folder) : previous_(environmentVariable(L"TMP"))
    {
        hadPrevious_ = GetEnvironmentVariableW(L"TMP", nullptr, 0) != 0;
        SetEnvironmentVariableW(L"TMP", folder.c_str());
    }
    ~TemporaryFolderOverride() { SetEnvironmentVariableW(L"TMP", hadPrevious_ ? previous_.c_str() : nullptr); }
    TemporaryFolderOverride(const TemporaryFolderOverride&) = delete;
    TemporaryFolderOverride& operator=(const TemporaryFolderOverride&) = delete;

private:
    std::wstring previous_;
    bool hadPrevious_ = false;
};

TEST(PathUtilities, JoinPathTreatsTheFolderAsAFolder)
{
    const std::wstring folder = joinPath(L"C:\\Users\\x\\AppData\\Roaming\\", L"Larkspan\\Wipewell\\");
    EXPECT_EQ(folder, L"C:\\Users\\x\\AppData\\Roaming\\Larkspan\\Wipewell\\");
    EXPECT_EQ(joinPath(folder, L"KWW.log"), L"C:\\Users\\x\\AppData\\Roaming\\Larkspan\\Wipewell\\KWW.log");
    EXPECT_EQ(joinPath(L"C:\\a", L"b.txt"), L"C:\\a\\b.txt");
    EXPECT_EQ(joinPath(L"C:/a/", L"b/c.txt"), L"C:\\a\\b\\c.txt");
    // What a failed special-folder lookup leaves: a relative folder.
    EXPECT_EQ(joinPath(L"", L"Larkspan\\Wipewell\\"), L"Larkspan\\Wipewell\\");
    EXPECT_THROW(static_cast<void>(joinPath(L"C:", L"x")), Exception);
    EXPECT_THROW(static_cast<void>(joinPath(L"C:\\", L"1:\\x")), Exception);
}

TEST(PathUtilities, ParentFolderOfFilesFoldersAndRoots)
{
    EXPECT_EQ(parentFolderOf(L"C:\\a\\b.txt"), L"C:\\a\\");
    EXPECT_EQ(parentFolderOf(L"C:\\a\\b"), L"C:\\a\\");
    EXPECT_EQ(parentFolderOf(L"C:\\a\\b\\"), L"C:\\a\\");
    EXPECT_EQ(parentFolderOf(L"C:\\"), L"C:\\");
    EXPECT_EQ(parentFolderOf(L"\\\\srv\\share\\x.txt"), L"\\\\srv\\share\\");
    EXPECT_THROW(static_cast<void>(parentFolderOf(L"\\C:\\x")), Exception);
}

TEST(PathUtilities, PathIsRootForDrivesAndShares)
{
    EXPECT_TRUE(pathIsRoot(L"C:\\"));
    EXPECT_TRUE(pathIsRoot(L"\\"));
    EXPECT_TRUE(pathIsRoot(L"\\\\srv\\share"));
    EXPECT_FALSE(pathIsRoot(L"C:\\a"));
    EXPECT_FALSE(pathIsRoot(L"C:\\a\\"));
    EXPECT_FALSE(pathIsRoot(L""));
}

TEST(PathUtilities, ExistenceAndFolderTestsOnRealItems)
{
    ScratchFolder scratch;
    ASSERT_TRUE(KestrelTest::writeFile(scratch / L"file.txt", "x"));
    ASSERT_TRUE(CreateDirectoryW((scratch / L"sub").c_str(), nullptr));

    LogCapture log;
    EXPECT_TRUE(pathExists(scratch / L"file.txt"));
    EXPECT_TRUE(pathExists(scratch / L"sub"));
    EXPECT_TRUE(pathExists(scratch / L"sub\\"));
    EXPECT_FALSE(pathExists(scratch / L"missing.txt"));
    EXPECT_FALSE(pathExists(scratch / L"missing\\file.txt"));
    EXPECT_FALSE(pathIsDirectory(scratch / L"file.txt"));
    EXPECT_TRUE(pathIsDirectory(scratch / L"sub"));
    EXPECT_TRUE(log.empty()) << "a missing item is an answer, not an error";

    // The folder test answers true when it cannot tell, and says why in the log.
    EXPECT_TRUE(pathIsDirectory(scratch / L"missing.txt"));
    EXPECT_EQ(log.count(L"File not found: " + (scratch / L"missing.txt")), 1u);
}

TEST(PathUtilities, DisposalNameIsTheFirstFreeNumberBesideTheItem)
{
    ScratchFolder scratch;
    const std::wstring file = scratch / L"secret.doc";
    ASSERT_TRUE(KestrelTest::writeFile(file, "secret"));
    EXPECT_EQ(makeDisposalName(file, L"KestrelWipewell"), scratch / L"KestrelWipewell.0");

    ASSERT_TRUE(KestrelTest::writeFile(scratch / L"KestrelWipewell.0", ""));
    ASSERT_TRUE(CreateDirectoryW((scratch / L"KestrelWipewell.1").c_str(), nullptr));
    EXPECT_EQ(makeDisposalName(file, L"KestrelWipewell"), scratch / L"KestrelWipewell.2");

    // A folder, with or without its trailing separator, is renamed beside itself too.
    ASSERT_TRUE(CreateDirectoryW((scratch / L"sub").c_str(), nullptr));
    EXPECT_EQ(makeDisposalName(scratch / L"sub", L"KestrelWipewell"), scratch / L"KestrelWipewell.2");
    EXPECT_EQ(makeDisposalName(scratch / L"sub\\", L"KestrelWipewell"), scratch / L"KestrelWipewell.2");
    EXPECT_EQ(makeDisposalName(scratch / L"sub\\inner.txt", L"KestrelWipewell"),
              scratch / L"sub\\KestrelWipewell.0");
}

TEST(PathUtilities, DisposalNameWithoutStemOrPath)
{
    ScratchFolder scratch;
    LogCapture log;
    EXPECT_EQ(makeDisposalName(scratch / L"a.txt", L""), scratch / L"Deleted.0");
    EXPECT_EQ(makeDisposalName(L"", L"KestrelWipewell"), L"");
    EXPECT_TRUE(log.empty());
}

TEST(PathUtilities, DisposalNameSearchIsBoundedWhenEveryTestFails)
{
    // A name the file system rejects makes every existence test fail with an unexpected error,
    // which counts as "exists"; the search must still end.
    ScratchFolder scratch;
    LogCapture log;
    EXPECT_EQ(makeDisposalName(scratch / L"a.txt", L"bad*name"), L"");
    EXPECT_EQ(log.count(L"ERROR: "), 65536u);
    EXPECT_EQ(log.count(L"bad*name.65535"), 1u);
}

TEST(PathUtilities, UserDataFolderIsUnderAppDataAndCreatedWhenMissing)
{
    const std::wstring appData = environmentVariable(L"APPDATA");
    ASSERT_FALSE(appData.empty());
    FolderSetAside aside(appData + L"\\Larkspan");
    ASSERT_TRUE(aside.cleared());

    const std::wstring folder = userDataFolder();
    EXPECT_TRUE(sameText(folder, appData + L"\\Larkspan\\Wipewell\\")) << testing::PrintToString(folder);
    EXPECT_TRUE(isFolder(folder));
    // A second call finds it and answers the same.
    EXPECT_EQ(userDataFolder(), folder);

    const std::string unixFolder = unixPathOf(folder);
    const std::wstring prefix = environmentVariable(L"WINEPREFIX");
    if (!unixFolder.empty() && !prefix.empty()) {
        const std::string narrowPrefix(prefix.begin(), prefix.end());
        EXPECT_EQ(unixFolder.rfind(narrowPrefix, 0), 0u) << unixFolder;
    }
}

TEST(PathUtilities, TempFolderIsTheLongFormAndItsDataFolderIsCreated)
{
    ScratchFolder scratch;
    const std::wstring longFolder = scratch / L"A rather long folder name";
    ASSERT_TRUE(CreateDirectoryW(longFolder.c_str(), nullptr));
    std::vector<wchar_t> shortForm(4096, L'\0');
    ASSERT_NE(GetShortPathNameW(longFolder.c_str(), shortForm.data(), static_cast<DWORD>(shortForm.size())), 0u);
    ASSERT_NE(std::wstring(shortForm.data()), longFolder);

    TemporaryFolderOverride temp(shortForm.data());
    EXPECT_EQ(tempFolder(), longFolder + L"\\");
    const std::wstring data = tempDataFolder();
    EXPECT_EQ(data, longFolder + L"\\Larkspan\\Wipewell\\");
    EXPECT_TRUE(isFolder(data));
}

TEST(PathUtilities, TempFolderOfTheUser)
{
    const std::wstring folder = tempFolder();
    ASSERT_FALSE(folder.empty());
    EXPECT_EQ(folder.back(), L'\\');
    EXPECT_TRUE(isFolder(folder));
}

TEST(PathUtilities, ModuleFolderHoldsTheRunningProgram)
{
    const std::wstring folder = moduleFolder();
    ASSERT_FALSE(folder.empty());
    EXPECT_EQ(folder.back(), L'\\');
    EXPECT_TRUE(pathExists(folder + L"foundation_tests.exe"));
}

} // namespace
