#pragma once

#include <string>
#include <vector>

// kww: the words after the program's name in, the exit code out (see ExitCode.h). Results and
// previews go to standard output; refusals, usage errors and progress to standard error; the
// question and its list to the console's screen.
[[nodiscard]] int runConsoleProgram(const std::vector<std::wstring>& words);
