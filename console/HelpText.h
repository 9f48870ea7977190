#pragma once

#include "console/ConsoleCommand.h"

#include <optional>
#include <string>

// kww's help: the whole text, or one command's part of it (its usage line, what it does, its
// options), each followed by what kww prints and its exit codes.
[[nodiscard]] std::wstring helpText(std::optional<ConsoleCommand::Verb> topic);
