#include "listctrl/ole/CDataObject.h"

#include "listctrl/ole/CEnumFormatEtc.h"

#include <ole2.h>

namespace Kestrel {

namespace {

bool sameFormat(const FORMATETC& stored, const FORMATETC& request) noexcept
{
    return (stored.tymed & request.tymed) != 0 && stored.dwAspect == request.dwAspect &&
           stored.cfFormat == request.cfFormat;
}

} // namespace

bool CDataObject::offerFormat(CLIPFORMAT format) noexcept
{
    FORMATETC descriptor{format, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
    STGMEDIUM empty{};
    empty.tymed = TYMED_HGLOBAL;
    return SUCCEEDED(store(descriptor, empty, true));
}

HRESULT CDataObject::GetData(FORMATETC* format, STGMEDIUM* medium) noexcept
{
    if (!format || !medium)
        return E_INVALIDARG;
    *medium = STGMEDIUM{};
    Entry* entry = find(*format);
    if (!entry)
        return DV_E_FORMATETC;
    if (!entry->medium.empty()) {
        HRESULT result = S_OK;
        *medium = StorageMedium::duplicate(entry->medium.get(), entry->format.cfFormat, &result).release();
        return result;
    }
    if (detached_ || !renderData(entry->format, *medium)) {
        *medium = STGMEDIUM{};
        return DV_E_FORMATETC;
    }
    return S_OK;
}

HRESULT CDataObject::GetDataHere(FORMATETC*, STGMEDIUM*) noexcept
{
    return E_NOTIMPL;
}

HRESULT CDataObject::QueryGetData(FORMATETC* format) noexcept
{
    if (!format)
        return E_INVALIDARG;
    if (!(format->dwAspect & DVASPECT_CONTENT))
        return DV_E_DVASPECT;
    HRESULT answer = DV_E_TYMED;
    for (const Entry& entry : entries_) {
        if (!(entry.format.tymed & format->tymed))
            continue;
        if (entry.format.cfFormat == format->cfFormat)
            return S_OK;
        answer = DV_E_FORMATETC;
    }
    return answer;
}

HRESULT CDataObject::GetCanonicalFormatEtc(FORMATETC* format, FORMATETC* canonical) noexcept
{
    if (!format || !canonical)
        return E_INVALIDARG;
    *canonical = *format;
    canonical->ptd = nullptr;
    return DATA_S_SAMEFORMATETC;
}

HRESULT CDataObject::SetData(FORMATETC* format, STGMEDIUM* medium, BOOL release) noexcept
{
    if (!format || !medium)
        return E_INVALIDARG;
    if (format->ptd)
        return DV_E_FORMATETC;
    return store(*format, *medium, release != FALSE);
}

HRESULT CDataObject::EnumFormatEtc(DWORD direction, IEnumFORMATETC** result) noexcept
{
    if (!result)
        return E_POINTER;
    *result = nullptr;
    if (direction != DATADIR_GET)
        return E_NOTIMPL;
    try {
        std::vector<FORMATETC> formats;
        formats.reserve(entries_.size());
        for (const Entry& entry : entries_)
            formats.push_back(entry.format);
        *result = makeComObject<CEnumFormatEtc>(std::move(formats)).detach();
    } catch (...) {
    }
    return *result ? S_OK : E_OUTOFMEMORY;
}

HRESULT CDataObject::DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) noexcept
{
    return OLE_E_ADVISENOTSUPPORTED;
}

HRESULT CDataObject::DUnadvise(DWORD) noexcept
{
    return OLE_E_ADVISENOTSUPPORTED;
}

HRESULT CDataObject::EnumDAdvise(IEnumSTATDATA**) noexcept
{
    return OLE_E_ADVISENOTSUPPORTED;
}

CDataObject::Entry* CDataObject::find(const FORMATETC& request) noexcept
{
    for (Entry& entry : entries_) {
        if (sameFormat(entry.format, request))
            return &entry;
    }
    return nullptr;
}

HRESULT CDataObject::store(const FORMATETC& format, STGMEDIUM& medium, bool release) noexcept
{
    StorageMedium kept;
    if (release) {
        // The medium is ours only once the call succeeds, so nothing may fail after this.
        try {
            entries_.reserve(entries_.size() + 1);
        } catch (...) {
            return E_OUTOFMEMORY;
        }
        kept = StorageMedium(medium);
    } else {
        HRESULT result = S_OK;
        kept = StorageMedium::duplicate(medium, format.cfFormat, &result);
        if (FAILED(result))
            return result;
    }
    // The drag-image helper stores its formats again for every drag: the newest data replaces
    // the old, or a target would be given the image of the first drag.
    for (Entry& entry : entries_) {
        if (entry.format.cfFormat == format.cfFormat && entry.format.dwAspect == format.dwAspect &&
            entry.format.tymed == format.tymed) {
            entry.medium = std::move(kept);
            return S_OK;
        }
    }
    try {
        entries_.push_back(Entry{format, std::move(kept)});
    } catch (...) {
        // Only a duplicate can get here: the reserve above covers a medium handed over.
        return E_OUTOFMEMORY;
    }
    return S_OK;
}

} // namespace Kestrel
