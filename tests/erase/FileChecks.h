#pragma once

#include "tests/support/SparseFile.h"

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

// Small file-system probes the erase tests share.

using KestrelTest::writeSparse;

[[nodiscard]] bool exists(const std::wstring& path);
// The names in a folder, without "." and "..", in the order the file system gives them.
[[nodiscard]] std::vector<std::wstring> namesIn(const std::wstring& folder);
// A recognisable content of the given length: numbered lines of a fixed text.
[[nodiscard]] std::string recognisableBytes(std::size_t size, const std::string& tag = "old content");
// Writes the bytes and flushes them to the disk.
[[nodiscard]] bool writeFlushed(const std::wstring& path, const std::string& bytes);
