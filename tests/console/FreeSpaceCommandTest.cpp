// kww freespace of a drive letter that stands for a folder of another drive.
#include "foundation/UniqueHandle.h"
#include "tests/console/KwwProcess.h"
#include "tests/support/ScratchFolder.h"

#include <gtest/gtest.h>

using ConsoleTest::KwwResult;
using ConsoleTest::runKww;

namespace {

bool isEmptyFolder(const std::wstring& folder)
{
    WIN32_FIND_DATAW entry;
    const Kestrel::UniqueFindHandle search(FindFirstFileW((folder + L"\\*").c_str(), &entry));
    for (bool more = static_cast<bool>(search); more; more = FindNextFileW(search.get(), &entry) != FALSE) {
        if (std::wstring(entry.cFileName) != L"." && std::wstring(entry.cFileName) != L"..")
            return false;
    }
    return true;
}

// A drive letter defined for a folder, as subst defines one, for the length of a test.
class SubstitutedDrive {
public:
    explicit SubstitutedDrive(const std::wstring& folder)
    {
        wchar_t device[MAX_PATH]{};
        for (wchar_t letter = L'P'; letter <= L'Y' && letter_.empty(); ++letter) {
            const std::wstring name = std::wstring(1, letter) + L":";
            if (!QueryDosDeviceW(name.c_str(), device, MAX_PATH) && DefineDosDeviceW(0, name.c_str(), folder.c_str()))
                letter_ = name;
        }
    }
    ~SubstitutedDrive()
    {
        if (!letter_.empty())
            DefineDosDeviceW(DDD_REMOVE_DEFINITION, letter_.c_str(), nullptr);
    }
    SubstitutedDrive(const SubstitutedDrive&) = delete;
    SubstitutedDrive& operator=(const SubstitutedDrive&) = delete;

    [[nodiscard]] std::wstring root() const { return letter_.empty() ? letter_ : letter_ + L"\\"; }

private:
    std::wstring letter_;
};

} // namespace

// A letter made with subst is no drive of its own: the preview refuses it as the wipe does, and
// the wipe leaves nothing in the folder it stands for.
TEST(FreeSpaceCommand, ALetterThatStandsForAFolderIsRefused)
{
    const KestrelTest::ScratchFolder scratch;
    const SubstitutedDrive drive(scratch.path());
    if (drive.root().empty())
        GTEST_SKIP() << "no free letter could be defined";
    const std::wstring refusal = L"Not a drive but a folder of another drive (subst): " + drive.root();

    const KwwResult preview = runKww({L"freespace", L"--preview", drive.root()}, scratch.path());
    EXPECT_EQ(preview.exitCode, 1) << preview.error;
    EXPECT_NE(preview.output.find(refusal), std::wstring::npos) << preview.output;

    const KwwResult wiped = runKww({L"freespace", L"--yes", drive.root()}, scratch.path());
    EXPECT_EQ(wiped.exitCode, 1) << wiped.error;
    EXPECT_EQ(wiped.output, L"");
    EXPECT_TRUE(wiped.error.starts_with(L"kww: " + refusal + L"\r\n")) << wiped.error;
    EXPECT_TRUE(isEmptyFolder(scratch.path()));
}
