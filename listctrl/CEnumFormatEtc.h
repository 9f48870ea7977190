#pragma once

#include "listctrl/ComPtr.h"
#include "listctrl/ComRefCount.h"

#include <objidl.h>

#include <vector>

namespace Kestrel {

// The list of formats a data object offers, as OLE walks it (IEnumFORMATETC). It keeps a copy of
// the formats, so it stays valid whatever the data object does meanwhile. The formats carry no
// target device.
class CEnumFormatEtc final : public IEnumFORMATETC {
public:
    explicit CEnumFormatEtc(std::vector<FORMATETC> formats, ULONG position = 0) noexcept
        : formats_(std::move(formats)), position_(position)
    {
    }
    CEnumFormatEtc(const CEnumFormatEtc&) = delete;
    CEnumFormatEtc& operator=(const CEnumFormatEtc&) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** result) noexcept override;
    ULONG STDMETHODCALLTYPE AddRef() noexcept override { return refCount_.addRef(); }
    ULONG STDMETHODCALLTYPE Release() noexcept override;

    HRESULT STDMETHODCALLTYPE Next(ULONG count, FORMATETC* formats, ULONG* fetched) noexcept override;
    HRESULT STDMETHODCALLTYPE Skip(ULONG count) noexcept override;
    HRESULT STDMETHODCALLTYPE Reset() noexcept override;
    HRESULT STDMETHODCALLTYPE Clone(IEnumFORMATETC** result) noexcept override;

private:
    ~CEnumFormatEtc() = default;

    ComRefCount refCount_;
    std::vector<FORMATETC> formats_;
    ULONG position_;
};

} // namespace Kestrel
