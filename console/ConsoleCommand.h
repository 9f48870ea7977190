#pragma once

#include "erase/ReadBackTally.h"

#include <optional>
#include <string>
#include <vector>

// What the words of kww's command line ask for.
struct ConsoleCommand {
    enum class Verb { Help, Version, Erase, FreeSpace, RecycleBin };

    Verb verb = Verb::Help;
    // For help: the command whose part is asked for; none for the whole text. For a usage error:
    // the command the words name, whose help the error points to.
    std::optional<Verb> topic;
    bool yes = false;     // --yes: erase without asking
    bool preview = false; // --preview: show what would go, change nothing
    bool json = false;                      // --json: JSON Lines on standard output instead of text
    std::optional<std::wstring> reportPath; // --report FILE: the same lines to a new file
    VerifyMode verify = VerifyMode::Sample; // --verify sample|all|off: how much is read back
    // The paths of erase, or the one drive root ("D:\\") of freespace; none for recyclebin.
    std::vector<std::wstring> arguments;
    // Why the words are no command; empty when they are one.
    std::wstring usageError;
};

// Reads the words after the program's name: the command (in any case), then its options and
// paths. Before "--" every word that starts with '-' or '/' is an option, read from the command's
// own table ("--yes", "-y", "/y" and "/yes" alike); one it does not know is a usage error, and so
// is an option before the command. A help option anywhere before "--" asks for the command's help.
[[nodiscard]] ConsoleCommand parseCommand(const std::vector<std::wstring>& words);

// The name a command is typed by ("erase"); "kww" for the program's own help.
[[nodiscard]] std::wstring commandName(std::optional<ConsoleCommand::Verb> verb);

// The words after the program's name in this process's command line, split as Windows splits
// it (CommandLineToArgvW), so that "D:\" typed or filled in by Explorer arrives as D:".
[[nodiscard]] std::vector<std::wstring> commandWords();
