#pragma once

// Windows may show a sync client's placeholders to a process as ordinary files ("disguised": no
// reparse point, no sparse, offline or recall attribute), and an online-only file would then be
// opened for its data and downloaded, only for the download to be overwritten. Both programs ask,
// at their start, to see every placeholder as it is. The call is ntdll's, looked up at run time:
// Windows before 10 1803 lacks it (and disguises nothing), and so does Wine.
void exposeCloudPlaceholders() noexcept;
