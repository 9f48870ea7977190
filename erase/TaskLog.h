#pragma once

#include "erase/EraseTask.h"

// The lines every runner of tasks (the window, the console program) writes about a task it
// starts, stops and sees end, in the words that suit its kind.
void logTaskStarted(const EraseTask& task);
void logTaskStopRequested(const EraseTask& task);
// The line of the task's final status (Done, Aborted or Failed), then its warning's line, if it
// has one; nothing for any other status.
void logTaskOutcome(const EraseTask& task);
