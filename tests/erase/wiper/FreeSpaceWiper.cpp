// erase_test_free_space_wiper <drive root>
// Wipes the drive's free space in this process, so that a test can kill it part-way. Exit code 0
// when the wipe was done, 1 otherwise.
#include "erase/FreeSpaceWipe.h"

int wmain(int argc, wchar_t** argv)
{
    if (argc != 2)
        return 1;
    EraseTask task(ItemKind::FreeSpace, argv[1], EraseStatus::InProgress);
    return wipeFreeSpace(task).status == EraseStatus::Done ? 0 : 1;
}
