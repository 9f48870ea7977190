#pragma once

#include "listctrl/ole/ComPtr.h"
#include "listctrl/ole/ComObject.h"

#include <objidl.h>

#include <vector>

namespace Kestrel {

// The list of formats a data object offers, as OLE walks it (IEnumFORMATETC). It keeps a copy of
// the formats, so it stays valid whatever the data object does meanwhile. The formats carry no
// target device.
class CEnumFormatEtc final : public ComObject<IEnumFORMATETC, IID_IEnumFORMATETC> {
public:
    explicit CEnumFormatEtc(std::vector<FORMATETC> formats, ULONG position = 0) noexcept
        : formats_(std::move(formats)), position_(position)
    {
    }

    HRESULT STDMETHODCALLTYPE Next(ULONG count, FORMATETC* formats, ULONG* fetched) noexcept override;
    HRESULT STDMETHODCALLTYPE Skip(ULONG count) noexcept override;
    HRESULT STDMETHODCALLTYPE Reset() noexcept override;
    HRESULT STDMETHODCALLTYPE Clone(IEnumFORMATETC** result) noexcept override;

private:
    ~CEnumFormatEtc() override = default;

    std::vector<FORMATETC> formats_;
    ULONG position_;
};

} // namespace Kestrel
