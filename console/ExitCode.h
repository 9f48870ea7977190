#pragma once

// What kww tells the script that ran it.
enum class ExitCode : int {
    Done = 0,    // every item done (or help, version, a preview that found every item)
    Failed = 1,  // at least one item failed, or an argument named nothing
    Refused = 2, // bad usage, a declined question, or no console to ask and no --yes
    Stopped = 3, // Ctrl+C, Ctrl+Break, the console's close or the session's end stopped the run
};
