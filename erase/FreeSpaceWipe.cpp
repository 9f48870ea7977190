#include "erase/FreeSpaceWipe.h"

WorkerOutcome wipeFreeSpace(EraseTask&)
{
    return {EraseStatus::Failed, kEarlyFailureExitCode};
}
