#pragma once

#include <windows.h>

#include <optional>
#include <string>

namespace KestrelTest {

// Under Wine a test can reach the Linux side: Wine maps Windows paths to Unix paths and starts a
// native program given its Unix path through CreateProcessW. That is how tests make what the
// Windows side cannot (symbolic links, mounts). Wine gives no handle to such a process, so the
// shell writes its exit status to a file at its end and the test waits for that file.

// Whether the process runs under Wine.
[[nodiscard]] bool runningUnderWine();

// The Unix path of a Windows path, or an empty string (not under Wine, or no mapping).
[[nodiscard]] std::string unixPathOf(const std::wstring& windowsPath);

struct ShellResult {
    bool finished = false; // the script ended within the bound
    int status = -1;       // its exit status
    std::string output;    // what it wrote to standard output and standard error
};

// Runs the script with /bin/sh on the Linux side and waits for it, at most the bound (the script
// itself is also killed by `timeout` after the bound).
[[nodiscard]] ShellResult runUnixShell(const std::string& script, DWORD timeoutMilliseconds = 60000);

// The text in single quotes for the shell.
[[nodiscard]] std::string shellQuoted(const std::string& text);

} // namespace KestrelTest
