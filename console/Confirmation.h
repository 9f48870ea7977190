#pragma once

#include <string>
#include <vector>

class StandardStream;
class StopRequest;

enum class Answer { Yes, No, Stopped };

// The question on the console's screen, answered on the console's input: Yes for one of the
// accepted answers (in lower case; any case and blanks around are allowed), No for anything else,
// an empty line, or input that ends; Stopped when Ctrl+C or Ctrl+Break came meanwhile. Asked once
// in a process: a read that a stop cut short is left waiting.
[[nodiscard]] Answer ask(const std::wstring& question, const std::vector<std::wstring>& accepted,
                         const StandardStream& screen, const StopRequest& stop);
