#include "console/ConsoleCommand.h"
#include "console/ConsoleProgram.h"
#include "erase/PlaceholderExposure.h"

#include <windows.h>

#include <exception>

// A standard exception (out of memory) ends the run with a word on standard error; the items
// already done stay done, and their lines have been written.
int wmain(int, wchar_t**)
{
    exposeCloudPlaceholders();
    try {
        return runConsoleProgram(commandWords());
    } catch (const std::exception&) {
        const HANDLE error = GetStdHandle(STD_ERROR_HANDLE);
        DWORD written = 0;
        static const char kFailure[] = "kww: an unexpected error ended the run.\r\n";
        WriteFile(error, kFailure, sizeof kFailure - 1, &written, nullptr);
        return 1;
    }
}
