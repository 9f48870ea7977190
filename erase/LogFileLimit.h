#pragma once

#include <string>

// Cuts KWW.log at start-up: a log that has reached its limit is emptied whole (no rotation, no
// backup), a smaller one is kept and appended to, a missing one is created empty. The log is a
// list of erased names, so the cut part is overwritten with the fill and flushed before the file
// is emptied: emptied alone, its lines would stay readable in the drive's free space. Failures
// are logged by the file layer.
void limitLogFile(const std::wstring& path);
