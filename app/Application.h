#pragma once

#include <windows.h>

#include <functional>

// The instance mutex's name; the main window's caption (kProductName) is how a second instance
// finds the first.
inline constexpr const wchar_t* kInstanceName = L"KestrelWipewell";

// Exit codes of the process besides the main dialog's own (2 after an ordinary close).
inline constexpr int kExitAnotherInstance = -1;
inline constexpr int kExitFailed = 0;

// Start-up after COM, the common controls and the module: the message loop, the instance guard,
// the log file and its writers, the main dialog, and the loop run until the dialog quits. The
// arguments (the command line after the program's name) are paths to add as Waiting rows; a
// second start hands them to the running instance instead. Answers the exit code.
int runApplication(const wchar_t* arguments, int showCommand);

// Runs the body; a standard exception that ends it is reported in the "Sorry. ..." box and
// answers kExitFailed. Other exceptions pass.
int runReportingFailure(const std::function<int()>& body);
