#pragma once

#include "erase/AllocatedRanges.h"
#include "erase/OverwriteBuffer.h"
#include "erase/ReadBackTally.h"

#include <windows.h>

#include <string>

class EraseTask;

// The code a file that did not read back as written fails with: ERROR_DATA_CHECKSUM_ERROR in
// Microsoft's winerror.h ("Data in the file stream is corrupt"), which MinGW's headers lack.
inline constexpr DWORD kReadBackDiffers = 323;

enum class ReadBackOutcome {
    Matched, // every byte read was the byte written
    Differs, // a byte differed, or could not be read: "The overwrite of %s could not be read back as written. "
    Stopped, // a stop request came first
};

struct ReadBackResult {
    ReadBackOutcome outcome;
    ReadBackExtent extent; // how much was read
};

// Reads back, past the system's cache, what overwriteFile wrote over the ranges of the file that
// `written` holds at path (flushed), and compares it with the pattern: the block repeated from the
// start of each range. The read goes through a second handle opened without buffering (what the
// drive returns for those addresses, not the cache's pages) and without recall, proven to hold the
// same file as `written`. Sample reads all of a file of up to 1,000 blocks of 64 KiB and, of a
// larger one, one block at a pseudo-random place in each thousandth of it, as sampled
// verification is usually done. A difference logs the line above with the path.
[[nodiscard]] ReadBackResult readBack(HANDLE written, const std::wstring& path, const ByteRanges& ranges,
                                      const OverwriteBuffer& buffer, VerifyMode mode, const EraseTask& task);

// The same without the line: `error` gets the code of a difference. For the fill of a drive's free
// space, which logs nothing until its files are gone.
[[nodiscard]] ReadBackResult compareWritten(HANDLE written, const std::wstring& path, const ByteRanges& ranges,
                                            const OverwriteBuffer& buffer, VerifyMode mode, const EraseTask& task,
                                            DWORD& error);
// The line of a difference, the code noted for the task: "The overwrite of %s could not be read
// back as written. ".
void reportReadBackDifference(const std::wstring& path, DWORD error);

// Between an overwrite's flush and its read-back nothing but a fault (or another program) changes
// the file: tests change it here. Called with the path just before the read handle is opened;
// nullptr for none.
using BeforeReadBack = void (*)(const std::wstring& path);
void setBeforeReadBackForTests(BeforeReadBack hook) noexcept;
