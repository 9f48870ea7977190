#pragma once

#include <cstdint>
#include <string>

// The platform's floor for a folder task: the same calls per file as the engine's disposal (open
// once, overwrite in 64 KiB writes, flush, empty, rename to "KestrelWipewell.<n>", delete on
// close) and a plain removal per folder, deepest first, without any of the engine's checks, its
// listing, its log or its progress. For the benchmark only: it follows links and spares nothing.
// Answers how many items went.
std::uint64_t eraseBare(const std::wstring& folder);
