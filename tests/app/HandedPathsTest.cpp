#include "tests/app/MainDialogAccess.h"
#include "tests/app/MessageBoxAnswerer.h"
#include "tests/app/WaitingRows.h"
#include "tests/support/CurrentFolder.h"
#include "tests/support/LogCapture.h"
#include "tests/support/ScratchFolder.h"

#include "app/HandedPaths.h"
#include "app/PathHandOver.h"
#include "app/WipewellMainDlg.h"

#include <gtest/gtest.h>

#include <cstring>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

namespace {

using KestrelTest::CurrentFolder;
using KestrelTest::ScratchFolder;
using Paths = std::vector<std::wstring>;
using KestrelTest::Row;

// Bytes that end where an unreadable page begins: a read past the block's end faults.
class GuardedBlock {
public:
    explicit GuardedBlock(const std::string& bytes)
    {
        SYSTEM_INFO system{};
        GetSystemInfo(&system);
        const std::size_t page = system.dwPageSize;
        size_ = (bytes.size() / page + 2) * page;
        base_ = static_cast<char*>(VirtualAlloc(nullptr, size_, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE));
        DWORD old = 0;
        if (!base_ || !VirtualProtect(base_ + size_ - page, page, PAGE_NOACCESS, &old))
            return;
        data_ = base_ + size_ - page - bytes.size();
        std::memcpy(data_, bytes.data(), bytes.size());
    }
    ~GuardedBlock()
    {
        if (base_)
            VirtualFree(base_, 0, MEM_RELEASE);
    }
    GuardedBlock(const GuardedBlock&) = delete;
    GuardedBlock& operator=(const GuardedBlock&) = delete;

    [[nodiscard]] void* data() const noexcept { return data_; }

private:
    char* base_ = nullptr;
    char* data_ = nullptr;
    std::size_t size_ = 0;
};

std::string bytesOf(const std::wstring& units)
{
    return std::string(reinterpret_cast<const char*>(units.data()), units.size() * sizeof(wchar_t));
}

class HandedPaths : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dialog_.create(nullptr));
        ASSERT_TRUE(KestrelTest::writeFile(file_, "handed"));
        ASSERT_TRUE(CreateDirectoryW(sub_.c_str(), nullptr));
    }
    void TearDown() override { dialog_.destroyWindow(); }

    std::vector<Row> rows() { return KestrelTest::waitingRows(dialog_); }

    // Sends the block as another start would; the dialog's answer.
    LRESULT send(ULONG_PTR identifier, const std::string& bytes)
    {
        const GuardedBlock block(bytes);
        EXPECT_NE(block.data(), nullptr);
        COPYDATASTRUCT data{identifier, static_cast<DWORD>(bytes.size()), block.data()};
        return dialog_.sendMessage(WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data));
    }

    ScratchFolder folder_;
    const std::wstring file_ = folder_ / L"a b.txt";
    const std::wstring sub_ = folder_ / L"sub";
    WipewellMainDlg dialog_;
    KestrelTest::LogCapture log_;
};

// Split as Windows splits a command line; a relative path is made whole against the current
// folder, a whole one stays as written, and an empty or blank one is not turned into a folder.
TEST_F(HandedPaths, CommandLineIsSplitAsWindowsSplitsItAndRelativePathsAreMadeWhole)
{
    const CurrentFolder current(folder_.path());
    ASSERT_TRUE(current.changed());
    EXPECT_TRUE(handedPaths(nullptr).empty());
    EXPECT_TRUE(handedPaths(L"").empty());
    EXPECT_TRUE(handedPaths(L"  \t").empty());
    EXPECT_EQ(handedPaths((L"\"" + file_ + L"\" rel.txt sub\\..\\c.txt \"\" \" \" \"" + sub_ + L"\\x.\" dots.. \"blank \"").c_str()),
              (Paths{file_, folder_ / L"rel.txt", folder_ / L"c.txt", L"", L" ", sub_ + L"\\x.", folder_ / L"dots..",
                     folder_ / L"blank "}));

    EXPECT_TRUE(isWholePath(L"C:\\x"));
    EXPECT_TRUE(isWholePath(L"z:/x"));
    EXPECT_TRUE(isWholePath(L"\\\\server\\share\\x"));
    EXPECT_TRUE(isWholePath(L"\\\\?\\C:\\x"));
    for (const wchar_t* notWhole : {L"", L" ", L"x", L".\\x", L"\\x", L"C:x", L"C:", L"\\\\", L"1:\\x"})
        EXPECT_FALSE(isWholePath(notWhole)) << notWhole;
}

// Each handed path gets a row of its kind or a "Skipped" line: missing, empty, blank, or not
// whole (a relative path means another process's current folder, even where it names an item
// here). No box is shown.
TEST_F(HandedPaths, WholeExistingPathsBecomeWaitingRowsAndEveryOtherOneIsSkippedWithALine)
{
    const CurrentFolder current(folder_.path());
    ASSERT_TRUE(KestrelTest::writeFile(folder_ / L"rel.txt", "r"));
    KestrelTest::MessageBoxAnswerer answerer;

    dialog_.addHandedItems({false, {file_, sub_, folder_ / L"missing.txt", L"", L"  ", L"rel.txt"}});

    EXPECT_EQ(rows(), (std::vector<Row>{{ItemKind::File, file_}, {ItemKind::Folder, sub_}}));
    EXPECT_TRUE(log_.contains(L"Info: \tAdded: " + file_ + L". \r\n"));
    EXPECT_TRUE(log_.contains(L"Info: \tAdded: " + sub_ + L". \r\n"));
    EXPECT_TRUE(log_.contains(L"ERROR: \tSkipped: " + folder_ / L"missing.txt" + L". \r\n"));
    EXPECT_TRUE(log_.contains(L"ERROR: \tSkipped: . \r\n"));
    EXPECT_TRUE(log_.contains(L"ERROR: \tSkipped: rel.txt. \r\n"));
    EXPECT_EQ(log_.count(L"\tSkipped: "), 4u);
    EXPECT_EQ(MainDialogAccess::currentTask(dialog_), nullptr);
    EXPECT_TRUE(answerer.boxes().empty());
}

// A block that is not ours or is malformed is refused whole, without a row, and without reading
// past its end. A path of exactly the longest length is still a path.
TEST_F(HandedPaths, MalformedBlocksAreRefusedWholeAndAddNoRow)
{
    const std::wstring good = file_ + L'\0' + L'\0';
    const struct {
        const char* what;
        ULONG_PTR identifier;
        std::string bytes;
    } malformed[] = {
        {"another identifier", kPathHandOverIdentifier + 1, bytesOf(good)},
        {"no terminator", kPathHandOverIdentifier, bytesOf(file_)},
        {"one terminator", kPathHandOverIdentifier, bytesOf(file_ + L'\0')},
        {"odd size", kPathHandOverIdentifier, bytesOf(good) + '\0'},
        {"path of 40,000 units", kPathHandOverIdentifier, bytesOf(std::wstring(40000, L'p') + L'\0' + L'\0')},
        {"no path", kPathHandOverIdentifier, bytesOf(std::wstring(2, L'\0'))},
        {"an empty path inside", kPathHandOverIdentifier, bytesOf(good + good)},
        {"nothing", kPathHandOverIdentifier, {}},
    };
    for (const auto& block : malformed)
        EXPECT_EQ(send(block.identifier, block.bytes), FALSE) << block.what;
    COPYDATASTRUCT noData{kPathHandOverIdentifier, 4, nullptr};
    EXPECT_EQ(dialog_.sendMessage(WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&noData)), FALSE);
    EXPECT_TRUE(rows().empty());
    EXPECT_EQ(log_.count(L"ERROR: \tRefused a malformed list of paths. \r\n"), std::size(malformed) + 1);
    EXPECT_EQ(log_.count(L"Added: "), 0u);

    const std::wstring longest(kLongestHandedPath, L'q');
    EXPECT_EQ(send(kPathHandOverIdentifier, bytesOf(file_ + L'\0' + longest + L'\0' + L'\0')), TRUE);
    EXPECT_EQ(rows(), (std::vector<Row>{{ItemKind::File, file_}}));
    // No such item exists, so the longest path is taken from the block and then skipped.
    EXPECT_TRUE(log_.contains(L"\tSkipped: " + longest.substr(0, 100)));
}

} // namespace
