#include "tests/e2e/DialogCommands.h"
#include "tests/e2e/DriverCommand.h"
#include "tests/e2e/FileCommands.h"
#include "tests/e2e/ProcessCommands.h"
#include "tests/e2e/ScreenshotCommands.h"
#include "tests/e2e/WindowCommands.h"

#include <cstdarg>
#include <cstdio>

namespace E2E {

namespace {

constexpr DriverCommand kCommands[] = {
    {L"start", 1, L"start PROGRAM: starts the program and goes on", startProgram},
    {L"start-in", 2, L"start-in FOLDER LINE: starts the command line (program and arguments) in FOLDER", startIn},
    {L"start-together", 2,
     L"start-together CODE LINES: starts the command lines (a|b|c) at once; all but one end with CODE, the one left "
     L"is the started program",
     startTogether},
    {L"run", 2, L"run PROGRAM CODE: runs the program to its end; its exit code must be CODE", runProgram},
    {L"run-line", 2, L"run-line LINE CODE: runs the command line to its end; its exit code must be CODE", runLine},
    {L"expect-exit", 1, L"expect-exit CODE: the started program ends with exit code CODE", expectExit},
    {L"wait-window", 1, L"wait-window CAPTION: a visible window with the caption appears", waitWindow},
    {L"expect-windows", 2, L"expect-windows CAPTION COUNT: exactly COUNT visible windows have the caption",
     expectWindows},
    {L"minimize", 1, L"minimize CAPTION: minimises the window", minimizeWindow},
    {L"take-front", 0, L"take-front: shows a window of the driver's own and makes it the foreground one",
     takeFront},
    {L"expect-front", 1, L"expect-front CAPTION: the window is restored and the foreground window", expectFront},
    {L"command", 2, L"command CAPTION ID: posts the command ID to the window, as its button or key would",
     postCommand},
    {L"add-files", 3,
     L"add-files CAPTION FOLDER NAMES: \"Add File...\", then the folder and the names (a.txt|b.txt) typed into the "
     L"open-file dialog",
     addFiles},
    {L"add-folder", 2, L"add-folder CAPTION FOLDER: \"Add Folder...\", then the folder selected in the browser",
     addFolder},
    {L"answer", 3, L"answer CAPTION TEXT ID: a message box with the caption and text appears; presses button ID",
     answerBox},
    {L"wait-gone", 1, L"wait-gone PATH: the file or folder disappears", waitGone},
    {L"wait-log", 1, L"wait-log TEXT: the program's log holds the text", waitLog},
    {L"hold", 1, L"hold PATH: keeps the file open without sharing until the driver ends", holdFile},
    {L"click", 4, L"click CAPTION ID X Y: a left click on the window's control ID at X, Y (its client coordinates)",
     clickControl},
    {L"pause", 1, L"pause MS: waits (for pictures only)", pause},
    {L"capture", 2, L"capture CAPTION FILE: writes what the screen shows of the window as a BMP file", captureWindow},
    {L"documents-folder", 0, L"documents-folder: writes the user's Documents folder to standard output",
     printDocumentsFolder},
};

const DriverCommand* findCommand(const std::wstring& name)
{
    for (const DriverCommand& command : kCommands) {
        if (name == command.name)
            return &command;
    }
    return nullptr;
}

int usage()
{
    std::fwprintf(stderr, L"usage: kww_e2e_driver STEP [-- STEP]...\nsteps:\n");
    for (const DriverCommand& command : kCommands)
        std::fwprintf(stderr, L"  %ls\n", command.usage);
    return 2;
}

bool runStep(DriverState& state, Arguments step)
{
    const DriverCommand* command = findCommand(step.front());
    if (!command)
        return fail(L"unknown step %ls", step.front().c_str());
    const Arguments arguments = step.subspan(1);
    if (arguments.size() != command->argumentCount)
        return fail(L"wrong arguments: %ls", command->usage);
    std::fwprintf(stdout, L"step: %ls\n", step.front().c_str());
    std::fflush(stdout);
    return command->run(state, arguments);
}

} // namespace

bool fail(const wchar_t* format, ...)
{
    std::va_list arguments;
    va_start(arguments, format);
    std::fwprintf(stderr, L"FAILED: ");
    std::vfwprintf(stderr, format, arguments);
    std::fwprintf(stderr, L"\n");
    va_end(arguments);
    return false;
}

} // namespace E2E

int wmain(int argc, wchar_t** argv)
{
    const std::vector<std::wstring> words(argv + 1, argv + argc);
    if (words.empty())
        return E2E::usage();
    E2E::DriverState state;
    std::size_t begin = 0;
    while (begin < words.size()) {
        std::size_t end = begin;
        while (end < words.size() && words[end] != L"--")
            ++end;
        if (end == begin)
            return E2E::usage();
        if (!E2E::runStep(state, E2E::Arguments(words).subspan(begin, end - begin))) {
            E2E::endProgram(state);
            return 1;
        }
        begin = end + 1;
    }
    return 0;
}
