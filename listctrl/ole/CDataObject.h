#pragma once

#include "listctrl/ole/ComObject.h"
#include "listctrl/ole/StorageMedium.h"

#include <objidl.h>

#include <vector>

namespace Kestrel {

// The data the list hands to OLE when it starts a drag (IDataObject). It holds formats with their
// media; a format offered with an empty global-memory medium is rendered only when a target asks
// for it (renderData, which CDataObjectT forwards to the list). Others (the drag-image helper)
// store their own formats here with SetData. Formats carry no target device.
class CDataObject : public ComObject<IDataObject, IID_IDataObject> {
public:
    // Offers a format as global memory to be rendered on demand; false when memory is short.
    [[nodiscard]] bool offerFormat(CLIPFORMAT format) noexcept;
    // The list is going: whoever still holds the object gets no more rendered data from it.
    void detach() noexcept { detached_ = true; }

    HRESULT STDMETHODCALLTYPE GetData(FORMATETC* format, STGMEDIUM* medium) noexcept override;
    HRESULT STDMETHODCALLTYPE GetDataHere(FORMATETC* format, STGMEDIUM* medium) noexcept override;
    HRESULT STDMETHODCALLTYPE QueryGetData(FORMATETC* format) noexcept override;
    HRESULT STDMETHODCALLTYPE GetCanonicalFormatEtc(FORMATETC* format, FORMATETC* canonical) noexcept override;
    HRESULT STDMETHODCALLTYPE SetData(FORMATETC* format, STGMEDIUM* medium, BOOL release) noexcept override;
    HRESULT STDMETHODCALLTYPE EnumFormatEtc(DWORD direction, IEnumFORMATETC** result) noexcept override;
    HRESULT STDMETHODCALLTYPE DAdvise(FORMATETC* format, DWORD flags, IAdviseSink* sink, DWORD* connection) noexcept override;
    HRESULT STDMETHODCALLTYPE DUnadvise(DWORD connection) noexcept override;
    HRESULT STDMETHODCALLTYPE EnumDAdvise(IEnumSTATDATA** result) noexcept override;

protected:
    CDataObject() noexcept = default;
    ~CDataObject() override = default;

    // Fills medium with the data of a format offered for rendering on demand; false when there is
    // none to give.
    [[nodiscard]] virtual bool renderData(const FORMATETC& format, STGMEDIUM& medium) noexcept = 0;

private:
    struct Entry {
        FORMATETC format;
        StorageMedium medium;
    };

    // The stored entry that can answer the request, or null.
    [[nodiscard]] Entry* find(const FORMATETC& request) noexcept;
    [[nodiscard]] HRESULT store(const FORMATETC& format, STGMEDIUM& medium, bool release) noexcept;

    std::vector<Entry> entries_;
    bool detached_ = false;
};

} // namespace Kestrel
