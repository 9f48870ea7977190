#pragma once

#include <windows.h>

// Worker of a folder task: lists the tree, then erases it deepest item first, every file as the
// file routine does and every folder by moving and removing it, the task folder last (a drive
// root is emptied but kept). The argument is the running EraseTask.
DWORD WINAPI eraseFolderProc(LPVOID parameter) noexcept;
