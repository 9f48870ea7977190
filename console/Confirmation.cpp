#include "console/Confirmation.h"

#include "console/StandardStream.h"
#include "console/StopRequest.h"
#include "foundation/NeverDestroyed.h"
#include "foundation/UniqueHandle.h"

#include <windows.h>

#include <algorithm>
#include <cwctype>
#include <optional>

namespace {

// An answer longer than this is no "yes" anyway; the rest of the line is left unread.
constexpr DWORD kLongestAnswer = 64; // characters

// Ctrl+C ends the console's read on Windows, with nothing read, while the system calls the
// handler on a thread of its own: the stop may be a moment behind the read's end.
constexpr DWORD kHandlerBound = 2000; // milliseconds

// The answer is read on a thread of its own, for Wine: there a Ctrl+C at the question reaches the
// handler but leaves the console's read waiting. The question then ends by the stop, and the read
// is left to the process's end: its record lives as long as the process.
struct AnswerRead {
    Kestrel::UniqueHandle done{CreateEventW(nullptr, TRUE, FALSE, nullptr)};
    wchar_t line[kLongestAnswer]{};
    DWORD length = 0;
};

AnswerRead& answerRead()
{
    static Kestrel::NeverDestroyed<AnswerRead> read;
    return read.get();
}

DWORD WINAPI readAnswer(LPVOID) noexcept
{
    AnswerRead& read = answerRead();
    if (!ReadConsoleW(GetStdHandle(STD_INPUT_HANDLE), read.line, kLongestAnswer, &read.length, nullptr))
        read.length = 0;
    SetEvent(read.done.get());
    return 0;
}

// The line typed, or nothing when a stop came first (or no thread could read).
std::optional<std::wstring> answerLine(const StopRequest& stop)
{
    AnswerRead& read = answerRead();
    const Kestrel::UniqueHandle reader(CreateThread(nullptr, 0, readAnswer, nullptr, 0, nullptr));
    if (!reader || !read.done)
        return std::wstring();
    const HANDLE ends[] = {read.done.get(), stop.event()};
    if (WaitForMultipleObjects(2, ends, FALSE, INFINITE) != WAIT_OBJECT_0)
        return std::nullopt;
    return std::wstring(read.line, read.length);
}

std::wstring trimmedLower(const std::wstring& text)
{
    const std::size_t first = text.find_first_not_of(L" \t\r\n");
    if (first == std::wstring::npos)
        return {};
    const std::size_t last = text.find_last_not_of(L" \t\r\n");
    std::wstring word = text.substr(first, last - first + 1);
    for (wchar_t& character : word)
        character = static_cast<wchar_t>(std::towlower(character));
    return word;
}

} // namespace

Answer ask(const std::wstring& question, const std::vector<std::wstring>& accepted, const StandardStream& screen,
           const StopRequest& stop)
{
    screen.write(question);
    const std::optional<std::wstring> line = answerLine(stop);
    // A line typed to its end carries its line break; a read without one was cut short.
    const bool cutShort = line && line->find(L'\n') == std::wstring::npos;
    if (!line || stop.requested() ||
        (cutShort && WaitForSingleObject(stop.event(), kHandlerBound) == WAIT_OBJECT_0)) {
        screen.write(L"\r\n");
        return Answer::Stopped;
    }
    const std::wstring answer = trimmedLower(*line);
    return std::find(accepted.begin(), accepted.end(), answer) != accepted.end() ? Answer::Yes : Answer::No;
}
