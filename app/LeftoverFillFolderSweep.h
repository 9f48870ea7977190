#pragma once

#include "foundation/UniqueHandle.h"

// At the window program's start, removes the fill folders that earlier free-space wipes left on
// the fixed drives (a wipe cut by a power loss leaves its folder and a full drive), each proven
// the program's own and logged (erase/LeftoverFillFolders.h); a folder that a running wipe holds
// is passed over. A drive may be slow to answer, so the work runs on a thread of its own, which
// the window never waits for; the object waits a few seconds for it when it goes, and a sweep
// still held by a drive then ends with the process.
// Made after the log's writers, by the first instance only.
class LeftoverFillFolderSweep {
public:
    LeftoverFillFolderSweep();
    ~LeftoverFillFolderSweep();
    LeftoverFillFolderSweep(const LeftoverFillFolderSweep&) = delete;
    LeftoverFillFolderSweep& operator=(const LeftoverFillFolderSweep&) = delete;

private:
    Kestrel::UniqueHandle thread_;
};
