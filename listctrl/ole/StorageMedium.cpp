#include "listctrl/ole/StorageMedium.h"

#include "foundation/KeepLastError.h"
#include "listctrl/ole/GlobalMemory.h"

#include <ole2.h>

#include <cwchar>

namespace Kestrel {

namespace {

// The copy of a path that a TYMED_FILE medium carries, in task memory as the receiver expects.
wchar_t* copyFileName(const wchar_t* name) noexcept
{
    if (!name)
        return nullptr;
    const std::size_t bytes = (std::wcslen(name) + 1) * sizeof(wchar_t);
    auto* copy = static_cast<wchar_t*>(CoTaskMemAlloc(bytes));
    if (copy)
        std::wmemcpy(copy, name, bytes / sizeof(wchar_t));
    return copy;
}

// Copies what a medium refers to into copy; false when memory is short.
bool copyContents(const STGMEDIUM& medium, CLIPFORMAT format, STGMEDIUM& copy) noexcept
{
    switch (medium.tymed) {
    case TYMED_NULL:
        return true;
    case TYMED_HGLOBAL:
        copy.hGlobal = duplicateGlobalMemory(medium.hGlobal).release();
        return copy.hGlobal != nullptr;
    case TYMED_FILE:
        copy.lpszFileName = copyFileName(medium.lpszFileName);
        return copy.lpszFileName != nullptr;
    case TYMED_ISTREAM:
    case TYMED_ISTORAGE:
        // Both are interface pointers in the same place of the union.
        if (medium.pstm)
            medium.pstm->AddRef();
        copy.pstm = medium.pstm;
        return true;
    case TYMED_GDI:
    case TYMED_MFPICT:
    case TYMED_ENHMF:
        copy.hGlobal = OleDuplicateData(medium.hGlobal, format, 0);
        return copy.hGlobal != nullptr;
    default:
        return false;
    }
}

} // namespace

StorageMedium StorageMedium::duplicate(const STGMEDIUM& medium, CLIPFORMAT format, HRESULT* result) noexcept
{
    STGMEDIUM copy{};
    copy.tymed = medium.tymed;
    if (!copyContents(medium, format, copy)) {
        if (result)
            *result = medium.tymed <= TYMED_ENHMF ? E_OUTOFMEMORY : DV_E_TYMED;
        return {};
    }
    if (result)
        *result = S_OK;
    return StorageMedium(copy);
}

bool StorageMedium::empty() const noexcept
{
    return medium_.tymed == TYMED_NULL || (medium_.tymed == TYMED_HGLOBAL && !medium_.hGlobal);
}

void StorageMedium::reset() noexcept
{
    if (medium_.tymed != TYMED_NULL) {
        KeepLastError keep;
        ReleaseStgMedium(&medium_);
    }
    medium_ = STGMEDIUM{};
}

} // namespace Kestrel
