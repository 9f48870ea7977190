// kww's own runner in this process: Wine shows no cloud files, compression or reparse tags, so the
// engine's hook adds what a listing and a handle show of them on Windows; all after it is real.
#include "console/ItemRun.h"
#include "console/ProgressLine.h"
#include "console/StopRequest.h"
#include "erase/DataElsewhere.h"
#include "tests/support/LogCapture.h"
#include "tests/support/MountedVolume.h"
#include "tests/support/ScratchFolder.h"
#include "tests/support/UnixShell.h"

#include <gtest/gtest.h>

namespace {

constexpr DWORD kCloudTag = 0x9000101A; // IO_REPARSE_TAG_CLOUD_1, as OneDrive's files carry it
// The first file is a file task's, the others are in a folder.
const struct AddedFacts {
    const wchar_t* name;
    DWORD attributes;
    DWORD tag;
} added[] = {{L"online.txt", FILE_ATTRIBUTE_RECALL_ON_DATA_ACCESS | FILE_ATTRIBUTE_REPARSE_POINT, kCloudTag},
             {L"local.txt", FILE_ATTRIBUTE_REPARSE_POINT, kCloudTag},
             {L"local2.txt", FILE_ATTRIBUTE_REPARSE_POINT, kCloudTag},
             {L"packed.txt", FILE_ATTRIBUTE_COMPRESSED, 0},
             {L"placeholder.txt", FILE_ATTRIBUTE_RECALL_ON_DATA_ACCESS | FILE_ATTRIBUTE_REPARSE_POINT, kCloudTag}};
// A placeholder holds no data on this disk until parts of it are downloaded.
const AddedFacts& placeholder = added[4];

void addFacts(const std::wstring& path, DWORD& attributes, DWORD& reparseTag)
{
    for (const AddedFacts& each : added) {
        if (path.ends_with(std::wstring(L"\\") + each.name)) {
            attributes |= each.attributes;
            reparseTag = each.tag;
        }
    }
}

} // namespace

// On an ext4 volume whose raw bytes are read at the end. online.txt belongs to another user, so an
// open for its data is refused (the first run); shown as online-only it goes all the same and its
// bytes stay, which its warning says; the folder's files are overwritten, its placeholder that
// holds nothing here deleted, and its task names each kind of copy once.
TEST(CloudFile, AnOnlineOnlyFileGoesWithoutADataOpenAndEachTaskWarnsOnce)
{
    KestrelTest::ScratchFolder scratch;
    const std::wstring mount = scratch / L"volume", image = scratch / L"volume.img", folder = mount + L"\\Documents";
    ASSERT_TRUE(CreateDirectoryW(mount.c_str(), nullptr));
    std::string why;
    auto volume = KestrelTest::MountedVolume::ext4Image(mount, image, 4096, why);
    if (!volume)
        GTEST_SKIP() << "no ext4 image to read back: " << why;
    ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
    const auto marker = [](const AddedFacts& file) { return "kww-marker-" + std::to_string(&file - added); };
    for (const AddedFacts& each : added)
        ASSERT_TRUE(KestrelTest::writeFile((&each == added ? mount : folder) + L"\\" + each.name,
                                           &each == &placeholder ? "" : marker(each)));
    const std::wstring online = mount + L"\\" + added[0].name;
    const auto given = KestrelTest::runUnixShell("chown 65534 " + KestrelTest::unixPathOf(online) + "\n");
    ASSERT_EQ(given.status, 0) << given.output;
    KestrelTest::LogCapture log;
    StopRequest stop;
    const StandardStream error(STD_ERROR_HANDLE);
    ProgressLine progress(error);
    const auto run = [&](ItemKind kind, const std::wstring& path) { return runItem(kind, path, stop, progress); };
    EXPECT_EQ(run(ItemKind::File, online).status, EraseStatus::Failed);

    setItemFactsHook(addFacts);
    log.clear();
    const ItemOutcome file = run(ItemKind::File, online);
    // Its bytes are on this disk: partly downloaded, it is deleted all the same, and its warning
    // says that those bytes stay in the free space.
    EXPECT_EQ(resultLine(online, file),
              L"Done: " + online + L" (" + kCloudCopiesWarning + L" " + kDownloadedPartsWarning + L")");
    EXPECT_EQ(log.count(L"Warning: \t"), 1u);
    EXPECT_EQ(log.count(L"ERROR: "), 0u); // nor was it emptied, which is a write
    const ItemOutcome tree = run(ItemKind::Folder, folder);
    setItemFactsHook(nullptr);
    EXPECT_EQ(tree.status, EraseStatus::Done);
    const std::wstring cloud = kCloudCopiesWarning, clusters = kOldClustersWarning; // in the walk's order:
    EXPECT_TRUE(tree.warning == cloud + L" " + clusters || tree.warning == clusters + L" " + cloud) << tree.warning;
    EXPECT_EQ(log.count(L"Warning: \t"), 2u);
    ASSERT_TRUE(volume->unmount());
    const std::string disk = KestrelTest::readFile(image);
    for (const AddedFacts& each : added)
        EXPECT_EQ(disk.find(marker(each)) != std::string::npos, &each == added) << marker(each);
}
