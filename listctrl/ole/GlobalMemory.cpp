#include "listctrl/ole/GlobalMemory.h"

#include "foundation/KeepLastError.h"

#include <cstring>

namespace Kestrel {

GlobalMemory copyToGlobalMemory(const void* bytes, std::size_t size) noexcept
{
    GlobalMemory copy(GlobalAlloc(GMEM_MOVEABLE, size));
    const GlobalLockScope target(copy.get());
    if (!target)
        return {};
    if (size)
        std::memcpy(target.data(), bytes, size);
    return copy;
}

GlobalMemory duplicateGlobalMemory(HGLOBAL block) noexcept
{
    const GlobalLockScope source(block);
    if (!source)
        return {};
    return copyToGlobalMemory(source.data(), source.size());
}

GlobalLockScope::~GlobalLockScope()
{
    if (data_) {
        KeepLastError keep;
        GlobalUnlock(block_);
    }
}

} // namespace Kestrel
