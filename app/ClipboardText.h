#pragma once

#include <windows.h>

#include <string>

// Puts the text on the clipboard as Unicode text, in place of what it held; false when the
// clipboard could not be opened (another program holds it) or memory is short.
[[nodiscard]] bool copyTextToClipboard(HWND owner, const std::wstring& text);
