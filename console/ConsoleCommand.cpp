#include "console/ConsoleCommand.h"

#include "foundation/CommandLine.h"
#include "foundation/DriveRoot.h"

#include <windows.h>

#include <algorithm>
#include <cwctype>
#include <span>
#include <string_view>

namespace {

using Verb = ConsoleCommand::Verb;

// "help" and "version" are no commands of their own, but are typed as one as often as not.
constexpr std::wstring_view kHelpWord = L"help";
constexpr std::wstring_view kVersionWord = L"--version";

bool sameText(std::wstring_view left, std::wstring_view right) noexcept
{
    return CompareStringOrdinal(left.data(), static_cast<int>(left.size()), right.data(),
                                static_cast<int>(right.size()), TRUE) == CSTR_EQUAL;
}

// One option of a command: typed "--name" or "/name", or by its letter as "-y" or "/y". One that
// takes a value takes the next word ("--report run.jsonl").
struct OptionEntry {
    std::wstring_view name;
    wchar_t letter; // 0: none
    bool takesValue;
    void (*apply)(ConsoleCommand& command, const std::wstring& value);
};

// --verify's value.
void setVerify(ConsoleCommand& command, const std::wstring& value)
{
    if (sameText(value, L"sample"))
        command.verify = VerifyMode::Sample;
    else if (sameText(value, L"all"))
        command.verify = VerifyMode::All;
    else if (sameText(value, L"off"))
        command.verify = VerifyMode::Off;
    else if (command.usageError.empty())
        command.usageError = L"--verify takes sample, all or off, not " + value + L".";
}

// Every command that erases takes the same options.
constexpr OptionEntry kRunOptions[] = {
    {L"yes", L'y', false, [](ConsoleCommand& command, const std::wstring&) { command.yes = true; }},
    {L"preview", 0, false, [](ConsoleCommand& command, const std::wstring&) { command.preview = true; }},
    {L"json", 0, false, [](ConsoleCommand& command, const std::wstring&) { command.json = true; }},
    {L"report", 0, true, [](ConsoleCommand& command, const std::wstring& value) { command.reportPath = value; }},
    {L"verify", 0, true, setVerify},
};

struct CommandEntry {
    std::wstring_view name;
    Verb verb;
    std::span<const OptionEntry> options;
};

constexpr CommandEntry kCommands[] = {{L"erase", Verb::Erase, kRunOptions},
                                     {L"freespace", Verb::FreeSpace, kRunOptions},
                                     {L"recyclebin", Verb::RecycleBin, kRunOptions}};

bool isOptionWord(const std::wstring& word) noexcept
{
    return word.size() > 1 && (word[0] == L'-' || word[0] == L'/');
}

// Windows' "/?" and "/h", Unix's "-h" and "--help", and the mixtures people type.
bool isHelpOption(const std::wstring& word)
{
    for (const std::wstring_view help : {L"--help", L"-h", L"-?", L"/?", L"/h", L"/help"}) {
        if (sameText(word, help))
            return true;
    }
    return false;
}

const CommandEntry* commandNamed(const std::wstring& word)
{
    for (const CommandEntry& command : kCommands) {
        if (sameText(word, command.name))
            return &command;
    }
    return nullptr;
}

const CommandEntry& entryOf(Verb verb)
{
    return *std::find_if(std::begin(kCommands), std::end(kCommands),
                         [verb](const CommandEntry& command) { return command.verb == verb; });
}

// How many characters must change to turn one word into the other (Levenshtein's distance).
std::size_t distance(std::wstring_view from, std::wstring_view to)
{
    std::vector<std::size_t> row(to.size() + 1);
    for (std::size_t at = 0; at < row.size(); ++at)
        row[at] = at;
    for (std::size_t i = 1; i <= from.size(); ++i) {
        std::size_t diagonal = row[0];
        row[0] = i;
        for (std::size_t j = 1; j <= to.size(); ++j) {
            const std::size_t above = row[j];
            const bool same = std::towlower(from[i - 1]) == std::towlower(to[j - 1]);
            row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (same ? 0 : 1)});
            diagonal = above;
        }
    }
    return row.back();
}

// "Unknown command: eras. Did you mean erase?" when one command is near (two typing slips, or the
// start of its name), else the list of commands.
std::wstring unknownCommand(const std::wstring& word)
{
    const CommandEntry* nearest = nullptr;
    std::size_t best = 3;
    for (const CommandEntry& command : kCommands) {
        const bool start = word.size() >= 3 && command.name.size() > word.size() &&
                           sameText(command.name.substr(0, word.size()), word);
        const std::size_t apart = start ? 1 : distance(word, command.name);
        if (apart < best) {
            best = apart;
            nearest = &command;
        }
    }
    const std::wstring text = L"Unknown command: " + word + L". ";
    if (nearest)
        return text + L"Did you mean " + std::wstring(nearest->name) + L"?";
    return text + L"The commands are erase, freespace and recyclebin.";
}

// What to type instead of an option nobody knows: a path that starts with '-' is written so that
// it does not, and a '/' path with Windows' own separator.
std::wstring unknownOption(const std::wstring& word, const CommandEntry& command)
{
    const std::wstring text = L"Unknown option for " + std::wstring(command.name) + L": " + word + L". ";
    if (word[0] == L'-')
        return text + L"For a file whose name starts with -, type .\\" + word + L" or put it after --.";
    std::wstring backslashed = word;
    std::replace(backslashed.begin(), backslashed.end(), L'/', L'\\');
    return text + L"For a path, write it with \\ (" + backslashed + L") or put it after --.";
}

const OptionEntry* optionNamed(const std::wstring& word, const CommandEntry& command)
{
    const bool slash = word[0] == L'/';
    const bool dashes = word.size() > 2 && word[1] == L'-';
    const std::wstring_view typed = std::wstring_view(word).substr(dashes ? 2 : 1);
    for (const OptionEntry& option : command.options) {
        const bool byName = (dashes || slash) && sameText(typed, option.name);
        const bool byLetter = !dashes && typed.size() == 1 && option.letter != 0 &&
                              std::towlower(typed[0]) == option.letter;
        if (byName || byLetter)
            return &option;
    }
    return nullptr;
}

ConsoleCommand refused(std::wstring why, std::optional<Verb> topic = std::nullopt)
{
    ConsoleCommand command;
    command.usageError = std::move(why);
    command.topic = topic;
    return command;
}

ConsoleCommand helpOn(std::optional<Verb> topic)
{
    ConsoleCommand command;
    command.topic = topic;
    return command;
}

// "kww help erase", "kww --help erase", "kww /? erase": the program's help, or one command's.
ConsoleCommand readHelp(const std::vector<std::wstring>& words)
{
    if (words.size() == 1)
        return helpOn(std::nullopt);
    if (words.size() > 2)
        return refused(words.front() + L" takes at most one command after it.");
    const CommandEntry* command = commandNamed(words[1]);
    return command ? helpOn(command->verb) : refused(unknownCommand(words[1]));
}

// An option typed before the command: said where it goes, with the command when one follows.
ConsoleCommand optionFirst(const std::vector<std::wstring>& words)
{
    for (const std::wstring& word : words) {
        if (const CommandEntry* command = commandNamed(word)) {
            return refused(L"Options go after the command: kww " + std::wstring(command->name) + L" " + words.front() +
                               L" ...",
                           command->verb);
        }
    }
    return refused(L"No command given before the option " + words.front() + L".");
}

// The options and paths after the command. A help option wins over everything else.
void readOptions(const std::vector<std::wstring>& words, const CommandEntry& entry, ConsoleCommand& command)
{
    bool optionsEnded = false;
    for (std::size_t at = 1; at < words.size(); ++at) {
        const std::wstring& word = words[at];
        if (optionsEnded || !isOptionWord(word)) {
            command.arguments.push_back(word);
        } else if (word == L"--") {
            optionsEnded = true;
        } else if (isHelpOption(word)) {
            command = helpOn(entry.verb);
            return;
        } else if (const OptionEntry* option = optionNamed(word, entry)) {
            if (option->takesValue && ++at == words.size()) {
                if (command.usageError.empty())
                    command.usageError = L"--" + std::wstring(option->name) + L" needs a value.";
                return;
            }
            option->apply(command, option->takesValue ? words[at] : std::wstring());
        } else if (command.usageError.empty()) {
            command.usageError = unknownOption(word, entry);
        }
    }
}

// A trailing quote is no part of a name (Windows allows none in one): it is cmd's trap, where
// "D:\a b\" hands over D:\a b" because the backslash kept the closing quote. Read as meant.
std::wstring withoutClosingQuote(std::wstring argument)
{
    if (argument.size() > 1 && argument.back() == L'"')
        argument.back() = L'\\';
    return argument;
}

// The one argument of freespace must name a drive, recyclebin takes none; an empty or blank path
// names nothing.
void checkArguments(ConsoleCommand& command)
{
    if (command.verb == Verb::Erase) {
        if (command.arguments.empty())
            command.usageError = L"erase needs at least one path.";
        for (std::wstring& argument : command.arguments) {
            if (argument.find_first_not_of(L" \t") == std::wstring::npos)
                command.usageError = L"An empty path names nothing.";
            argument = withoutClosingQuote(argument);
        }
        return;
    }
    if (command.verb == Verb::RecycleBin) {
        if (!command.arguments.empty())
            command.usageError = L"recyclebin takes no path: it erases this user's Recycle Bin on every fixed drive.";
        return;
    }
    if (command.arguments.size() != 1) {
        command.usageError = L"freespace needs one drive, for example D:\\";
        return;
    }
    const std::optional<std::wstring> root = Kestrel::driveRootOf(command.arguments.front());
    if (!root) {
        command.usageError = L"Not a drive: " + command.arguments.front() + L" (give its root, for example D:\\)";
        return;
    }
    command.arguments.front() = *root;
}

} // namespace

ConsoleCommand parseCommand(const std::vector<std::wstring>& words)
{
    if (words.empty())
        return refused(L"No command given.");
    const std::wstring& first = words.front();
    if (sameText(first, kHelpWord) || isHelpOption(first))
        return readHelp(words);
    if (sameText(first, kVersionWord)) {
        ConsoleCommand command;
        command.verb = Verb::Version;
        if (words.size() > 1)
            command.usageError = first + L" takes nothing after it.";
        return command;
    }
    if (isOptionWord(first))
        return optionFirst(words);
    const CommandEntry* entry = commandNamed(first);
    if (!entry)
        return refused(unknownCommand(first));
    ConsoleCommand command;
    command.verb = entry->verb;
    command.topic = entry->verb;
    readOptions(words, *entry, command);
    if (command.verb == entry->verb && command.usageError.empty())
        checkArguments(command);
    return command;
}

std::wstring commandName(std::optional<ConsoleCommand::Verb> verb)
{
    if (!verb || *verb == Verb::Help || *verb == Verb::Version)
        return L"kww";
    return std::wstring(entryOf(*verb).name);
}

std::vector<std::wstring> commandWords()
{
    std::vector<std::wstring> words = Kestrel::commandLineWords(GetCommandLineW());
    if (!words.empty())
        words.erase(words.begin());
    return words;
}
