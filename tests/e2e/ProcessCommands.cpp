#include "tests/e2e/ProcessCommands.h"

#include <cwchar>

namespace E2E {

namespace {

Kestrel::UniqueHandle launch(const std::wstring& program)
{
    std::wstring commandLine = L"\"" + program + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process))
        return {};
    CloseHandle(process.hThread);
    return Kestrel::UniqueHandle(process.hProcess);
}

// Waits for the end of the process while this thread goes on answering its own window.
bool waitForExit(HANDLE process, DWORD boundMilliseconds, DWORD& exitCode)
{
    const bool ended = waitUntil(boundMilliseconds, [process] { return WaitForSingleObject(process, 0) == WAIT_OBJECT_0; });
    return ended && GetExitCodeProcess(process, &exitCode);
}

bool expectExitCode(HANDLE process, const std::wstring& expected, DWORD boundMilliseconds)
{
    DWORD exitCode = 0;
    if (!waitForExit(process, boundMilliseconds, exitCode))
        return fail(L"the program did not end within %lu ms", boundMilliseconds);
    const long wanted = std::wcstol(expected.c_str(), nullptr, 10);
    // Exit codes are compared as the 8 bits a Linux parent sees (-1 is 255).
    if ((exitCode & 0xFF) != (static_cast<unsigned long>(wanted) & 0xFF))
        return fail(L"exit code %ld, expected %ld", static_cast<long>(exitCode), wanted);
    return true;
}

} // namespace

bool startProgram(DriverState& state, Arguments arguments)
{
    state.program = launch(arguments[0]);
    if (!state.program)
        return fail(L"cannot start %ls (error %lu)", arguments[0].c_str(), GetLastError());
    return true;
}

bool runProgram(DriverState& state, Arguments arguments)
{
    const Kestrel::UniqueHandle process = launch(arguments[0]);
    if (!process)
        return fail(L"cannot start %ls (error %lu)", arguments[0].c_str(), GetLastError());
    return expectExitCode(process.get(), arguments[1], state.boundMilliseconds);
}

bool expectExit(DriverState& state, Arguments arguments)
{
    if (!state.program)
        return fail(L"no program was started");
    return expectExitCode(state.program.get(), arguments[0], state.boundMilliseconds);
}

void endProgram(DriverState& state) noexcept
{
    if (state.program && WaitForSingleObject(state.program.get(), 0) == WAIT_TIMEOUT)
        TerminateProcess(state.program.get(), 1);
}

} // namespace E2E
