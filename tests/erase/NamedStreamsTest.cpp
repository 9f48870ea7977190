// Named streams and sparse files. Wine neither lists an item's streams nor marks a file sparse:
// the tests tell the erase both, and everything after that runs for real. On an NTFS image that
// ntfs-3g mounts with Windows' stream names, "<file>:<name>" opened through Wine is a real stream.
#include "erase/AllocatedRanges.h"
#include "erase/NamedStreams.h"
#include "foundation/UniqueHandle.h"
#include "tests/erase/FileChecks.h"
#include "tests/erase/TaskRunner.h"
#include "tests/support/LogCapture.h"
#include "tests/support/MountedVolume.h"
#include "tests/support/ScratchFolder.h"

#include <gtest/gtest.h>

#include <map>

namespace {

using KestrelTest::readFile;
using KestrelTest::ScratchFolder;

const std::string kMarker = "kww-stream-secret";
constexpr std::uint64_t kMiB = 1024 * 1024;

// What the erase is told, by the item's name, while a Told lives.
std::map<std::wstring, std::vector<std::wstring>> streamsByName;
std::map<std::wstring, ByteRanges> sparseByName;

std::map<std::wstring, DWORD> listingErrorByName;

StreamListing toldStreams(const std::wstring& path)
{
    const std::wstring name = path.substr(path.rfind(L'\\') + 1);
    if (const auto error = listingErrorByName.find(name); error != listingErrorByName.end())
        return {{}, error->second};
    const auto found = streamsByName.find(name);
    return {found == streamsByName.end() ? std::vector<std::wstring>{} : found->second};
}

std::optional<ByteRanges> toldRanges(const std::wstring& path)
{
    const auto found = sparseByName.find(path.substr(path.rfind(L'\\') + 1));
    return found == sparseByName.end() ? std::nullopt : std::optional(found->second);
}

struct Told {
    Told() { setStreamNamesSourceForTests(toldStreams); setSparseRangesSourceForTests(toldRanges); }
    ~Told() { setStreamNamesSourceForTests(nullptr); setSparseRangesSourceForTests(nullptr); }
};

std::size_t markersIn(const std::wstring& image)
{
    const std::string bytes = readFile(image);
    std::size_t count = 0;
    for (auto at = bytes.find(kMarker); at != std::string::npos; at = bytes.find(kMarker, at + 1))
        ++count;
    return count;
}

bool writeAt(const std::wstring& path, std::uint64_t offset, const std::string& bytes)
{
    const Kestrel::UniqueFileHandle file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    DWORD written = 0;
    return file && SetFilePointerEx(file.get(), LARGE_INTEGER{.QuadPart = LONGLONG(offset)}, nullptr, FILE_BEGIN) &&
           WriteFile(file.get(), bytes.data(), DWORD(bytes.size()), &written, nullptr) && FlushFileBuffers(file.get());
}

} // namespace

// A downloaded file's Zone.Identifier and a large stream, a folder's own stream and its file's,
// and the data of a sparse file far larger than the drive: nothing of them is left on the disk.
TEST(NamedStreams, StreamsAndSparseDataLeaveNothingOnTheDisk)
{
    ScratchFolder scratch;
    const std::wstring mount = scratch / L"volume", image = scratch / L"volume.img";
    ASSERT_TRUE(CreateDirectoryW(mount.c_str(), nullptr));
    std::string why;
    auto volume = KestrelTest::MountedVolume::ntfsImage(mount, image, 24 * 1024, why, "streams_interface=windows");
    if (!volume)
        GTEST_SKIP() << "no NTFS image: " << why;
    const std::wstring download = mount + L"\\setup.exe", folder = mount + L"\\papers", sparse = mount + L"\\disk.vhd";
    ASSERT_TRUE(writeFlushed(download, recognisableBytes(3000, kMarker)));
    ASSERT_TRUE(writeFlushed(download + L":Zone.Identifier", "[ZoneTransfer]\r\nHostUrl=https://" + kMarker + "/\r\n"));
    ASSERT_TRUE(writeFlushed(download + L":large", recognisableBytes(200 * 1024, kMarker)));
    ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
    ASSERT_TRUE(writeFlushed(folder + L"\\report.txt", kMarker));
    ASSERT_TRUE(writeFlushed(folder + L"\\report.txt:Zone.Identifier", "HostUrl=https://" + kMarker));
    // After the folder's content: when the folder grew after its stream was written, ntfs-3g left
    // a copy of the stream's end in the folder's record (measured), which no erase of it reaches.
    ASSERT_TRUE(writeFlushed(folder + L":note", recognisableBytes(500, kMarker)));
    ASSERT_TRUE(writeSparse(sparse, 64 * kMiB));
    ASSERT_TRUE(writeAt(sparse, 4 * kMiB, recognisableBytes(kMiB, kMarker)));
    ASSERT_TRUE(writeAt(sparse, 40 * kMiB, recognisableBytes(64 * 1024, kMarker)));
    streamsByName = {{L"setup.exe", {L"Zone.Identifier", L"large"}}, {L"papers", {L"note"}},
                     {L"report.txt", {L"Zone.Identifier"}}};
    sparseByName = {{L"disk.vhd", {{4 * kMiB, kMiB}, {40 * kMiB, 64 * 1024}}}};
    const Told told;
    ASSERT_GT(markersIn(image), 6000u) << "the image does not show the streams";

    for (const std::wstring& path : {download, folder, sparse}) {
        const TaskOutcome outcome = runTask(path);
        EXPECT_EQ(outcome.status, EraseStatus::Done) << testing::PrintToString(path);
        // Over the bytes written, which for the sparse file are its data alone.
        EXPECT_EQ(outcome.progress, 100.0) << testing::PrintToString(path);
    }
    EXPECT_TRUE(namesIn(mount).empty());
    ASSERT_TRUE(volume->unmount());
    EXPECT_EQ(markersIn(image), 0u);
}

// A stream that cannot be opened, or whose name leads to another file (under Wine on a Linux file
// system "b.txt:beside" is a file of its own), fails its item before anything is written.
TEST(NamedStreams, StreamNotOpenedOrElsewhereFailsTheItemUntouched)
{
    ScratchFolder scratch;
    ASSERT_TRUE(CreateDirectoryW((scratch / L"box").c_str(), nullptr));
    for (const wchar_t* name : {L"a.txt", L"b.txt", L"box\\c.txt", L"b.txt:beside"})
        ASSERT_TRUE(writeFlushed(scratch / name, kMarker));
    streamsByName = {{L"a.txt", {L"gone"}}, {L"b.txt", {L"beside"}}, {L"c.txt", {L"gone"}}};
    const Told told;
    KestrelTest::LogCapture log;

    for (const wchar_t* task : {L"a.txt", L"b.txt", L"box"})
        EXPECT_EQ(runTask(scratch / task).status, EraseStatus::Failed) << testing::PrintToString(task);
    const std::wstring gone = L". The file is no longer there. \r\n";
    EXPECT_TRUE(log.contains(L"ERROR: \tFailed to open: " + scratch / L"a.txt:gone" + gone));
    EXPECT_TRUE(log.contains(L"ERROR: \tSkipped link: " + scratch / L"b.txt:beside. \r\n"));
    EXPECT_TRUE(log.contains(L"ERROR: \tFailed to open: " + scratch / L"box\\c.txt:gone" + gone));
    for (const wchar_t* name : {L"a.txt", L"b.txt", L"box\\c.txt", L"b.txt:beside"})
        EXPECT_EQ(readFile(scratch / name), kMarker) << testing::PrintToString(name);
}

// A file system that cannot list streams (a network share, a virtual machine's shared folder)
// refuses the listing as an unsupported call: its files are erased as files without streams. A
// listing refused for another reason fails its item untouched.
TEST(NamedStreams, AListingAFileSystemCannotGiveMeansNoStreams)
{
    ScratchFolder scratch;
    for (const wchar_t* name : {L"share.txt", L"guest.txt", L"denied.txt"})
        ASSERT_TRUE(writeFlushed(scratch / name, kMarker));
    listingErrorByName = {{L"share.txt", ERROR_NOT_SUPPORTED}, {L"guest.txt", ERROR_INVALID_FUNCTION},
                          {L"denied.txt", ERROR_ACCESS_DENIED}};
    const Told told;
    KestrelTest::LogCapture log;

    EXPECT_EQ(runTask(scratch / L"share.txt").status, EraseStatus::Done);
    EXPECT_EQ(runTask(scratch / L"guest.txt").status, EraseStatus::Done);
    EXPECT_EQ(runTask(scratch / L"denied.txt").status, EraseStatus::Failed);
    listingErrorByName.clear();
    EXPECT_TRUE(log.contains(L"ERROR: \tAccess denied: " + scratch / L"denied.txt\r\n")) << testing::PrintToString(log.lines());
    EXPECT_EQ(log.count(L"ERROR: "), 1u);
    EXPECT_EQ(namesIn(scratch.path()), std::vector<std::wstring>{L"denied.txt"});
    EXPECT_EQ(readFile(scratch / L"denied.txt"), kMarker);
}
