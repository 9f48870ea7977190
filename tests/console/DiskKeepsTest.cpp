// What the drive keeps, in kww's own runner and preview in this process: Wine answers no storage
// property query and has no shadow copies, so the engine's hooks answer in their place; all after
// them is real.
#include "console/ChosenItem.h"
#include "console/ItemRun.h"
#include "console/ItemSurvey.h"
#include "console/ProgressLine.h"
#include "console/StopRequest.h"
#include "erase/DiskKeeps.h"
#include "tests/support/LogCapture.h"
#include "tests/support/MountedVolume.h"
#include "tests/support/ScratchFolder.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

using Lines = std::vector<std::wstring>;

DriveMedium answeredMedium = DriveMedium::Unknown;
DWORD copiedSerial = 0;
constexpr wchar_t kNewestCopy[] = L"\\\\?\\GLOBALROOT\\Device\\HarddiskVolumeShadowCopy7\\";

DriveMedium answerMedium(const std::wstring&)
{
    return answeredMedium;
}

// Two copies of the scratch folder's volume, the newest made on 30 November at noon; it holds
// every file named kept.txt.
std::vector<std::wstring> deviceNames()
{
    return {L"HarddiskVolume1", L"HarddiskVolumeShadowCopy3", L"HarddiskVolumeShadowCopy7",
            L"HarddiskVolumeShadowCopyX"};
}

std::optional<ShadowCopy> readRoot(const std::wstring& root)
{
    SYSTEMTIME made{2026, 11, 0, static_cast<WORD>(root == kNewestCopy ? 30 : 23), 12, 0, 0, 0};
    ShadowCopy copy{root, copiedSerial, {}};
    SystemTimeToFileTime(&made, &copy.made);
    return copy;
}

bool exists(const std::wstring& path)
{
    return path.starts_with(kNewestCopy) && path.ends_with(L"\\kept.txt");
}

const ShadowCopyHook copies{deviceNames, readRoot, exists};

class DiskKeepsStory : public ::testing::Test {
protected:
    void SetUp() override
    {
        wchar_t root[MAX_PATH + 1]{};
        ASSERT_TRUE(GetVolumePathNameW(scratch.path().c_str(), root, MAX_PATH + 1));
        volumeRoot = root;
        ASSERT_TRUE(GetVolumeInformationW(root, nullptr, 0, &copiedSerial, nullptr, nullptr, nullptr, 0));
        ASSERT_TRUE(CreateDirectoryW((scratch / L"tree").c_str(), nullptr));
        ASSERT_TRUE(CreateDirectoryW((scratch / L"tree\\sub").c_str(), nullptr));
        for (const wchar_t* name : {L"kept.txt", L"plain.txt", L"other.txt", L"tree\\kept.txt", L"tree\\a.txt",
                                    L"tree\\sub\\b.txt"})
            ASSERT_TRUE(KestrelTest::writeFile(scratch / name, "earlier words"));
    }
    void TearDown() override
    {
        setDriveMediumHook(nullptr);
        setShadowCopyHook(nullptr);
    }
    ItemOutcome run(ItemKind kind, const std::wstring& path) { return runItem(kind, path, stop, progress); }
    static bool has(const Lines& lines, const std::wstring& line)
    {
        return std::find(lines.begin(), lines.end(), line) != lines.end();
    }

    KestrelTest::ScratchFolder scratch;
    std::wstring volumeRoot;
    KestrelTest::LogCapture log;
    StopRequest stop;
    const StandardStream error{STD_ERROR_HANDLE};
    ProgressLine progress{error};
};

} // namespace

// On a solid-state drive whose newest shadow copy holds kept.txt: the preview shows the drive and
// what its copy holds, and each task's warning (its result and its one Warning line) says it.
TEST_F(DiskKeepsStory, ASolidStateDriveAndAShadowCopyThatHoldsTheFileAreSaid)
{
    answeredMedium = DriveMedium::SolidState;
    setDriveMediumHook(answerMedium);
    setShadowCopyHook(&copies);
    const std::wstring file = scratch / L"kept.txt", tree = scratch / L"tree";
    const std::wstring where = L" in the newest shadow copy of " + volumeRoot;
    const Lines preview = describeItems(chooseItems({file, tree}), ItemDetail::Contents);
    EXPECT_TRUE(has(preview, std::wstring(L"  Warning: ") + kSolidStateWarning));
    EXPECT_TRUE(has(preview, L"  Earlier versions: 1 file of 1 file" + where));
    EXPECT_TRUE(has(preview, L"  Earlier versions: 1 file of 3 files" + where));
    EXPECT_EQ(preview.back(), L"Drive " + volumeRoot + L": solid-state drive, 2 shadow copies");

    const ItemOutcome erased = run(ItemKind::File, file);
    EXPECT_EQ(erased.status, EraseStatus::Done);
    const std::wstring copy = L"Windows keeps an earlier version of this file in the newest of the 2 shadow copies "
                              L"of " + volumeRoot + L" (made 2026-11-30; older ones may hold more): only an "
                              L"administrator can delete shadow copies, with vssadmin delete shadows /for=" +
                              volumeRoot.substr(0, 2) + L" or System Protection in the Control Panel.";
    EXPECT_EQ(erased.warning, kSolidStateWarning + std::wstring(L" ") + copy);
    EXPECT_EQ(log.count(L"Warning: \t"), 1u);
    const ItemOutcome folder = run(ItemKind::Folder, tree);
    EXPECT_EQ(folder.status, EraseStatus::Done);
    const std::wstring files = L" Windows keeps earlier versions of 1 of these files in the newest of the 2";
    EXPECT_TRUE(folder.warning.starts_with(kSolidStateWarning + files)) << folder.warning;

    // The free space of a drive that holds no file: the wipe's own sentence, and no copy's.
    std::wstring root;
    std::string why;
    const auto drive = KestrelTest::MountedVolume::tmpfsDrive(scratch / L"mount", 256, root, why);
    if (!drive)
        GTEST_SKIP() << "no drive for a free-space wipe: " << why;
    const Lines space = describeItems({chooseFreeSpace(root)}, ItemDetail::Contents);
    EXPECT_TRUE(has(space, std::wstring(L"  Warning: ") + kSolidStateFreeSpaceWarning));
    const ItemOutcome wiped = run(ItemKind::FreeSpace, root);
    EXPECT_EQ(wiped.status, EraseStatus::Done);
    EXPECT_EQ(wiped.warning, kSolidStateWarning + std::wstring(L" ") + kSolidStateFreeSpaceWarning);
}

// An unknown medium and a shadow copy without the file add no word to the task; with no hook,
// Wine's own answers (no medium, no copies) change nothing of the preview either.
TEST_F(DiskKeepsStory, AnUnknownDriveAndACopyWithoutTheFileSayNothing)
{
    setDriveMediumHook(answerMedium);
    answeredMedium = DriveMedium::Unknown;
    setShadowCopyHook(&copies);
    const std::wstring plain = scratch / L"plain.txt", other = scratch / L"other.txt";
    const Lines preview = describeItems(chooseItems({plain}), ItemDetail::Items);
    EXPECT_EQ(preview, (Lines{L"File: " + plain + L" (13 bytes)",
                              L"  Earlier versions: none found in the newest shadow copy of " + volumeRoot,
                              L"1 item, 1 file, 13 bytes",
                              L"Drive " + volumeRoot + L": medium unknown, 2 shadow copies"}));
    const ItemOutcome erased = run(ItemKind::File, plain);
    EXPECT_EQ(erased.status, EraseStatus::Done);
    EXPECT_EQ(erased.warning, L"");

    setDriveMediumHook(nullptr);
    setShadowCopyHook(nullptr);
    EXPECT_EQ(describeItems(chooseItems({other}), ItemDetail::Items),
              (Lines{L"File: " + other + L" (13 bytes)", L"1 item, 1 file, 13 bytes"}));
    const ItemOutcome unasked = run(ItemKind::File, other);
    EXPECT_EQ(unasked.status, EraseStatus::Done);
    EXPECT_EQ(unasked.warning, L"");
    EXPECT_EQ(log.count(L"Warning: \t"), 0u);
}
