#pragma once

#include "foundation/UniqueObject.h"

#include <windows.h>

namespace Kestrel {

namespace UniqueHandleDetail {
inline void closeHandle(HANDLE handle) noexcept { CloseHandle(handle); }
inline void closeSearch(HANDLE search) noexcept { FindClose(search); }
} // namespace UniqueHandleDetail

// The policy of handles that INVALID_HANDLE_VALUE means none of (it is no constant expression,
// so it cannot be a template argument).
template <auto Free>
struct FreedWithInvalidAsNone {
    using Handle = HANDLE;
    static Handle none() noexcept { return INVALID_HANDLE_VALUE; }
    static void free(Handle handle) noexcept { Free(handle); }
};

// Threads, mutexes, events: NULL means none.
using UniqueHandle = UniqueObject<FreedWith<HANDLE, &UniqueHandleDetail::closeHandle>>;
// Files from CreateFileW: INVALID_HANDLE_VALUE means none.
using UniqueFileHandle = UniqueObject<FreedWithInvalidAsNone<&UniqueHandleDetail::closeHandle>>;
// Searches from FindFirstFileW, closed with FindClose: INVALID_HANDLE_VALUE means none.
using UniqueFindHandle = UniqueObject<FreedWithInvalidAsNone<&UniqueHandleDetail::closeSearch>>;

} // namespace Kestrel
