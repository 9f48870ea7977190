#pragma once

// KWW.log as the window keeps it: in the per-user data folder, emptied at start once it has
// reached its limit, the same lines appended. Standard output is not among the writers, as it
// is the window's: here it carries the result lines a script reads.
void setUpConsoleLog();
