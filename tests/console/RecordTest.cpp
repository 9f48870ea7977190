// What kww records of a run: --json and --report, their lines read by another parser and hash.
#include "console/JsonText.h"
#include "console/Sha256.h"
#include "foundation/UniqueHandle.h"
#include "tests/console/KwwProcess.h"
#include "tests/console/RecordCheck.h"
#include "tests/support/ScratchFolder.h"
#include "tests/support/SparseFile.h"
#include "tests/support/UnixScratch.h"

#include <gtest/gtest.h>

using ConsoleTest::checkedRecord;
using ConsoleTest::runKww;
using KestrelTest::readFile;
using KestrelTest::writeFile;

namespace {

std::wstring sha256Of(const std::string& bytes)
{
    Sha256 hash;
    hash.add(bytes);
    return hash.finishHex();
}

} // namespace

// The digests of FIPS 180-4's examples, one of them given in pieces; the escapes of JSON strings.
TEST(Record, Sha256GivesTheStandardsDigestsAndStringsAreEscaped)
{
    EXPECT_EQ(sha256Of(""), L"e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855");
    EXPECT_EQ(sha256Of("abc"), L"ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
    EXPECT_EQ(sha256Of("abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq"),
              L"248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1");
    Sha256 million;
    for (int piece = 0; piece < 1000; ++piece)
        million.add(std::string(1000, 'a'));
    EXPECT_EQ(million.finishHex(), L"cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0");

    EXPECT_EQ(jsonString(L"C:\\a \"b\"\t\x01\x7f\u00e9\U0001F600"), L"\"C:\\\\a \\\"b\\\"\\t\\u0001\x7f\u00e9\U0001F600\"");
    // A lone surrogate stays the name's own, as its escape.
    EXPECT_EQ(jsonString(std::wstring(L"x") + wchar_t(0xD800) + L"y" + wchar_t(0xDC01)), L"\"x\\ud800y\\udc01\"");
}

// A run of an erased file, a link and a file another program holds open: the same JSON Lines on
// standard output and in the report, each line parsed, each item's result and its error's code,
// and the summary's hash of the lines before it. A record without --yes, or into a file that
// exists, is refused before anything changes.
TEST(Record, JsonLinesAndTheReportTellWhatEachItemCameTo)
{
    const KestrelTest::UnixScratch scratch;
    ASSERT_TRUE(CreateDirectoryW((scratch / L"target").c_str(), nullptr));
    ASSERT_TRUE(writeFile(scratch / L"held.txt", "held open by another program"));
    ASSERT_TRUE(writeFile(scratch / L"plain.txt", "to be erased"));
    ASSERT_TRUE(scratch.make("ln -s target link\n"));
    Kestrel::UniqueFileHandle held(CreateFileW((scratch / L"held.txt").c_str(), GENERIC_READ, 0, nullptr,
                                               OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(held);

    const auto unasked = runKww({L"erase", L"--json", L"plain.txt"}, scratch.path(), "y\n");
    EXPECT_EQ(unasked.exitCode, 2);
    EXPECT_EQ(unasked.output, L"");
    EXPECT_TRUE(unasked.error.starts_with(L"kww: refused: without --yes")) << unasked.error;

    const auto run = runKww({L"erase", L"--yes", L"--json", L"--report", L"run.jsonl", L"link", L"held.txt",
                             L"plain.txt"},
                            scratch.path());
    EXPECT_EQ(run.exitCode, 1) << run.error;
    EXPECT_EQ(checkedRecord(scratch / L"run.jsonl"), "run\n"
                                                     "1 failed None None none\n"
                                                     "2 failed 32 None none\n"
                                                     "3 erased None True all\n"
                                                     "summary\n"
                                                     "hash True\n");
    const std::string report = readFile(scratch / L"run.jsonl");
    EXPECT_EQ(run.output, std::wstring(report.begin(), report.end()));
    EXPECT_EQ(GetFileAttributesW((scratch / L"plain.txt").c_str()), INVALID_FILE_ATTRIBUTES);

    ASSERT_TRUE(writeFile(scratch / L"again.txt", "kept"));
    const auto again = runKww({L"erase", L"--yes", L"--report", L"run.jsonl", L"again.txt"}, scratch.path());
    EXPECT_EQ(again.exitCode, 2);
    EXPECT_EQ(again.error, L"kww: refused: the report file run.jsonl exists already, and kww never replaces one. "
                           L"Nothing was changed.\r\n");
    EXPECT_EQ(readFile(scratch / L"run.jsonl"), report);
    EXPECT_EQ(readFile(scratch / L"again.txt"), "kept");
}

// A preview's record says what would go, a folder's line with its content; a large file is read
// back in a sample, and with --verify off nothing is read back.
TEST(Record, APreviewAndTheVerifyModesSayWhatWasOrWouldBeDone)
{
    const KestrelTest::UnixScratch scratch;
    ASSERT_TRUE(CreateDirectoryW((scratch / L"d").c_str(), nullptr));
    ASSERT_TRUE(writeFile(scratch / L"d\\a.txt", "a") && writeFile(scratch / L"d\\b.txt", "b"));
    ASSERT_TRUE(KestrelTest::writeSparse(scratch / L"large.bin", 70ull << 20));
    ASSERT_TRUE(writeFile(scratch / L"unread.txt", "not read back"));

    const auto preview = runKww({L"erase", L"--preview", L"--json", L"d", L"missing.txt"}, scratch.path());
    EXPECT_EQ(preview.exitCode, 1) << preview.error;
    ASSERT_TRUE(writeFile(scratch / L"preview.jsonl", std::string(preview.output.begin(), preview.output.end())));
    EXPECT_EQ(checkedRecord(scratch / L"preview.jsonl"), "run\n"
                                                         "1 would_erase None None none 3\n"
                                                         "2 skipped None None none\n"
                                                         "summary\n"
                                                         "hash True\n");
    EXPECT_EQ(readFile(scratch / L"d\\a.txt"), "a");

    const auto sampled = runKww({L"erase", L"--yes", L"--report", L"sampled.jsonl", L"large.bin"}, scratch.path());
    const auto unread = runKww({L"erase", L"--yes", L"--verify", L"off", L"--report", L"unread.jsonl", L"unread.txt"},
                               scratch.path());
    EXPECT_EQ(sampled.exitCode + unread.exitCode, 0) << sampled.error << unread.error;
    EXPECT_EQ(checkedRecord(scratch / L"sampled.jsonl"), "run\n1 erased None True sample\nsummary\nhash True\n");
    EXPECT_EQ(checkedRecord(scratch / L"unread.jsonl"), "run\n1 erased None None none\nsummary\nhash True\n");
    EXPECT_EQ(runKww({L"erase", L"--yes", L"--verify", L"some", L"d"}, scratch.path()).exitCode, 2);
}
