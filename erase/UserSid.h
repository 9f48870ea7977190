#pragma once

#include <windows.h>

#include <string>

// The security identifier of the user this process runs as, as text ("S-1-5-21-..."), read from
// the process's token; empty, with the error, when it cannot be read. Under Wine every user is
// S-1-5-21-0-0-0-1000.
[[nodiscard]] std::wstring currentUserSid(DWORD& error);

// The security identifier of the owner of the item a handle holds (opened with READ_CONTROL), as
// text; empty, with the error, when it cannot be read.
[[nodiscard]] std::wstring ownerSidOf(HANDLE handle, DWORD& error);
