#include "listctrl/ole/CEnumFormatEtc.h"

#include <algorithm>

namespace Kestrel {

HRESULT CEnumFormatEtc::Next(ULONG count, FORMATETC* formats, ULONG* fetched) noexcept
{
    // Only a request for one format may leave the count out.
    if (!formats || (!fetched && count != 1))
        return E_INVALIDARG;
    const ULONG available = static_cast<ULONG>(formats_.size()) - std::min<ULONG>(position_, formats_.size());
    const ULONG taken = std::min(count, available);
    std::copy_n(formats_.begin() + position_, taken, formats);
    position_ += taken;
    if (fetched)
        *fetched = taken;
    return taken == count ? S_OK : S_FALSE;
}

HRESULT CEnumFormatEtc::Skip(ULONG count) noexcept
{
    const ULONG available = static_cast<ULONG>(formats_.size()) - std::min<ULONG>(position_, formats_.size());
    const ULONG skipped = std::min(count, available);
    position_ += skipped;
    return skipped == count ? S_OK : S_FALSE;
}

HRESULT CEnumFormatEtc::Reset() noexcept
{
    position_ = 0;
    return S_OK;
}

HRESULT CEnumFormatEtc::Clone(IEnumFORMATETC** result) noexcept
{
    if (!result)
        return E_POINTER;
    ComPtr<CEnumFormatEtc> copy = makeComObject<CEnumFormatEtc>(formats_, position_);
    *result = copy.detach();
    return *result ? S_OK : E_OUTOFMEMORY;
}

} // namespace Kestrel
