// erase_test_file_holder <file> <ready event> <release event>
// Opens the file with no sharing, signals the ready event, and keeps the file open until the
// release event is signalled (at most two minutes). Exit code 0 when it held the file, 1 otherwise.
#include "foundation/UniqueHandle.h"

#include <windows.h>

namespace {
constexpr DWORD kLongestHoldMilliseconds = 120000;
}

int wmain(int argc, wchar_t** argv)
{
    if (argc != 4)
        return 1;
    const Kestrel::UniqueHandle ready(OpenEventW(EVENT_MODIFY_STATE, FALSE, argv[2]));
    const Kestrel::UniqueHandle release(OpenEventW(SYNCHRONIZE, FALSE, argv[3]));
    const Kestrel::UniqueFileHandle file(
        CreateFileW(argv[1], GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    if (!ready || !release || !file)
        return 1;
    SetEvent(ready.get());
    WaitForSingleObject(release.get(), kLongestHoldMilliseconds);
    return 0;
}
