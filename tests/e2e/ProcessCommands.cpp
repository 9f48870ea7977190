#include "tests/e2e/ProcessCommands.h"

#include <algorithm>
#include <cwchar>
#include <sstream>
#include <vector>

namespace E2E {

namespace {

// A whole command line, as Explorer starts a verb's: the program is its first word. An empty
// folder keeps the driver's current folder.
Kestrel::UniqueHandle launchLine(std::wstring commandLine, const std::wstring& folder = {})
{
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        folder.empty() ? nullptr : folder.c_str(), &startup, &process))
        return {};
    CloseHandle(process.hThread);
    return Kestrel::UniqueHandle(process.hProcess);
}

Kestrel::UniqueHandle launch(const std::wstring& program)
{
    return launchLine(L"\"" + program + L"\"");
}

// "a|b|c" as its parts.
std::vector<std::wstring> splitAtBars(const std::wstring& list)
{
    std::vector<std::wstring> parts;
    std::wstringstream stream(list);
    for (std::wstring part; std::getline(stream, part, L'|');)
        parts.push_back(part);
    return parts;
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

bool startIn(DriverState& state, Arguments arguments)
{
    state.program = launchLine(arguments[1], arguments[0]);
    if (!state.program)
        return fail(L"cannot start %ls in %ls (error %lu)", arguments[1].c_str(), arguments[0].c_str(), GetLastError());
    return true;
}

bool runLine(DriverState& state, Arguments arguments)
{
    const Kestrel::UniqueHandle process = launchLine(arguments[0]);
    if (!process)
        return fail(L"cannot start %ls (error %lu)", arguments[0].c_str(), GetLastError());
    return expectExitCode(process.get(), arguments[1], state.boundMilliseconds);
}

// Every process is started before any is waited for, as Explorer starts a verb for each selected
// item. The one that stays becomes the started program.
bool startTogether(DriverState& state, Arguments arguments)
{
    std::vector<Kestrel::UniqueHandle> processes;
    for (const std::wstring& line : splitAtBars(arguments[1])) {
        processes.push_back(launchLine(line));
        if (!processes.back())
            return fail(L"cannot start %ls (error %lu)", line.c_str(), GetLastError());
    }
    const auto running = [&processes] {
        return std::count_if(processes.begin(), processes.end(), [](const Kestrel::UniqueHandle& process) {
            return WaitForSingleObject(process.get(), 0) == WAIT_TIMEOUT;
        });
    };
    if (!waitUntil(state.boundMilliseconds, [&running] { return running() <= 1; }) || running() != 1)
        return fail(L"%d of the processes still run, or none, after %lu ms", static_cast<int>(running()),
                    state.boundMilliseconds);
    for (Kestrel::UniqueHandle& process : processes) {
        if (WaitForSingleObject(process.get(), 0) == WAIT_TIMEOUT)
            state.program = std::move(process);
        else if (!expectExitCode(process.get(), arguments[0], 0))
            return false;
    }
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
