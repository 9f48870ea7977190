#pragma once

#include <string>

namespace ConsoleTest {

// A record of kww's (JSON Lines) as Python's own JSON parser and SHA-256 read it, which share
// nothing with kww's: one line per record line, "run", "<seq> <result> <error code> <verified>
// <read_back>" for an item (None for a null; then how many lines its contents has, if it has
// them), "summary"; then, after a summary, "hash True" when its sha256 is
// the hash of every earlier line. A line that does not parse gives the parser's complaint.
[[nodiscard]] std::string checkedRecord(const std::wstring& file);

} // namespace ConsoleTest
