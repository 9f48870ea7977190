#include "console/ConsoleProgram.h"

#include "ProgramVersion.h"
#include "console/ChosenItem.h"
#include "console/ConsoleCommand.h"
#include "console/ConsoleLog.h"
#include "console/Confirmation.h"
#include "console/HelpText.h"
#include "console/ExitCode.h"
#include "console/ItemRecord.h"
#include "console/ItemRun.h"
#include "console/ItemSurvey.h"
#include "console/JsonReport.h"
#include "console/ProgressLine.h"
#include "console/StandardStream.h"
#include "console/StopRequest.h"
#include "erase/StatusTally.h"

#include <algorithm>
#include <cwctype>
#include <optional>

namespace {

using Verb = ConsoleCommand::Verb;

int code(ExitCode exit) noexcept
{
    return static_cast<int>(exit);
}

std::wstring versionText()
{
    const std::string version = KWW_VERSION_TEXT;
    return L"kww " + std::wstring(version.begin(), version.end());
}

int refuseUsage(const ConsoleCommand& command, const StandardStream& error)
{
    error.writeLine(L"kww: " + command.usageError);
    error.writeLine(command.topic ? L"Try kww help " + commandName(command.topic) + L"." : L"Try kww --help.");
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

// The roots among the items ("T:\\"): a drive's root, or "." in one, takes its whole content.
std::vector<std::wstring> rootsAmong(const std::vector<ChosenItem>& items)
{
    std::vector<std::wstring> roots;
    for (const ChosenItem& item : items) {
        if (item.kind == ItemKind::Folder && item.path.size() == 3 && item.path[1] == L':')
            roots.push_back(item.path);
    }
    return roots;
}

// What is asked fits what goes: a drive's whole content needs its letter typed, as a choice
// nobody makes by a slip of the Enter key; a free-space wipe and the bin say what they are.
std::wstring questionFor(const std::vector<ChosenItem>& items, const std::vector<std::wstring>& roots)
{
    const std::wstring undone = L"This cannot be undone. ";
    const std::wstring what = items.size() == 1 ? L"this item" : L"these " + std::to_wstring(items.size()) + L" items";
    if (!roots.empty()) {
        std::wstring drives;
        std::wstring letters;
        for (const std::wstring& root : roots) {
            drives += (drives.empty() ? L"" : L" and ") + root;
            letters += root.front();
        }
        const std::wstring erase = items.size() == roots.size() ? L"Erase everything on " + drives
                                                                : L"Erase " + what + L", everything on " + drives;
        return erase + L"? " + undone + L"Type " + letters + L" to go on: ";
    }
    const ChosenItem& first = items.front();
    if (first.kind == ItemKind::FreeSpace)
        return L"Wipe the free space of " + first.path + L"? [y/N] ";
    if (first.kind == ItemKind::RecycleBin)
        return L"Erase these items of the Recycle Bin, each with its record? " + undone + L"[y/N] ";
    return L"Erase " + what + L"? " + undone + L"[y/N] ";
}

// The list and the question go to the console's screen, also when standard output and error
// are redirected: the answer is typed there, and a question nobody sees would wait forever. The
// list names the items, not every file of a folder: --preview shows those.
Answer askOnConsole(const std::vector<ChosenItem>& items, const StopRequest& stop)
{
    const Kestrel::UniqueFileHandle screenHandle = openConsoleScreen();
    const StandardStream screen(screenHandle.get());
    writeLines(describeItems(items, ItemDetail::Items), screen);
    const std::vector<std::wstring> roots = rootsAmong(items);
    std::vector<std::wstring> accepted{L"y", L"yes"};
    if (!roots.empty()) {
        accepted = {L""};
        for (const std::wstring& root : roots)
            accepted.front() += static_cast<wchar_t>(std::towlower(root.front()));
    }
    const Answer answer = ask(questionFor(items, roots), accepted, screen, stop);
    if (answer != Answer::Yes)
        screen.writeLine(L"Nothing was changed.");
    return answer;
}

// Nothing is destroyed unasked: without --yes the user reads the list and answers on the
// console; a script that gave no --yes is refused, whatever its input holds.
Answer permitted(const ConsoleCommand& command, const std::vector<ChosenItem>& items, const StopRequest& stop,
                 const StandardStream& error)
{
    if (command.yes)
        return Answer::Yes;
    // JSON on standard output is read by a program, which cannot answer a question.
    if (!inputIsConsole() || command.json) {
        error.writeLine(L"kww: refused: without --yes kww asks before it erases, and its input is no console to "
                        L"ask on. Nothing was changed. To erase without a question, add --yes: kww " +
                        commandName(command.verb) + L" --yes ...");
        return Answer::No;
    }
    return askOnConsole(items, stop);
}

// When any argument names nothing, nothing is asked or erased: a slip in one path (a switch that
// is none, a drive without its backslash) may mean that the others are not what was meant.
int refuseUnfound(const std::vector<ChosenItem>& items, const StandardStream& error)
{
    for (const ChosenItem& item : items) {
        if (!item.found())
            error.writeLine(L"kww: " + item.problem);
    }
    error.writeLine(L"kww: nothing was erased: correct what names nothing, or leave it out.");
    return code(ExitCode::Failed);
}

int runItems(const std::vector<ChosenItem>& items, const ConsoleCommand& command, StopRequest& stop,
             JsonReport& report, const StandardStream& output, const StandardStream& error)
{
    setUpConsoleLog();
    ProgressLine progress(error);
    StatusTally tally;
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
        if (started)
            outcome = runItem(item.kind, item.path, stop, progress, command.verify);
        tally.count(outcome.status);
        if (!command.json)
            output.writeLine(resultLine(item.path, outcome));
        // A record tells how far the run got: an item never begun has no line.
        if (record) {
            completeRecord(*record, outcome);
            results.push_back(record->result);
            report.item(*record);
        }
    }
    if (!command.json)
        output.writeLine(tally.text());
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

// Runs `body` with the run's record, made once the run may go ahead: its file new, its run line
// written.
template <typename Body>
int withReport(const ConsoleCommand& command, const std::vector<std::wstring>& words, const StandardStream& output,
               const StandardStream& error, Body body)
{
    std::optional<Kestrel::UniqueFileHandle> file = reportFile(command, error);
    if (!file)
        return code(ExitCode::Refused);
    JsonReport report(command.json ? &output : nullptr, std::move(*file));
    if (report.writes())
        report.run(words, command.verify);
    return body(report);
}

} // namespace

int runConsoleProgram(const std::vector<std::wstring>& words)
{
    const StandardStream output(STD_OUTPUT_HANDLE);
    const StandardStream error(STD_ERROR_HANDLE);
    const ConsoleCommand command = parseCommand(words);
    if (!command.usageError.empty())
        return refuseUsage(command, error);
    if (command.verb == Verb::Help) {
        output.write(helpText(command.topic));
        return code(ExitCode::Done);
    }
    if (command.verb == Verb::Version) {
        output.writeLine(versionText());
        return code(ExitCode::Done);
    }
    const std::vector<ChosenItem> items = chosenItems(command);
    if (command.preview) {
        return withReport(command, words, output, error,
                          [&](JsonReport& report) { return preview(items, command, report, output); });
    }
    if (foundCount(items) != items.size())
        return refuseUnfound(items, error);
    // From the question on, Ctrl+C stops; it ends after the summary line, which a closing
    // console's handler waits for before it ends the process.
    StopRequest stop;
    switch (permitted(command, items, stop, error)) {
    case Answer::Yes:
        break;
    case Answer::No:
        return code(ExitCode::Refused);
    case Answer::Stopped:
        return code(ExitCode::Stopped);
    }
    return withReport(command, words, output, error, [&](JsonReport& report) {
        return runItems(items, command, stop, report, output, error);
    });
}
