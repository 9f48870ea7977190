#include "tests/console/KwwProcess.h"

#include "foundation/CodePage.h"
#include "foundation/UniqueHandle.h"
#include "tests/support/ScratchFolder.h"

#include <windows.h>

namespace ConsoleTest {

namespace {

// An erase of a few small files takes well under a second; a hung child must not hang the suite.
constexpr DWORD kRunBound = 60000; // milliseconds

// The program beside the suite in the build tree, named by the build (a Linux path under Wine,
// whose Z: is the Linux root).
std::wstring programPath()
{
    std::wstring path = L"Z:";
    for (const char character : std::string(KWW_CONSOLE_EXE))
        path += character == '/' ? L'\\' : static_cast<wchar_t>(character);
    return path;
}

Kestrel::UniqueFileHandle inheritedFile(const std::wstring& path, DWORD access, DWORD disposition)
{
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    return Kestrel::UniqueFileHandle(CreateFileW(path.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit,
                                                 disposition, FILE_ATTRIBUTE_NORMAL, nullptr));
}

std::wstring utf8Text(const std::string& bytes)
{
    return Kestrel::fromCodePage(bytes.data(), bytes.size(), CP_UTF8);
}

} // namespace

KwwResult runKwwLine(const std::wstring& arguments, const std::wstring& folder, const std::string& input,
                     const WhileRunning& whileRunning)
{
    KwwResult result;
    const KestrelTest::ScratchFolder files;
    if (!KestrelTest::writeFile(files / L"input", input))
        return result;
    {
        const Kestrel::UniqueFileHandle in = inheritedFile(files / L"input", GENERIC_READ, OPEN_EXISTING);
        const Kestrel::UniqueFileHandle out = inheritedFile(files / L"output", GENERIC_WRITE, CREATE_ALWAYS);
        const Kestrel::UniqueFileHandle error = inheritedFile(files / L"error", GENERIC_WRITE, CREATE_ALWAYS);
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdInput = in.get();
        startup.hStdOutput = out.get();
        startup.hStdError = error.get();
        const std::wstring program = programPath();
        std::wstring commandLine = L"\"" + program + L"\" " + arguments;
        PROCESS_INFORMATION started{};
        // No console at all: the child is a script's child, and no console window appears.
        if (!CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, TRUE, DETACHED_PROCESS, nullptr,
                            folder.c_str(), &startup, &started))
            return result;
        const Kestrel::UniqueHandle thread(started.hThread);
        const Kestrel::UniqueHandle process(started.hProcess);
        if (whileRunning)
            whileRunning(started);
        result.ended = WaitForSingleObject(process.get(), kRunBound) == WAIT_OBJECT_0;
        DWORD exitCode = 0;
        if (result.ended && GetExitCodeProcess(process.get(), &exitCode))
            result.exitCode = static_cast<int>(exitCode);
        if (!result.ended)
            TerminateProcess(process.get(), 1);
    }
    result.output = utf8Text(KestrelTest::readFile(files / L"output"));
    result.error = utf8Text(KestrelTest::readFile(files / L"error"));
    return result;
}

KwwResult runKww(const std::vector<std::wstring>& words, const std::wstring& folder, const std::string& input,
                 const WhileRunning& whileRunning)
{
    std::wstring arguments;
    for (const std::wstring& word : words)
        arguments += (arguments.empty() ? L"\"" : L" \"") + word + L"\"";
    return runKwwLine(arguments, folder, input, whileRunning);
}

std::vector<std::wstring> linesOf(const std::wstring& text)
{
    std::vector<std::wstring> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find(L"\r\n", start);
        if (end == std::wstring::npos)
            end = text.size();
        lines.push_back(text.substr(start, end - start));
        start = end + 2;
    }
    return lines;
}

} // namespace ConsoleTest
