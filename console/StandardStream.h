#pragma once

#include "foundation/UniqueHandle.h"

#include <windows.h>

#include <string>

// Standard output or standard error. On a console the text goes out as UTF-16 through
// WriteConsoleW, whatever the console's code page; redirected, as UTF-8 bytes, so that no name
// is lost to the ANSI code page either way.
class StandardStream {
public:
    // STD_OUTPUT_HANDLE or STD_ERROR_HANDLE.
    explicit StandardStream(DWORD which) noexcept;
    // Any other handle to write text to, borrowed for the object's life.
    explicit StandardStream(HANDLE handle) noexcept;

    [[nodiscard]] bool isConsole() const noexcept { return console_; }
    void write(const std::wstring& text) const;
    // The text and a line end ("\r\n").
    void writeLine(const std::wstring& text) const { write(text + L"\r\n"); }
    // The visible width of the console's window in characters; 0 when redirected.
    [[nodiscard]] int width() const noexcept;

private:
    HANDLE handle_;
    bool console_;
};

// The console's own screen ("CONOUT$"), whatever standard output and error were redirected to;
// none when the process has no console.
[[nodiscard]] Kestrel::UniqueFileHandle openConsoleScreen() noexcept;

// Whether standard input is a console that a question can be asked on (not a file or a pipe).
[[nodiscard]] bool inputIsConsole() noexcept;
