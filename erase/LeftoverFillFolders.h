#pragma once

#include <string>

// Removes the fill folders that an earlier wipe of the drive left at its root (one killed, or cut
// by a power loss, before it could remove its folder), each proven the program's own, with a
// line each: "Removed an earlier fill folder" or, for a folder of that name that holds anything
// else, "Kept a folder that is not the program's fill folder". The folder of a wipe that runs now
// (in this process or another) is passed over without a line. The root is extended ("\\?\D:\").
void clearLeftoverFillFolders(const std::wstring& root);
