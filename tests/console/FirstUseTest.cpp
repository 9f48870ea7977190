// kww as a newcomer types it: switches after the command, help where people ask, the slips that
// name nothing, the question on the console with a drive's letter typed or Ctrl+C, and a folder
// kept for the link it holds.
#include "foundation/CodePage.h"
#include "tests/console/KwwProcess.h"
#include "tests/support/ScratchFolder.h"
#include "tests/support/UnixScratch.h"
#include "tests/support/UnixShell.h"
#include "tests/support/WineDrive.h"

#include <gtest/gtest.h>

using ConsoleTest::KwwResult;
using ConsoleTest::linesOf;
using ConsoleTest::runKww;
using ConsoleTest::runKwwLine;
using KestrelTest::readFile;
using KestrelTest::shellQuoted;
using KestrelTest::writeFile;

namespace {

using Lines = std::vector<std::wstring>;

bool contains(const std::wstring& text, const std::wstring& part)
{
    return text.find(part) != std::wstring::npos;
}

// kww run on a pseudo-terminal of `script` on the Linux side, so that its input is a console as a
// person's is; `redirections` go after the command ("> out"). Once the console's screen shows
// `shown`, the keys are typed, and typed again each second until kww ends: Wine's console may set
// the terminal's mode after the question shows, which drops what was typed before. Gives what the
// screen showed; kww's exit code goes to "status".
std::wstring typedRun(const std::wstring& folder, const std::string& command, const std::string& shown,
                      const std::string& keys)
{
    // Ctrl+C reaches the whole foreground group: the shell lives on to write the exit code.
    const std::string kww = "trap : INT; wine " + shellQuoted(KWW_CONSOLE_EXE) + " " + command + "; echo $? >status";
    const std::string typist = "for i in $(seq 300); do grep -qF " + shellQuoted(shown) +
                               " screen && break; sleep 0.1; done\n"
                               "for i in $(seq 30); do\n"
                               "  printf " + shellQuoted(keys) + "\n"
                               "  for j in $(seq 10); do [ -e status ] && break 2; sleep 0.1; done\n"
                               "done\n";
    const auto typed = KestrelTest::runUnixShell("cd " + shellQuoted(KestrelTest::unixPathOf(folder)) +
                                                 "\nrm -f screen status\n{\n" +
                                                 typist + "} | SHELL=/bin/sh script -qec " + shellQuoted(kww) +
                                                 " /dev/null >screen\n");
    const std::string screen = readFile(folder + L"\\screen");
    return typed.finished ? Kestrel::fromCodePage(screen.data(), screen.size(), CP_UTF8) : L"";
}

std::wstring utf8File(const std::wstring& path)
{
    const std::string bytes = readFile(path);
    return Kestrel::fromCodePage(bytes.data(), bytes.size(), CP_UTF8);
}

} // namespace

TEST(ConsoleFirstUse, SwitchesAfterTheCommandAreOptionsAndHelpIsWherePeopleAskForIt)
{
    const KestrelTest::ScratchFolder scratch;
    ASSERT_TRUE(writeFile(scratch / L"kept.txt", "kept") && writeFile(scratch / L"y.txt", "goes"));
    ASSERT_TRUE(CreateDirectoryW((scratch / L"a b").c_str(), nullptr) && writeFile(scratch / L"a b\\c", "goes"));

    const KwwResult help = runKww({L"erase", L"/?", L"kept.txt"}, scratch.path());
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_TRUE(help.output.starts_with(L"  kww erase [--yes] [--preview] PATH...\r\n    each also with [--json] "
                                        L"[--report FILE] [--verify sample|all|off]\r\n\r\nerase      Erases"));
    EXPECT_FALSE(contains(help.output, L"freespace  ")) << "the command's part alone";
    for (const Lines& words : {Lines{L"erase", L"--help"}, Lines{L"help", L"ERASE"}, Lines{L"--help", L"erase"},
                               Lines{L"-h", L"Erase"}})
        EXPECT_EQ(runKww(words, scratch.path()).output, help.output) << testing::PrintToString(words);

    const std::vector<std::pair<std::wstring, Lines>> slips{
        {L"erase --yes /s kept.txt",
         {L"kww: Unknown option for erase: /s. For a path, write it with \\ (\\s) or put it after --.",
          L"Try kww help erase."}},
        {L"erase -q kept.txt",
         {L"kww: Unknown option for erase: -q. For a file whose name starts with -, type .\\-q or put it after --.",
          L"Try kww help erase."}},
        {L"eras kept.txt", {L"kww: Unknown command: eras. Did you mean erase?", L"Try kww --help."}},
        {L"--yes erase kept.txt", {L"kww: Options go after the command: kww erase --yes ...", L"Try kww help erase."}}};
    for (const auto& [line, error] : slips) {
        const KwwResult refused = runKwwLine(line, scratch.path());
        EXPECT_EQ(refused.exitCode, 2) << line;
        EXPECT_EQ(linesOf(refused.error), error) << line;
    }

    // Names that name nothing: a drive without its backslash, a name with a dot the file lacks.
    const std::wstring drive = scratch.path().substr(0, 2);
    const KwwResult bare = runKww({L"erase", L"-y", drive, L"y.txt."}, scratch.path());
    EXPECT_EQ(bare.exitCode, 1);
    EXPECT_EQ(linesOf(bare.error),
              (Lines{L"kww: " + drive + L" is the current folder of drive " + drive.substr(0, 1) + L", not its root: type " +
                         drive + L"\\ for everything on the drive, or kww freespace " + drive + L" for its free space.",
                     L"kww: File not found: " + scratch / L"y.txt.",
                     L"kww: nothing was erased: correct what names nothing, or leave it out."}));
    EXPECT_EQ(runKww({L"erase", L"--preview", L"y.txt."}, scratch.path()).output,
              L"Error: File not found: " + scratch / L"y.txt." + L"\r\n");

    // -y after the command, in any case; cmd's "a b\" arrives as a b" and is read as the folder.
    const KwwResult erased = runKwwLine(L"ERASE y.txt -Y \"a b\\\"", scratch.path());
    EXPECT_EQ(erased.exitCode, 0) << erased.error;
    EXPECT_EQ(linesOf(erased.output),
              (Lines{L"Done: " + scratch / L"y.txt", L"Done: " + scratch / L"a b", L"2 done, 0 failed, 0 aborted"}));
    EXPECT_EQ(readFile(scratch / L"kept.txt"), "kept");
}

// The list and the question go to the console, not to a redirected output: a drive's root asks for
// its letter, and the erase's lines alone reach the file; Ctrl+C at the question changes nothing.
TEST(ConsoleFirstUse, TheQuestionIsAskedOnTheConsoleAndCtrlCThereChangesNothing)
{
    const KestrelTest::ScratchFolder scratch;
    const KestrelTest::ScratchFolder content;
    ASSERT_TRUE(CreateDirectoryW((content / L"sub").c_str(), nullptr));
    ASSERT_TRUE(writeFile(content / L"sub\\f.txt", "on the drive") && writeFile(content / L"g.txt", "also"));
    std::string why;
    const auto drive = KestrelTest::WineDrive::define(content.path(), KestrelTest::WineDrive::Type::Fixed, why);
    if (!drive)
        GTEST_SKIP() << why;
    const std::wstring root = drive->root();
    const std::string rootText = Kestrel::toCodePage(root, CP_UTF8);

    const KwwResult preview = runKww({L"erase", L"--preview", root}, scratch.path());
    EXPECT_EQ(linesOf(preview.output),
              (Lines{L"Folder: " + root + L" (2 files, 16 bytes)", L"  Warning: a drive root: its whole content goes.",
                     L"  File: " + root + L"sub\\f.txt", L"  Folder: " + root + L"sub", L"  File: " + root + L"g.txt",
                     L"1 item, 2 files, 16 bytes"}));

    ASSERT_TRUE(writeFile(scratch / L"keep.txt", "kept"));
    const std::wstring stopped = typedRun(scratch.path(), "erase keep.txt 2>error", "[y/N]", "\003");
    EXPECT_TRUE(contains(stopped, L"File: " + scratch / L"keep.txt (4 bytes)")) << stopped;
    EXPECT_TRUE(contains(stopped, L"Erase this item? This cannot be undone. [y/N]")) << stopped;
    EXPECT_TRUE(contains(stopped, L"Nothing was changed.")) << stopped;
    EXPECT_EQ(readFile(scratch / L"status"), "3\n");
    EXPECT_EQ(readFile(scratch / L"error"), "");
    EXPECT_EQ(readFile(scratch / L"keep.txt"), "kept");

    const std::wstring letter = root.substr(0, 1);
    const std::wstring asked = typedRun(scratch.path(), "erase " + shellQuoted(rootText) + " >output", "to go on",
                                        Kestrel::toCodePage(letter, CP_UTF8) + "\r");
    EXPECT_TRUE(contains(asked, L"Erase everything on " + root + L"? This cannot be undone. Type " + letter +
                                    L" to go on:")) << asked;
    EXPECT_EQ(readFile(scratch / L"status"), "0\n");
    EXPECT_EQ(linesOf(utf8File(scratch / L"output")), (Lines{L"Done: " + root, L"1 done, 0 failed, 0 aborted"}));
    EXPECT_EQ(GetFileAttributesW((content / L"g.txt").c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(GetFileAttributesW((content / L"sub").c_str()), INVALID_FILE_ATTRIBUTES);
}

// A folder that holds a link: the preview marks it kept, the erase takes its files, leaves the
// link and says why the folder stays; what the link names is untouched.
TEST(ConsoleFirstUse, AFolderThatHoldsALinkIsKeptAndSaysWhy)
{
    const KestrelTest::UnixScratch scratch;
    ASSERT_TRUE(scratch.make("mkdir -p build/obj target && echo object >build/obj/main.o && echo exe >build/app.exe && "
                             "echo behind >target/t.txt && ln -s ../target build/cache\n"));
    const std::wstring build = scratch / L"build";

    const KwwResult preview = runKww({L"erase", L"--preview", L"build"}, scratch.path());
    EXPECT_EQ(linesOf(preview.output),
              (Lines{L"Folder: " + build + L" (2 files, 11 bytes)",
                     L"  Warning: 1 link inside: it is never followed, and it stays, with each folder that holds one "
                     L"(its files are erased, the folder is kept).",
                     L"  File: " + build + L"\\obj\\main.o", L"  Folder: " + build + L"\\obj",
                     L"  Skipped link: " + build + L"\\cache", L"  File: " + build + L"\\app.exe",
                     L"  Folder: " + build + L" (kept: it holds a link)", L"1 item, 2 files, 11 bytes"}));

    const KwwResult erased = runKww({L"erase", L"--yes", L"build"}, scratch.path());
    EXPECT_EQ(erased.exitCode, 1);
    EXPECT_EQ(linesOf(erased.output),
              (Lines{L"Failed: " + build + L" (its files were erased; the folder is kept because it holds a link, "
                                           L"which is never followed: " + build + L"\\cache)",
                     L"0 done, 1 failed, 0 aborted"}));
    EXPECT_EQ(GetFileAttributesW((build + L"\\obj").c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(GetFileAttributesW((build + L"\\app.exe").c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(readFile(scratch / L"target\\t.txt"), "behind\n");
}
