#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace ConsoleTest {

// What one run of the real kww.exe gave back.
struct KwwResult {
    bool ended = false;    // it ended within the bound
    int exitCode = -1;
    std::wstring output;   // standard output, read as UTF-8
    std::wstring error;    // standard error, read as UTF-8
};

// Called once kww has started, before the wait for its end: a test acts on the running process.
using WhileRunning = std::function<void(const PROCESS_INFORMATION& started)>;

// Runs kww.exe as a child process in the folder, with the words as its arguments (each quoted),
// standard input read from a file holding `input`, and standard output and error written to
// files: every handle redirected, as a script runs it. Waits for its end, with a bound.
[[nodiscard]] KwwResult runKww(const std::vector<std::wstring>& words, const std::wstring& folder,
                               const std::string& input = {}, const WhileRunning& whileRunning = {});
// The same with the command line written out after the program's name, as a terminal passes it.
[[nodiscard]] KwwResult runKwwLine(const std::wstring& arguments, const std::wstring& folder,
                                   const std::string& input = {}, const WhileRunning& whileRunning = {});

// The lines of a text, without their "\r\n".
[[nodiscard]] std::vector<std::wstring> linesOf(const std::wstring& text);

} // namespace ConsoleTest
