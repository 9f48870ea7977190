#pragma once

#include <string>

// The state of one erasing task, as the task list shows it and the finished message carries it.
enum class EraseStatus : int { Waiting = 0, InProgress = 1, Done = 2, Failed = 3, Aborted = 4 };

// "Waiting", "In Progress", "Done", "Failed", "Aborted"; an empty string for any other value.
[[nodiscard]] std::wstring statusText(EraseStatus status);
