#include "listctrl/GlobalMemory.h"

#include "foundation/KeepLastError.h"

#include <cstring>

namespace Kestrel {

GlobalMemory GlobalMemory::copyOf(const void* bytes, std::size_t size) noexcept
{
    GlobalMemory copy(GlobalAlloc(GMEM_MOVEABLE, size));
    const GlobalLockScope target(copy.get());
    if (!target)
        return {};
    if (size)
        std::memcpy(target.data(), bytes, size);
    return copy;
}

GlobalMemory GlobalMemory::duplicate(HGLOBAL block) noexcept
{
    const GlobalLockScope source(block);
    if (!source)
        return {};
    return copyOf(source.data(), source.size());
}

void GlobalMemory::reset(HGLOBAL block) noexcept
{
    const HGLOBAL old = std::exchange(block_, block);
    if (old && old != block) {
        KeepLastError keep;
        GlobalFree(old);
    }
}

GlobalLockScope::~GlobalLockScope()
{
    if (data_) {
        KeepLastError keep;
        GlobalUnlock(block_);
    }
}

} // namespace Kestrel
