#include "foundation/DebugOutputLogWriter.h"
#include "foundation/FileLogWriter.h"
#include "foundation/LogFile.h"
#include "foundation/Logger.h"
#include "foundation/OutputLogWriter.h"
#include "foundation/UniqueHandle.h"
#include "tests/support/LogCapture.h"
#include "tests/support/ScratchFolder.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>
#include <regex>
#include <string>
#include <thread>
#include <vector>

namespace {

using Kestrel::Logger;
using Kestrel::LogLevel;
using KestrelTest::LogCapture;
using KestrelTest::ScratchFolder;

// Adds a writer to the process logger for one scope and takes it back afterwards.
class AttachedWriter {
public:
    explicit AttachedWriter(std::unique_ptr<Kestrel::LogWriter> writer) : writer_(writer.get())
    {
        EXPECT_TRUE(Logger::instance().addWriter(std::move(writer)));
    }
    ~AttachedWriter() { EXPECT_NE(Logger::instance().removeWriter(writer_), nullptr); }
    AttachedWriter(const AttachedWriter&) = delete;
    AttachedWriter& operator=(const AttachedWriter&) = delete;

private:
    const Kestrel::LogWriter* writer_;
};

// Notes its tag in a shared list for every line it is given, and answers as told.
class TagRecorder : public Kestrel::LogWriter {
public:
    TagRecorder(int tag, std::vector<int>& calls, bool answer) : LogWriter(tag), calls_(calls), answer_(answer) {}
    bool write(const std::wstring&) override
    {
        calls_.push_back(tag());
        return answer_;
    }

private:
    std::vector<int>& calls_;
    bool answer_;
};

// Makes the standard output handle a file for one scope.
class RedirectedOutput {
public:
    explicit RedirectedOutput(const std::wstring& path)
        : file_(CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS, 0, nullptr)),
          saved_(GetStdHandle(STD_OUTPUT_HANDLE))
    {
        EXPECT_TRUE(file_);
        SetStdHandle(STD_OUTPUT_HANDLE, file_.get());
    }
    ~RedirectedOutput() { SetStdHandle(STD_OUTPUT_HANDLE, saved_); }
    RedirectedOutput(const RedirectedOutput&) = delete;
    RedirectedOutput& operator=(const RedirectedOutput&) = delete;

private:
    Kestrel::UniqueFileHandle file_;
    HANDLE saved_;
};

std::uint64_t sizeOf(const std::wstring& path)
{
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data))
        return 0;
    return (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

TEST(Logger, BuildsEachLineFromPrefixTabMessageAndLineEnd)
{
    LogCapture capture;
    Logger::instance().log(LogLevel::Info, L"Begin to erase: %s. ", L"C:\\a.txt");
    Logger::instance().log(LogLevel::Debug, L"d");
    Logger::instance().log(LogLevel::Warning, L"w");
    Logger::instance().log(LogLevel::Error, L"e");
    Logger::instance().log(LogLevel::Fatal, L"f");
    Logger::instance().log(static_cast<LogLevel>(7), L"seven");
    Logger::instance().log(static_cast<LogLevel>(-1), L"minus one");
    EXPECT_EQ(capture.lines(), (std::vector<std::wstring>{
                                   L"Info: \tBegin to erase: C:\\a.txt. \r\n",
                                   L"Debug: \td\r\n",
                                   L"Warning: \tw\r\n",
                                   L"ERROR: \te\r\n",
                                   L"FATAL: \tf\r\n",
                                   L"\tseven\r\n",
                                   L"\tminus one\r\n",
                               }));
}

TEST(Logger, ReadsPercentSAsAWideStringAndPercentDAsA32BitInt)
{
    LogCapture capture;
    const std::wstring path = L"C:\\caf\u00e9\\\u4e2d\u6587\\r\u00e9sum\u00e9.txt";
    Logger::instance().log(LogLevel::Error, L"File not found: %s (%d, %d, %d)", path.c_str(), INT_MAX, INT_MIN, -1);
    EXPECT_EQ(capture.lines(), (std::vector<std::wstring>{L"ERROR: \tFile not found: " + path +
                                                          L" (2147483647, -2147483648, -1)\r\n"}));
}

TEST(Logger, WritesNothingForAnEmptyMessage)
{
    std::vector<int> calls;
    LogCapture capture;
    AttachedWriter recorder(std::make_unique<TagRecorder>(5, calls, true));
    Logger::instance().log(LogLevel::Info, L"");
    Logger::instance().log(LogLevel::Error, L"%s", L"");
    Logger::instance().log(LogLevel::Error, nullptr);
    EXPECT_TRUE(capture.empty());
    EXPECT_TRUE(calls.empty());
}

TEST(Logger, KeepsLongMessagesWhole)
{
    // A line about an item at the deepest path Windows allows, with text after the path.
    LogCapture capture;
    const std::wstring deepest(32767, L'x');
    const std::wstring twoPaths = std::wstring(4095, L'y') + L" -> " + std::wstring(905, L'z');
    Logger::instance().log(LogLevel::Error, L"Failed to erase: %s. ", deepest.c_str());
    Logger::instance().log(LogLevel::Info, L"%s %d", twoPaths.c_str(), 7);
    EXPECT_EQ(capture.lines(), (std::vector<std::wstring>{
                                   L"ERROR: \tFailed to erase: " + deepest + L". \r\n",
                                   L"Info: \t" + twoPaths + L" 7\r\n",
                               }));
}

TEST(Logger, CallsEveryWriterInTheOrderAddedAndHandsWritersBack)
{
    std::vector<int> calls;
    EXPECT_FALSE(Logger::instance().addWriter(nullptr));
    {
        AttachedWriter refusing(std::make_unique<TagRecorder>(1, calls, false));
        AttachedWriter taking(std::make_unique<TagRecorder>(2, calls, true));
        Logger::instance().log(LogLevel::Info, L"one");
        Logger::instance().log(LogLevel::Info, L"two");
    }
    Logger::instance().log(LogLevel::Info, L"after removal");
    EXPECT_EQ(calls, (std::vector<int>{1, 2, 1, 2}));

    TagRecorder stranger(3, calls, true);
    EXPECT_EQ(Logger::instance().removeWriter(&stranger), nullptr);
}

TEST(LogWriters, RefuseAnEmptyLine)
{
    ScratchFolder scratch;
    const std::wstring logPath = scratch / L"KWW.log";
    ASSERT_TRUE(KestrelTest::writeFile(logPath, ""));
    Kestrel::FileLogWriter file(2, logPath);
    EXPECT_FALSE(file.write(L""));
    EXPECT_EQ(sizeOf(logPath), 0u);
    EXPECT_FALSE(Kestrel::OutputLogWriter(1).write(L""));
    EXPECT_FALSE(Kestrel::DebugOutputLogWriter(2).write(L""));
    EXPECT_TRUE(Kestrel::DebugOutputLogWriter(2).write(L"Info: \tto the debugger\r\n"));
}

TEST(OutputLogWriter, WritesTheLineInUtf8ToStandardOutput)
{
    ScratchFolder scratch;
    const std::wstring outputPath = scratch / L"stdout.txt";
    {
        RedirectedOutput redirected(outputPath);
        Kestrel::OutputLogWriter writer(1);
        EXPECT_TRUE(writer.write(L"Info: \tcaf\u00e9 \u4e2d\r\n"));
        EXPECT_TRUE(writer.write(L"Info: \tsecond\r\n"));
    }
    EXPECT_EQ(KestrelTest::readFile(outputPath), "Info: \tcaf\xC3\xA9 \xE4\xB8\xAD\r\nInfo: \tsecond\r\n");
}

// An older log keeps its lines as they were; every name reaches the file in UTF-8, after the
// start's line. A new, empty log begins with UTF-8's mark, and only there.
TEST(FileLogWriter, AppendsEachLineInUtf8AfterTheStartLineWithTheMarkOnlyInANewFile)
{
    ScratchFolder scratch;
    const std::wstring logPath = scratch / L"KWW.log", newPath = scratch / L"new.log";
    ASSERT_TRUE(KestrelTest::writeFile(logPath, "caf\xE9 earlier\r\n") && KestrelTest::writeFile(newPath, ""));
    SYSTEMTIME today{};
    GetLocalTime(&today);
    {
        AttachedWriter writer(std::make_unique<Kestrel::FileLogWriter>(2, logPath));
        AttachedWriter fresh(std::make_unique<Kestrel::FileLogWriter>(2, newPath));
        Kestrel::logStart(L"kww");
        Logger::instance().log(LogLevel::Info, L"Begin to erase: %s. ", L"C:\\caf\u00e9\\\u65e5\u672c.txt");
        Logger::instance().log(LogLevel::Error, L"File not found: %s", L"C:\\b");
    }
    const std::string content = KestrelTest::readFile(logPath);
    const std::string lines = "Info: \tBegin to erase: C:\\caf\xC3\xA9\\\xE6\x97\xA5\xE6\x9C\xAC.txt. \r\n"
                              "ERROR: \tFile not found: C:\\b\r\n";
    ASSERT_GT(content.size(), lines.size());
    EXPECT_EQ(content.substr(content.size() - lines.size()), lines);
    const std::string start = content.substr(0, content.size() - lines.size());
    char date[16]{};
    std::snprintf(date, sizeof date, "%04u-%02u-%02u ", unsigned{today.wYear}, unsigned{today.wMonth}, unsigned{today.wDay});
    EXPECT_TRUE(std::regex_match(start, std::regex("caf\xE9 earlier\r\nInfo: \tkww started " + std::string(date) +
                                                   "\\d\\d:\\d\\d:\\d\\d \\(UTC[-+]\\d\\d:\\d\\d\\)\\. \r\n")))
        << start;
    const std::string made = KestrelTest::readFile(newPath);
    EXPECT_EQ(made.substr(0, 3), Kestrel::kUtf8Mark) << made;
    EXPECT_EQ(made.find("Info: \tkww started "), 3u);
    EXPECT_EQ(made.substr(made.size() - lines.size()), lines);
    EXPECT_EQ(made.find("\xEF\xBB\xBF", 3), std::string::npos);
}

TEST(FileLogWriter, NeverCreatesTheFileAndDropsLinesOnceItIsGone)
{
    ScratchFolder scratch;
    const std::wstring logPath = scratch / L"KWW.log";

    Kestrel::FileLogWriter missing(2, logPath);
    EXPECT_FALSE(missing.write(L"Info: \tlost\r\n"));
    EXPECT_EQ(GetFileAttributesW(logPath.c_str()), INVALID_FILE_ATTRIBUTES);

    ASSERT_TRUE(KestrelTest::writeFile(logPath, ""));
    {
        AttachedWriter writer(std::make_unique<Kestrel::FileLogWriter>(2, logPath));
        // The file writer comes first; the capture behind it must keep getting lines.
        LogCapture capture;
        Logger::instance().log(LogLevel::Info, L"kept");
        EXPECT_EQ(KestrelTest::readFile(logPath), "\xEF\xBB\xBFInfo: \tkept\r\n");
        // Between lines no handle is held, so the file can go while the program runs.
        ASSERT_TRUE(DeleteFileW(logPath.c_str())) << GetLastError();
        Logger::instance().log(LogLevel::Info, L"after deletion");
        EXPECT_EQ(capture.lines(), (std::vector<std::wstring>{L"Info: \tkept\r\n", L"Info: \tafter deletion\r\n"}));
    }
    EXPECT_EQ(GetFileAttributesW(logPath.c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST(FileLogWriter, KeepsLinesFromTwoThreadsWhole)
{
    ScratchFolder scratch;
    const std::wstring logPath = scratch / L"KWW.log";
    ASSERT_TRUE(KestrelTest::writeFile(logPath, ""));
    constexpr int kLinesPerThread = 150;
    // Long lines, so that an unguarded writer would be caught between its seek and its write.
    const std::wstring first(300, L'a');
    const std::wstring second(300, L'b');
    {
        AttachedWriter writer(std::make_unique<Kestrel::FileLogWriter>(2, logPath));
        auto logMany = [](const std::wstring& text) {
            for (int i = 0; i < kLinesPerThread; ++i)
                Logger::instance().log(LogLevel::Info, L"%s %d", text.c_str(), i);
        };
        std::thread one(logMany, first);
        std::thread two(logMany, second);
        one.join();
        two.join();
    }

    const std::string content = KestrelTest::readFile(logPath);
    std::map<std::string, int> seen;
    ASSERT_EQ(content.compare(0, 3, Kestrel::kUtf8Mark), 0);
    std::size_t start = 3;
    while (start < content.size()) {
        const std::size_t end = content.find("\r\n", start);
        ASSERT_NE(end, std::string::npos);
        ++seen[content.substr(start, end - start)];
        start = end + 2;
    }
    std::map<std::string, int> expected;
    std::uint64_t expectedSize = 0;
    for (int i = 0; i < kLinesPerThread; ++i) {
        for (const char letter : {'a', 'b'}) {
            const std::string line = "Info: \t" + std::string(300, letter) + " " + std::to_string(i);
            ++expected[line];
            expectedSize += line.size() + 2;
        }
    }
    EXPECT_EQ(seen, expected);
    EXPECT_EQ(content.size(), 3 + expectedSize);
}

// Left in the process logger for good. Destroying it means the logger did not live until the
// process ended, while a worker may still log then: it ends the run with a failure code, which is
// what ctest sees once every test has passed.
class MustOutliveTheProcess : public Kestrel::LogWriter {
public:
    static constexpr int kDestroyedExitCode = 3;

    MustOutliveTheProcess() : LogWriter(0) {}
    ~MustOutliveTheProcess() override
    {
        std::fputs("FAILED: the process logger was destroyed before the process ended\n", stderr);
        std::fflush(stderr);
        std::_Exit(kDestroyedExitCode);
    }
    bool write(const std::wstring&) override { return true; }
};

TEST(Logger, LivesUntilTheProcessEnds)
{
    EXPECT_TRUE(Logger::instance().addWriter(std::make_unique<MustOutliveTheProcess>()));
}

} // namespace
