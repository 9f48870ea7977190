// kww.exe as scripts meet it: the real program started as a child with every handle redirected,
// its output, exit code, KWW.log and the bytes on the disk checked afterwards.
#include "ProgramVersion.h"
#include "foundation/CodePage.h"
#include "foundation/PathUtilities.h"
#include "foundation/UniqueHandle.h"
#include "tests/console/KwwProcess.h"
#include "tests/console/RecordCheck.h"
#include "tests/support/MountedVolume.h"
#include "tests/support/ScratchFolder.h"
#include "tests/support/SparseFile.h"
#include "tests/support/UnixScratch.h"
#include "tests/support/UnixShell.h"

#include <gtest/gtest.h>

#include <map>

using ConsoleTest::KwwResult;
using ConsoleTest::linesOf;
using ConsoleTest::runKww;
using ConsoleTest::runKwwLine;
using KestrelTest::readFile;
using KestrelTest::writeFile;

namespace {

using Lines = std::vector<std::wstring>;

// Every file and folder under a folder, with each file's bytes; links are listed, never entered.
using Snapshot = std::map<std::wstring, std::string>;

void snapshotInto(const std::wstring& folder, const std::wstring& relative, Snapshot& snapshot)
{
    WIN32_FIND_DATAW entry;
    const Kestrel::UniqueFindHandle search(FindFirstFileW((folder + L"\\*").c_str(), &entry));
    for (bool more = static_cast<bool>(search); more; more = FindNextFileW(search.get(), &entry) != FALSE) {
        const std::wstring name = entry.cFileName;
        if (name == L"." || name == L"..")
            continue;
        const std::wstring path = folder + L"\\" + name;
        if (entry.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) {
            snapshot[relative + name] = "<link>";
        } else if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            snapshot[relative + name + L"\\"] = "<folder>";
            snapshotInto(path, relative + name + L"\\", snapshot);
        } else {
            snapshot[relative + name] = readFile(path);
        }
    }
}

Snapshot snapshotOf(const std::wstring& folder)
{
    Snapshot snapshot;
    snapshotInto(folder, L"", snapshot);
    return snapshot;
}

std::wstring logPath()
{
    return Kestrel::joinPath(Kestrel::userDataFolder(), L"KWW.log");
}

// What the runs between construction and added() appended to KWW.log, in UTF-8 as the log is kept.
class LogTail {
public:
    LogTail() : before_(readFile(logPath())) {}
    [[nodiscard]] std::string added() const
    {
        const std::string now = readFile(logPath());
        return now.compare(0, before_.size(), before_) == 0 ? now.substr(before_.size()) : now;
    }
    [[nodiscard]] bool has(const std::wstring& level, const std::wstring& message) const
    {
        return added().find(Kestrel::toCodePage(level + L"\t" + message + L"\r\n", CP_UTF8)) != std::string::npos;
    }

private:
    std::string before_;
};

bool exists(const std::wstring& path)
{
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool contains(const std::wstring& text, const std::wstring& part)
{
    return text.find(part) != std::wstring::npos;
}

// Bounds the waits for kww: its start line, a handler, a window procedure.
constexpr DWORD kKwwBound = 30000; // milliseconds

bool logGains(const LogTail& log, const std::wstring& level, const std::wstring& message)
{
    for (DWORD waited = 0; waited < kKwwBound; waited += 50) {
        if (log.has(level, message))
            return true;
        Sleep(50);
    }
    return false;
}

// The console's close as its host delivers it: kernel32's CtrlRoutine (at one address in every
// process) started on a thread of kww's. Returns once the handlers have returned.
void closeConsoleOf(const PROCESS_INFORMATION& kww)
{
    const auto routine = reinterpret_cast<LPTHREAD_START_ROUTINE>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "CtrlRoutine")));
    const Kestrel::UniqueHandle thread(CreateRemoteThread(kww.hProcess, nullptr, 0, routine,
                                                          reinterpret_cast<LPVOID>(CTRL_CLOSE_EVENT), 0, nullptr));
    WaitForSingleObject(thread.get(), kKwwBound);
}

// A logoff as Windows tells a program: its (hidden) top-level window is asked, then told the
// session ends. Returns once it has answered.
void endSessionOf(const PROCESS_INFORMATION&)
{
    const HWND window = FindWindowW(L"KestrelWipewellSessionEnd", nullptr);
    DWORD_PTR answer = 0;
    SendMessageTimeoutW(window, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF, SMTO_NORMAL, kKwwBound, &answer);
    SendMessageTimeoutW(window, WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF, SMTO_NORMAL, kKwwBound, &answer);
}

} // namespace

// A tree and a file with a name outside every ANSI code page, relative to the folder the command
// runs in, with a kept file beside them: the preview names each and changes nothing, a run with
// no --yes and redirected input (holding "y") is refused, and --yes erases exactly the two.
TEST(ConsoleStory, PreviewRefusalAndEraseTouchOnlyTheChosenItems)
{
    const KestrelTest::ScratchFolder scratch;
    const std::wstring name = L"Gr\u00fc\u00dfe-\u65e5\u672c.txt";
    ASSERT_TRUE(CreateDirectoryW((scratch / L"tree").c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryW((scratch / L"tree\\sub").c_str(), nullptr));
    ASSERT_TRUE(writeFile(scratch / L"tree\\a.txt", "first file in the tree"));
    ASSERT_TRUE(writeFile(scratch / L"tree\\sub\\b.bin", std::string(70000, 'b')));
    ASSERT_TRUE(writeFile(scratch / name, "a name no code page holds"));
    ASSERT_TRUE(writeFile(scratch / L"keep.txt", "kept, byte for byte"));
    const Snapshot before = snapshotOf(scratch.path());
    const std::wstring tree = scratch / L"tree";
    const std::wstring file = scratch / name;
    const LogTail log;

    const KwwResult preview = runKww({L"erase", L"--preview", L"tree", name}, scratch.path());
    ASSERT_TRUE(preview.ended);
    EXPECT_EQ(preview.exitCode, 0) << preview.error;
    // The folder's content as the erase takes it, deepest first, the folder itself last.
    EXPECT_EQ(linesOf(preview.output),
              (Lines{L"Folder: " + tree + L" (2 files, 68.3 KB, 70,022 bytes)", L"  File: " + tree + L"\\sub\\b.bin",
                     L"  Folder: " + tree + L"\\sub", L"  File: " + tree + L"\\a.txt", L"  Folder: " + tree,
                     L"File: " + file + L" (25 bytes)", L"2 items, 3 files, 68.4 KB (70,047 bytes)"}));
    EXPECT_EQ(snapshotOf(scratch.path()), before);

    const KwwResult refused = runKww({L"erase", L"tree", name}, scratch.path(), "y\r\nyes\r\n");
    EXPECT_EQ(refused.exitCode, 2);
    EXPECT_TRUE(contains(refused.error, L"refused")) << refused.error;
    EXPECT_TRUE(refused.error.ends_with(L"add --yes: kww erase --yes ...\r\n")) << refused.error;
    EXPECT_EQ(refused.output, L"");
    EXPECT_EQ(snapshotOf(scratch.path()), before);
    EXPECT_EQ(log.added(), "") << "a preview and a refusal write nothing, not even to the log";

    const KwwResult erased = runKww({L"erase", L"--yes", L"tree", name}, scratch.path());
    EXPECT_EQ(erased.exitCode, 0) << erased.error;
    EXPECT_EQ(linesOf(erased.output), (Lines{L"Done: " + tree, L"Done: " + file, L"2 done, 0 failed, 0 aborted"}));
    EXPECT_EQ(snapshotOf(scratch.path()), (Snapshot{{L"keep.txt", "kept, byte for byte"}}));
    for (const std::wstring& item : {tree, file}) {
        EXPECT_TRUE(log.has(L"Info: ", L"Start to erase: " + item + L". ")) << log.added();
        EXPECT_TRUE(log.has(L"Info: ", L"File erased: " + item + L". ")) << log.added();
    }
}

// An argument that names nothing stops the whole run before anything changes; then each item that
// cannot be erased gets its own line with the log's reason (its path named once), the others are
// still erased, and nothing behind a link or of a held file changes.
TEST(ConsoleStory, MissingLinkedAndHeldItemsFailEachWithItsLine)
{
    const KestrelTest::UnixScratch scratch;
    ASSERT_TRUE(CreateDirectoryW((scratch / L"target").c_str(), nullptr));
    ASSERT_TRUE(writeFile(scratch / L"target\\inside.txt", "behind the link"));
    ASSERT_TRUE(writeFile(scratch / L"held.txt", "held open by another process"));
    ASSERT_TRUE(writeFile(scratch / L"plain.txt", "to be erased"));
    ASSERT_TRUE(scratch.make("ln -s target link\n"));
    Kestrel::UniqueFileHandle held(CreateFileW((scratch / L"held.txt").c_str(), GENERIC_READ, 0, nullptr,
                                                     OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(held);
    const LogTail log;
    const std::wstring missing = scratch / L"missing.txt";
    const std::wstring link = scratch / L"link";
    const std::wstring heldPath = scratch / L"held.txt";

    const KwwResult preview = runKww({L"erase", L"--preview", L"link", L"missing.txt"}, scratch.path());
    EXPECT_EQ(preview.exitCode, 1) << preview.error;
    EXPECT_EQ(linesOf(preview.output),
              (Lines{L"Folder: " + link + L" (0 files, 0 bytes)",
                     L"  Warning: a link: it is never followed, and it is skipped.",
                     L"Error: File not found: " + missing, L"1 item, 0 files, 0 bytes"}));
    const KwwResult inside = runKww({L"erase", L"--preview", L"."}, scratch.path());
    const std::wstring folder = scratch.path();
    EXPECT_EQ(linesOf(inside.output),
              (Lines{L"Folder: " + folder + L" (3 files, 55 bytes)",
                     L"  Warning: 1 link inside: it is never followed, and it stays, with each folder that holds "
                     L"one (its files are erased, the folder is kept).",
                     L"  File: " + folder + L"\\target\\inside.txt", L"  Folder: " + folder + L"\\target",
                     L"  File: " + folder + L"\\plain.txt", L"  Skipped link: " + link, L"  File: " + heldPath,
                     L"  Folder: " + folder + L" (kept: it holds a link)", L"1 item, 3 files, 55 bytes"}));
    EXPECT_EQ(log.added(), "") << "the listing's own lines are shown, never logged";

    const KwwResult none = runKww({L"erase", L"--yes", L"missing.txt", L"plain.txt"}, scratch.path());
    EXPECT_EQ(none.exitCode, 1);
    EXPECT_EQ(none.output, L"");
    EXPECT_EQ(linesOf(none.error), (Lines{L"kww: File not found: " + missing,
                                          L"kww: nothing was erased: correct what names nothing, or leave it out."}));
    EXPECT_TRUE(exists(scratch / L"plain.txt"));

    const KwwResult result = runKww({L"erase", L"--yes", L"link", L"held.txt", L"plain.txt"}, scratch.path());
    EXPECT_EQ(result.exitCode, 1) << result.error;
    EXPECT_EQ(linesOf(result.output),
              (Lines{L"Failed: " + link + L" (Skipped link)",
                     L"Failed: " + heldPath + L" (Failed to open: the file is in use by another program)",
                     L"Done: " + scratch / L"plain.txt", L"1 done, 2 failed, 0 aborted"}));
    EXPECT_EQ(readFile(scratch / L"target\\inside.txt"), "behind the link");
    EXPECT_TRUE(exists(link));
    EXPECT_FALSE(exists(scratch / L"plain.txt"));
    EXPECT_FALSE(contains(Kestrel::fromCodePage(log.added().data(), log.added().size(), CP_ACP), missing));
    EXPECT_TRUE(log.has(L"ERROR: ", L"Failed to erase: " + link + L". ")) << log.added();
    EXPECT_TRUE(log.has(L"ERROR: ", L"Failed to erase: " + heldPath + L". ")) << log.added();
    held.reset();
    EXPECT_EQ(readFile(heldPath), "held open by another process");
}

// `?` in the last component matches names in that folder only; a pattern that matches nothing,
// or a wildcard in a folder's name, names nothing, and the run then erases nothing.
TEST(ConsoleStory, APatternErasesTheNamesItMatchesAndNoOthers)
{
    const KestrelTest::ScratchFolder scratch;
    ASSERT_TRUE(CreateDirectoryW((scratch / L"a3.txt").c_str(), nullptr) &&
                CreateDirectoryW((scratch / L"deeper").c_str(), nullptr));
    for (const wchar_t* name : {L"a1.txt", L"a2.txt", L"b1.txt", L"deeper\\a4.txt", L"a3.txt\\inside"})
        ASSERT_TRUE(writeFile(scratch / name, "pattern"));
    const std::wstring pattern = scratch / L"a?.txt";

    const KwwResult preview = runKww({L"erase", L"--preview", pattern}, scratch.path());
    EXPECT_EQ(preview.exitCode, 0) << preview.error;
    EXPECT_EQ(linesOf(preview.output),
              (Lines{L"File: " + scratch / L"a1.txt" + L" (7 bytes)", L"File: " + scratch / L"a2.txt" + L" (7 bytes)",
                     L"Folder: " + scratch / L"a3.txt" + L" (1 file, 7 bytes)", L"  File: " + scratch / L"a3.txt\\inside",
                     L"  Folder: " + scratch / L"a3.txt", L"3 items, 3 files, 21 bytes"}));

    const KwwResult refused = runKww({L"erase", L"--yes", L"a?.txt", L"c*.txt", L"*\\b1.txt"}, scratch.path());
    EXPECT_EQ(refused.exitCode, 1) << refused.error;
    EXPECT_EQ(linesOf(refused.error),
              (Lines{L"kww: No name matches: " + scratch / L"c*.txt",
                     L"kww: * and ? work only in the last part of a path: *\\b1.txt",
                     L"kww: nothing was erased: correct what names nothing, or leave it out."}));
    EXPECT_TRUE(exists(scratch / L"a1.txt"));
    const KwwResult erased = runKww({L"erase", L"--yes", L"a?.txt"}, scratch.path());
    EXPECT_EQ(erased.exitCode, 0) << erased.error;
    EXPECT_EQ(linesOf(erased.output), (Lines{L"Done: " + scratch / L"a1.txt", L"Done: " + scratch / L"a2.txt",
                                             L"Done: " + scratch / L"a3.txt", L"3 done, 0 failed, 0 aborted"}));
    EXPECT_EQ(snapshotOf(scratch.path()),
              (Snapshot{{L"b1.txt", "pattern"}, {L"deeper\\", "<folder>"}, {L"deeper\\a4.txt", "pattern"}}));
}

// A pattern takes the long names it spells, in any case, and never a name whose 8.3 short name it
// matches (Wine makes REPORT~1.DOC for report.docx, as Windows does); preview and erase agree.
TEST(ConsoleStory, APatternNeverTakesANameThroughItsShortName)
{
    const KestrelTest::ScratchFolder scratch;
    for (const wchar_t* name : {L"notes.doc", L"OLD.DOC", L"report.docx", L"page.html"})
        ASSERT_TRUE(writeFile(scratch / name, "short names"));
    WIN32_FIND_DATAW entry;
    const Kestrel::UniqueFindHandle trap(FindFirstFileW((scratch / L"*.htm").c_str(), &entry));
    ASSERT_TRUE(trap) << "the system's own search matches page.html through PAGE~1.HTM";
    const std::wstring noHtm = scratch / L"*.htm";

    const KwwResult preview = runKww({L"erase", L"--preview", L"*.doc", L"*.htm"}, scratch.path());
    EXPECT_EQ(preview.exitCode, 1) << preview.error;
    EXPECT_EQ(linesOf(preview.output),
              (Lines{L"File: " + scratch / L"notes.doc" + L" (11 bytes)", L"File: " + scratch / L"OLD.DOC" + L" (11 bytes)",
                     L"Error: No name matches: " + noHtm, L"2 items, 2 files, 22 bytes"}));

    const KwwResult erased = runKww({L"erase", L"--yes", L"*.doc"}, scratch.path());
    EXPECT_EQ(linesOf(erased.output),
              (Lines{L"Done: " + scratch / L"notes.doc", L"Done: " + scratch / L"OLD.DOC", L"2 done, 0 failed, 0 aborted"}));
    EXPECT_EQ(snapshotOf(scratch.path()), (Snapshot{{L"page.html", "short names"}, {L"report.docx", "short names"}}));
}

// Words that are no command end with exit code 2 before anything is looked at; --version says
// the program's version; freespace takes one drive in each form it arrives in.
TEST(ConsoleStory, UsageVersionAndTheFreeSpaceRefusals)
{
    const KestrelTest::ScratchFolder scratch;
    for (const wchar_t* arguments : {L"", L"frobnicate", L"erase", L"erase --force x", L"--version x", L"freespace",
                                     L"freespace C:\\windows", L"freespace C:\\ D:\\", L"erase \"\""}) {
        const KwwResult result = runKwwLine(arguments, scratch.path());
        EXPECT_EQ(result.exitCode, 2) << "kww " << testing::PrintToString(arguments);
        EXPECT_TRUE(contains(result.error, L"Try kww ")) << result.error;
    }
    const KwwResult version = runKwwLine(L"--version", scratch.path());
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_EQ(version.output, L"kww " + Kestrel::fromCodePage(KWW_VERSION_TEXT, sizeof KWW_VERSION_TEXT - 1, CP_ACP) +
                                  L"\r\n");
    const KwwResult help = runKwwLine(L"--help", scratch.path());
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_TRUE(contains(help.output, L"kww freespace [--yes] [--preview] D:\\")) << help.output;

    // "C:\" typed in a terminal arrives as C:".
    const KwwResult preview = runKwwLine(L"freespace --preview \"C:\\\"", scratch.path());
    EXPECT_EQ(preview.exitCode, 0) << preview.error;
    const Lines lines = linesOf(preview.output);
    ASSERT_EQ(lines.size(), 1u) << preview.output;
    EXPECT_EQ(lines[0].rfind(L"Free space: C:\\ (", 0), 0u) << lines[0];
    EXPECT_TRUE(contains(lines[0], L" bytes free)")) << lines[0];

    const KwwResult refused = runKwwLine(L"freespace C:\\", scratch.path(), "y\r\n");
    EXPECT_EQ(refused.exitCode, 2);
    EXPECT_TRUE(contains(refused.error, L"refused")) << refused.error;

    wchar_t unused = L'Q';
    while (unused <= L'Y' && GetDriveTypeW(std::wstring{unused, L':', L'\\'}.c_str()) != DRIVE_NO_ROOT_DIR)
        ++unused;
    const std::wstring root{unused, L':', L'\\'};
    const KwwResult noDrive = runKww({L"freespace", L"--yes", root}, scratch.path());
    EXPECT_EQ(noDrive.exitCode, 1) << noDrive.error;
    EXPECT_EQ(noDrive.output, L"");
    EXPECT_TRUE(contains(noDrive.error, L"kww: Path not found: " + root + L"\r\n")) << noDrive.error;
}

// Ctrl+C typed on the terminal while a file is being overwritten: that item stops within a chunk
// and keeps its name, as after the window's Cancel; the next one is never started; the exit code
// says so, and the report tells how far the run got, with no summary. Under Wine a console's
// Ctrl+C comes from its terminal, so kww runs on a pseudo-terminal of `script` on the Linux side,
// and the Ctrl+C is typed there once the log shows the start.
TEST(ConsoleStory, CtrlCStopsTheRunningItemAndStartsNoOther)
{
    const KestrelTest::ScratchFolder scratch;
    const std::wstring big = scratch / L"big.bin";
    // Far more than is written before the Ctrl+C arrives; sparse, so it costs nothing until then.
    ASSERT_TRUE(KestrelTest::writeSparse(big, 8ull << 30));
    ASSERT_TRUE(writeFile(scratch / L"next.txt", "never started"));
    const LogTail log;
    using KestrelTest::shellQuoted;
    const std::string started = Kestrel::toCodePage(L"Start to erase: " + big + L". ", CP_UTF8);
    // The Ctrl+C reaches the whole foreground group: the shell that waits for kww must live on to
    // write its exit code (dash, unlike bash, dies of it), so it traps the signal; Wine gets it as usual.
    const std::string kww = "trap : INT; wine " + shellQuoted(KWW_CONSOLE_EXE) +
                            " erase --yes --report report.jsonl big.bin next.txt >output 2>/dev/null; echo $? >status";
    // Waits (at most 30 s) for the start line, types Ctrl+C, and keeps the terminal until kww ends.
    const std::string typist = "for i in $(seq 300); do grep -qF " + shellQuoted(started) + " " +
                               shellQuoted(KestrelTest::unixPathOf(logPath())) + " && break; sleep 0.1; done\n"
                               "printf '\\003'\n"
                               "for i in $(seq 300); do [ -e status ] && break; sleep 0.1; done\n";
    const auto typed = KestrelTest::runUnixShell("cd " + shellQuoted(KestrelTest::unixPathOf(scratch.path())) +
                                                 "\n{\n" + typist + "} | SHELL=/bin/sh script -qec " + shellQuoted(kww) +
                                                 " /dev/null >/dev/null\n");
    ASSERT_TRUE(typed.finished) << typed.output;

    EXPECT_EQ(readFile(scratch / L"status"), "3\n");
    const std::string output = readFile(scratch / L"output");
    EXPECT_EQ(linesOf(Kestrel::fromCodePage(output.data(), output.size(), CP_UTF8)),
              (Lines{L"Aborted: " + big + L" (stopped part-way: it stays under its name, partly overwritten; the same command finishes it)",
                     L"Aborted: " + scratch / L"next.txt" + L" (not started)", L"0 done, 0 failed, 2 aborted"}));
    EXPECT_EQ(ConsoleTest::checkedRecord(scratch / L"report.jsonl"), "run\n1 aborted None None none\n");
    EXPECT_TRUE(exists(big));
    EXPECT_EQ(readFile(scratch / L"next.txt"), "never started");
    EXPECT_TRUE(log.has(L"Info: ", L"Cancel to erase: " + big + L". ")) << log.added();
    EXPECT_TRUE(log.has(L"Info: ", L"Cancel erasing: " + big + L". ")) << log.added();
}

// Closing the console or logging off while a file is being overwritten: the item stops within a
// chunk and keeps its name, its Aborted line comes before the process ends, the exit code is
// Ctrl+C's. Windows ends the process as soon as the handler or the window procedure returns, so
// the test ends it then too; under Wine neither event comes from a real console or session here.
TEST(ConsoleStory, ClosingTheConsoleOrLoggingOffStopsTheItemBeforeTheProcessEnds)
{
    for (const auto end : {&closeConsoleOf, &endSessionOf}) {
        const KestrelTest::ScratchFolder scratch;
        const std::wstring big = scratch / L"big.bin";
        ASSERT_TRUE(KestrelTest::writeSparse(big, 8ull << 30));
        ASSERT_TRUE(writeFile(scratch / L"next.txt", "never started"));
        const LogTail log;
        const KwwResult result = runKww({L"erase", L"--yes", L"big.bin", L"next.txt"}, scratch.path(), {},
                                        [&](const PROCESS_INFORMATION& kww) {
                                            if (logGains(log, L"Info: ", L"Start to erase: " + big + L". "))
                                                end(kww);
                                            constexpr UINT kEndedBySystem = 0xC000013A;
                                            TerminateProcess(kww.hProcess, kEndedBySystem);
                                        });
        EXPECT_EQ(result.exitCode, 3) << (end == &closeConsoleOf ? "close" : "logoff");
        EXPECT_EQ(linesOf(result.output), (Lines{L"Aborted: " + big + L" (stopped part-way: it stays under its name, partly overwritten; the same command finishes it)",
                                                 L"Aborted: " + scratch / L"next.txt" + L" (not started)",
                                                 L"0 done, 0 failed, 2 aborted"}));
        EXPECT_TRUE(exists(big));
        EXPECT_EQ(readFile(scratch / L"next.txt"), "never started");
    }
}

// The wipe of a small drive's free space: the file on it stays, nothing of the wipe's is left, the
// free space is back.
TEST(ConsoleStory, FreeSpaceWipeLeavesTheDriveAsItWas)
{
    const KestrelTest::ScratchFolder scratch;
    std::wstring root;
    std::string why;
    const auto volume = KestrelTest::MountedVolume::tmpfsDrive(scratch / L"mount", 4096, root, why);
    if (!volume)
        GTEST_SKIP() << why;
    ASSERT_TRUE(writeFile(root + L"kept.txt", "kept on the wiped drive"));
    ULARGE_INTEGER freeBefore{};
    ASSERT_TRUE(GetDiskFreeSpaceExW(root.c_str(), &freeBefore, nullptr, nullptr));

    const KwwResult result = runKww({L"freespace", L"--yes", root}, scratch.path());
    EXPECT_EQ(result.exitCode, 0) << result.error;
    EXPECT_EQ(linesOf(result.output), (Lines{L"Done: " + root, L"1 done, 0 failed, 0 aborted"}));
    EXPECT_EQ(snapshotOf(root.substr(0, 2)), (Snapshot{{L"kept.txt", "kept on the wiped drive"}}));
    ULARGE_INTEGER freeAfter{};
    ASSERT_TRUE(GetDiskFreeSpaceExW(root.c_str(), &freeAfter, nullptr, nullptr));
    EXPECT_EQ(freeAfter.QuadPart, freeBefore.QuadPart);
}
