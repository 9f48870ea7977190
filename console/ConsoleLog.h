#pragma once

class FailureReason;

// KWW.log as the window keeps it: in the per-user data folder, emptied at start once it has
// reached its limit, the same lines appended. Standard output is not among the writers, as it
// is the window's: here it carries the result lines a script reads. The logger also gets the
// writer that keeps each item's failure reason, and owns it, as every writer, to the end.
[[nodiscard]] FailureReason& setUpConsoleLog();
