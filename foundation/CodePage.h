#pragma once

#include <windows.h>

#include <string>

namespace Kestrel {

// Text in a code page (CP_UTF8 for the log file and standard output), with the system's
// default replacement for characters the code page lacks. Empty for empty text and for text
// that cannot be converted.
std::string toCodePage(const std::wstring& text, UINT codePage);
std::wstring fromCodePage(const char* text, std::size_t length, UINT codePage);

} // namespace Kestrel
