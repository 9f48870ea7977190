#pragma once

#include "erase/FileOverwrite.h"
#include "foundation/UniqueHandle.h"

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

class EraseTask;

// The named data streams of a file or folder (a downloaded file's Zone.Identifier keeps where it
// came from). Each is overwritten, flushed and emptied before the item itself is emptied and
// removed; the item's removal frees them.
class NamedStreams {
public:
    // Lists the streams of the item at path (an extended-length path) and opens each as
    // "<path>:<name>", proving through its handle that it belongs to the item the held handle
    // holds. The caller's handle shares no deletion, so the item keeps its name meanwhile. False
    // when the listing fails ("File not found: ..." and the like), a stream cannot be opened
    // ("Failed to open: <path>:<name>. ") or its name leads to another item ("Skipped link: ...");
    // nothing has been written then.
    [[nodiscard]] bool open(const std::wstring& path, HANDLE item);
    [[nodiscard]] std::uint64_t totalBytes() const noexcept;
    // Overwrites, flushes and empties each stream in turn, then lets it go; a write or flush that
    // fails logs "Failed to write to: <path>:<name>. ".
    [[nodiscard]] OverwriteResult overwrite(const OverwriteBuffer& buffer, EraseTask& task, ProgressMeter& meter);

private:
    struct Stream {
        std::wstring path;
        Kestrel::UniqueFileHandle handle;
        std::uint64_t size = 0;
    };
    std::vector<Stream> streams_;
};

// What the listing of an item's streams gave: their names, or why it failed (ERROR_SUCCESS when
// it did not).
struct StreamListing {
    std::vector<std::wstring> names;
    DWORD error = ERROR_SUCCESS;
};

// Wine lists no streams (FindFirstStreamW fails with ERROR_HANDLE_EOF) even where a
// "<file>:<name>" open reaches a real one, and no file system of Wine's refuses the listing: tests
// give an item's listing here, its names or the listing's error; nullptr asks the file system.
using StreamNamesSource = StreamListing (*)(const std::wstring& path);
void setStreamNamesSourceForTests(StreamNamesSource source) noexcept;
