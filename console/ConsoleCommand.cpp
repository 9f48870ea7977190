#include "console/ConsoleCommand.h"

#include "foundation/CommandLine.h"
#include "foundation/DriveRoot.h"

#include <windows.h>

#include <optional>

namespace {

using Verb = ConsoleCommand::Verb;

std::optional<Verb> verbOf(const std::wstring& word)
{
    if (word == L"erase")
        return Verb::Erase;
    if (word == L"freespace")
        return Verb::FreeSpace;
    if (word == L"recyclebin")
        return Verb::RecycleBin;
    if (word == L"--help" || word == L"-h" || word == L"/?")
        return Verb::Help;
    if (word == L"--version")
        return Verb::Version;
    return std::nullopt;
}

ConsoleCommand refused(std::wstring why)
{
    ConsoleCommand command;
    command.usageError = std::move(why);
    return command;
}

// --verify's value.
void setVerify(ConsoleCommand& command, const std::wstring& value)
{
    if (value == L"sample")
        command.verify = VerifyMode::Sample;
    else if (value == L"all")
        command.verify = VerifyMode::All;
    else if (value == L"off")
        command.verify = VerifyMode::Off;
    else
        command.usageError = L"--verify takes sample, all or off, not " + value;
}

// The options of what a run records and reads back; those with a value take the next word.
struct RecordOption {
    const wchar_t* name;
    bool takesValue;
    void (*apply)(ConsoleCommand& command, const std::wstring& value);
};
constexpr RecordOption kRecordOptions[] = {
    {L"--json", false, [](ConsoleCommand& command, const std::wstring&) { command.json = true; }},
    {L"--report", true, [](ConsoleCommand& command, const std::wstring& value) { command.reportPath = value; }},
    {L"--verify", true, setVerify},
};

// False, with the reason, when the option's value is missing or wrong.
bool readRecordOption(const RecordOption& option, const std::vector<std::wstring>& words, std::size_t& at,
                      ConsoleCommand& command)
{
    if (option.takesValue && ++at == words.size()) {
        command.usageError = std::wstring(option.name) + L" needs a value.";
        return false;
    }
    option.apply(command, option.takesValue ? words[at] : std::wstring());
    return command.usageError.empty();
}

const RecordOption* recordOptionNamed(const std::wstring& word)
{
    for (const RecordOption& option : kRecordOptions) {
        if (word == option.name)
            return &option;
    }
    return nullptr;
}

// The options and paths after the verb.
bool readOptions(const std::vector<std::wstring>& words, ConsoleCommand& command)
{
    bool optionsEnded = false;
    for (std::size_t at = 1; at < words.size(); ++at) {
        const std::wstring& word = words[at];
        if (optionsEnded || word.size() < 2 || word.compare(0, 2, L"--") != 0) {
            command.arguments.push_back(word);
        } else if (word == L"--") {
            optionsEnded = true;
        } else if (word == L"--yes") {
            command.yes = true;
        } else if (word == L"--preview") {
            command.preview = true;
        } else if (const RecordOption* option = recordOptionNamed(word)) {
            if (!readRecordOption(*option, words, at, command))
                return false;
        } else {
            command.usageError = L"Unknown option: " + word;
            return false;
        }
    }
    return true;
}

// The one argument of freespace must name a drive, recyclebin takes none; an empty or blank path
// names nothing.
bool checkArguments(ConsoleCommand& command)
{
    if (command.verb == Verb::Erase) {
        if (command.arguments.empty())
            command.usageError = L"erase needs at least one path.";
        for (const std::wstring& argument : command.arguments) {
            if (argument.find_first_not_of(L" \t") == std::wstring::npos)
                command.usageError = L"An empty path names nothing.";
        }
        return command.usageError.empty();
    }
    if (command.verb == Verb::RecycleBin) {
        if (!command.arguments.empty())
            command.usageError = L"recyclebin takes no path: it erases this user's Recycle Bin on every fixed drive.";
        return command.usageError.empty();
    }
    if (command.arguments.size() != 1) {
        command.usageError = L"freespace needs one drive, for example D:\\";
        return false;
    }
    const std::optional<std::wstring> root = Kestrel::driveRootOf(command.arguments.front());
    if (!root) {
        command.usageError = L"Not a drive: " + command.arguments.front() + L" (give its root, for example D:\\)";
        return false;
    }
    command.arguments.front() = *root;
    return true;
}

} // namespace

ConsoleCommand parseCommand(const std::vector<std::wstring>& words)
{
    if (words.empty())
        return refused(L"No command given.");
    const std::optional<Verb> verb = verbOf(words.front());
    if (!verb)
        return refused(L"Unknown command: " + words.front());
    ConsoleCommand command;
    command.verb = *verb;
    if (*verb == Verb::Help || *verb == Verb::Version) {
        if (words.size() > 1)
            command.usageError = words.front() + L" takes nothing after it.";
        return command;
    }
    if (readOptions(words, command))
        checkArguments(command);
    return command;
}

std::vector<std::wstring> commandWords()
{
    std::vector<std::wstring> words = Kestrel::commandLineWords(GetCommandLineW());
    if (!words.empty())
        words.erase(words.begin());
    return words;
}
