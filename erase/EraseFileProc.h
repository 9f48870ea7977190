#pragma once

#include <windows.h>

// Worker of a file task: overwrites the whole file once, flushes it, empties it, moves it to a
// meaningless name and deletes it. The argument is the running EraseTask.
DWORD WINAPI eraseFileProc(LPVOID parameter) noexcept;
