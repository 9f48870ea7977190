#include "console/ConsoleProgram.h"

#include "ProgramVersion.h"
#include "console/ChosenItem.h"
#include "console/ConsoleCommand.h"
#include "console/ConsoleLog.h"
#include "console/Confirmation.h"
#include "console/ExitCode.h"
#include "console/ItemRecord.h"
#include "console/ItemRun.h"
#include "console/ItemSurvey.h"
#include "console/JsonReport.h"
#include "console/ProgressLine.h"
#include "console/StandardStream.h"
#include "console/StopRequest.h"
#include "foundation/Logger.h"

#include <algorithm>
#include <optional>

namespace {

using Verb = ConsoleCommand::Verb;

constexpr const wchar_t* kUsage =
    L"kww erases files, folders, a drive's free space and the Recycle Bin so that what they held\r\n"
    L"cannot be read back.\r\n"
    L"\r\n"
    L"  kww erase [--yes] [--preview] PATH...\r\n"
    L"  kww freespace [--yes] [--preview] D:\\\r\n"
    L"  kww recyclebin [--yes] [--preview]\r\n"
    L"    each also with [--json] [--report FILE] [--verify sample|all|off]\r\n"
    L"  kww --help\r\n"
    L"  kww --version\r\n"
    L"\r\n"
    L"erase      Erases each file, and each folder with everything in it. A relative path is read\r\n"
    L"           against the current folder; * and ? in the last part match the names in that\r\n"
    L"           folder, never in deeper ones, and take only what they spell, whatever the case:\r\n"
    L"           *.doc takes a.doc and B.DOC, never a.docx; *.* takes only names with a dot.\r\n"
    L"           Links are never followed: they are skipped.\r\n"
    L"freespace  Overwrites the free space of the drive, so that what was deleted the ordinary\r\n"
    L"           way cannot be read back. No file that exists is changed.\r\n"
    L"recyclebin Erases what this user's Recycle Bin holds on every fixed drive, each deleted\r\n"
    L"           item as erase does and then its record; one that cannot be erased stays in\r\n"
    L"           the bin. Other users' bins and copies kept elsewhere are not touched.\r\n"
    L"--preview  Shows what the command would destroy, and changes nothing: each item, and under\r\n"
    L"           a folder every file and folder it holds, one line each, in the order the erase\r\n"
    L"           takes them (deepest first, the folder last; links named as skipped); for the\r\n"
    L"           Recycle Bin each deleted item by the path it was deleted from, with its size.\r\n"
    L"--yes      Erases without asking. Without it kww lists what goes and asks; with no console\r\n"
    L"           to ask (input redirected) it refuses.\r\n"
    L"--json     JSON Lines on standard output instead of the text lines: a run line, one line\r\n"
    L"           per item as it ends, a summary whose sha256 is the hash of every earlier line.\r\n"
    L"           Without --yes or --preview it refuses, as a redirected run does.\r\n"
    L"--report FILE  The same JSON Lines into FILE, made new (an existing one is refused), one\r\n"
    L"           line at a time as it happens; a run stopped early leaves no summary line.\r\n"
    L"--verify   How much of what was written is read back from the drive, past the cache,\r\n"
    L"           before an item counts as erased: sample (the default: all of a file up to\r\n"
    L"           62.5 MiB, 1,000 blocks of 64 KiB spread over a larger one), all, or off. Other\r\n"
    L"           bytes fail the item, which keeps its name. It proves what the drive returns for\r\n"
    L"           those addresses, not what a drive's remapped or spare cells still hold.\r\n"
    L"\r\n"
    L"One line per item as it ends (Done, Failed or Aborted, then in brackets the reason and what\r\n"
    L"stays elsewhere, such as a cloud service's copies), then a summary. Exit codes: 0 every\r\n"
    L"item done, 1 at least one failed, 2 bad usage or refused, 3 stopped by Ctrl+C or Ctrl+Break\r\n"
    L"(the running item stops within one chunk and no other starts); closing the console,\r\n"
    L"logging off and shutting down stop it the same way. The log is\r\n"
    L"%APPDATA%\\Larkspan\\Wipewell\\KWW.log, as for the window.\r\n";

int code(ExitCode exit) noexcept
{
    return static_cast<int>(exit);
}

std::wstring versionText()
{
    const std::string version = KWW_VERSION_TEXT;
    return L"kww " + std::wstring(version.begin(), version.end());
}

int refuseUsage(const std::wstring& why, const StandardStream& error)
{
    error.writeLine(L"kww: " + why);
    error.writeLine(L"Try kww --help.");
    return code(ExitCode::Refused);
}

std::vector<ChosenItem> chosenItems(const ConsoleCommand& command)
{
    if (command.verb == Verb::FreeSpace)
        return {chooseFreeSpace(command.arguments.front())};
    if (command.verb == Verb::RecycleBin)
        return {chooseRecycleBin()};
    return chooseItems(command.arguments);
}

std::size_t foundCount(const std::vector<ChosenItem>& items)
{
    return static_cast<std::size_t>(std::count_if(items.begin(), items.end(), [](const ChosenItem& item) {
        return item.found();
    }));
}

void writeLines(const std::vector<std::wstring>& lines, const StandardStream& stream)
{
    for (const std::wstring& line : lines)
        stream.writeLine(line);
}

int preview(const std::vector<ChosenItem>& items, const ConsoleCommand& command, JsonReport& report,
            const StandardStream& output)
{
    if (!command.json)
        writeLines(describeItems(items, ItemDetail::Contents), output);
    const int exit = foundCount(items) == items.size() ? code(ExitCode::Done) : code(ExitCode::Failed);
    if (!report.writes())
        return exit;
    std::vector<std::wstring> results;
    for (const ChosenItem& item : items) {
        ItemRecord record = recordOf(item);
        if (item.found())
            record.result = L"would_erase";
        else
            record.contents.reset();
        record.ended = record.started;
        results.push_back(record.result);
        report.item(record);
    }
    report.summary(results, exit);
    return exit;
}

// The list and the question go to the console's screen, also when standard output and error
// are redirected: the answer is typed there, and a question nobody sees would wait forever. The
// list names the items, not every file of a folder: --preview shows those.
bool askOnConsole(const std::vector<ChosenItem>& items, std::size_t found)
{
    const Kestrel::UniqueFileHandle screenHandle = openConsoleScreen();
    const StandardStream screen(screenHandle.get());
    writeLines(describeItems(items, ItemDetail::Items), screen);
    if (confirmErase(found, screen))
        return true;
    screen.writeLine(L"Nothing was changed.");
    return false;
}

// Nothing is destroyed unasked: without --yes the user reads the list and answers on the
// console; a script that gave no --yes is refused, whatever its input holds.
bool permitted(const ConsoleCommand& command, const std::vector<ChosenItem>& items, const StandardStream& error)
{
    const std::size_t found = foundCount(items);
    if (command.yes || found == 0)
        return true;
    // JSON on standard output is read by a program, which cannot answer a question.
    if (!inputIsConsole() || command.json) {
        error.writeLine(L"kww: refused: without --yes kww asks before it erases, and its input is no "
                        L"console to ask on. Nothing was changed.");
        return false;
    }
    return askOnConsole(items, found);
}

struct Tally {
    int done = 0;
    int failed = 0;
    int aborted = 0;

    void count(EraseStatus status) noexcept
    {
        (status == EraseStatus::Done ? done : status == EraseStatus::Aborted ? aborted : failed) += 1;
    }
    [[nodiscard]] std::wstring summary() const
    {
        return std::to_wstring(done) + L" done, " + std::to_wstring(failed) + L" failed, " +
               std::to_wstring(aborted) + L" aborted";
    }
};

// An argument that names nothing gets the lines the window writes for a handed path it cannot
// take: the reason, then "Skipped: ".
ItemOutcome skipArgument(const ChosenItem& item)
{
    Kestrel::Logger& logger = Kestrel::Logger::instance();
    logger.log(Kestrel::LogLevel::Error, L"%s", item.problem.c_str());
    logger.log(Kestrel::LogLevel::Error, L"Skipped: %s. ", item.path.c_str());
    return {EraseStatus::Failed, item.problem, {}, {}, ReadBackExtent::None};
}

int runItems(const std::vector<ChosenItem>& items, const ConsoleCommand& command, JsonReport& report,
             const StandardStream& output, const StandardStream& error)
{
    setUpConsoleLog();
    // Ends after the summary line: a closing console's handler waits for that to end the process.
    StopRequest stop;
    ProgressLine progress(error);
    Tally tally;
    std::vector<std::wstring> results;
    for (const ChosenItem& item : items) {
        ItemOutcome outcome{EraseStatus::Aborted, L"not started", {}, {}, ReadBackExtent::None};
        const bool started = !stop.requested();
        std::optional<ItemRecord> record;
        if (report.writes() && started) {
            record = recordOf(item);
            // Only a preview lists a folder's content: the run's line is about what happened.
            record->contents.reset();
        }
        if (!item.found())
            outcome = skipArgument(item);
        else if (started)
            outcome = runItem(item.kind, item.path, stop, progress, command.verify);
        tally.count(outcome.status);
        if (!command.json)
            output.writeLine(resultLine(item.path, outcome));
        // A record tells how far the run got: an item never begun has no line.
        if (record) {
            if (item.found())
                completeRecord(*record, outcome);
            else
                record->ended = timeNow();
            results.push_back(record->result);
            report.item(*record);
        }
    }
    if (!command.json)
        output.writeLine(tally.summary());
    if (stop.requested())
        return code(ExitCode::Stopped);
    const int exit = tally.failed > 0 ? code(ExitCode::Failed) : code(ExitCode::Done);
    report.summary(results, exit);
    return exit;
}

// The new report file, none without --report; nothing, with the refusal written, when it cannot
// be made.
std::optional<Kestrel::UniqueFileHandle> reportFile(const ConsoleCommand& command, const StandardStream& error)
{
    if (!command.reportPath)
        return Kestrel::UniqueFileHandle();
    std::wstring why;
    Kestrel::UniqueFileHandle file = JsonReport::createFile(*command.reportPath, why);
    if (!file) {
        error.writeLine(L"kww: refused: " + why + L". Nothing was changed.");
        return std::nullopt;
    }
    return file;
}

} // namespace

int runConsoleProgram(const std::vector<std::wstring>& words)
{
    const StandardStream output(STD_OUTPUT_HANDLE);
    const StandardStream error(STD_ERROR_HANDLE);
    const ConsoleCommand command = parseCommand(words);
    if (!command.usageError.empty())
        return refuseUsage(command.usageError, error);
    if (command.verb == Verb::Help) {
        output.write(kUsage);
        return code(ExitCode::Done);
    }
    if (command.verb == Verb::Version) {
        output.writeLine(versionText());
        return code(ExitCode::Done);
    }
    const std::vector<ChosenItem> items = chosenItems(command);
    if (!command.preview && !permitted(command, items, error))
        return code(ExitCode::Refused);
    std::optional<Kestrel::UniqueFileHandle> file = reportFile(command, error);
    if (!file)
        return code(ExitCode::Refused);
    JsonReport report(command.json ? &output : nullptr, std::move(*file));
    if (report.writes())
        report.run(words, command.verify);
    if (command.preview)
        return preview(items, command, report, output);
    return runItems(items, command, report, output, error);
}
