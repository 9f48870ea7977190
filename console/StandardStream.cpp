#include "console/StandardStream.h"

#include "foundation/CodePage.h"

#include <algorithm>

namespace {

// WriteConsoleW refuses very long writes on older consoles (its buffer is 64 KiB).
constexpr std::size_t kConsoleChunk = 8192; // characters

bool isConsoleHandle(HANDLE handle) noexcept
{
    DWORD mode = 0;
    return handle != nullptr && handle != INVALID_HANDLE_VALUE && GetConsoleMode(handle, &mode) != FALSE;
}

} // namespace

StandardStream::StandardStream(DWORD which) noexcept : StandardStream(GetStdHandle(which))
{
}

StandardStream::StandardStream(HANDLE handle) noexcept : handle_(handle), console_(isConsoleHandle(handle))
{
}

void StandardStream::write(const std::wstring& text) const
{
    if (handle_ == nullptr || handle_ == INVALID_HANDLE_VALUE || text.empty())
        return;
    if (console_) {
        for (std::size_t at = 0; at < text.size(); at += kConsoleChunk) {
            const std::size_t count = std::min(kConsoleChunk, text.size() - at);
            DWORD written = 0;
            if (!WriteConsoleW(handle_, text.data() + at, static_cast<DWORD>(count), &written, nullptr))
                return;
        }
        return;
    }
    const std::string bytes = Kestrel::toCodePage(text, CP_UTF8);
    // A pipe may take fewer bytes than offered.
    for (std::size_t at = 0; at < bytes.size();) {
        DWORD written = 0;
        if (!WriteFile(handle_, bytes.data() + at, static_cast<DWORD>(bytes.size() - at), &written, nullptr) ||
            written == 0)
            return;
        at += written;
    }
}

int StandardStream::width() const noexcept
{
    CONSOLE_SCREEN_BUFFER_INFO info;
    if (!console_ || !GetConsoleScreenBufferInfo(handle_, &info))
        return 0;
    return info.srWindow.Right - info.srWindow.Left + 1;
}

Kestrel::UniqueFileHandle openConsoleScreen() noexcept
{
    constexpr DWORD kShared = FILE_SHARE_READ | FILE_SHARE_WRITE;
    return Kestrel::UniqueFileHandle(
        CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE, kShared, nullptr, OPEN_EXISTING, 0, nullptr));
}

bool inputIsConsole() noexcept
{
    return isConsoleHandle(GetStdHandle(STD_INPUT_HANDLE));
}
