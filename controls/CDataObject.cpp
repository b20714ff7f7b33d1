#include "CDataObject.h"

#include "CGlobalMemory.h"

#include <ole2.h>
#include <shlobj.h>

const int CDataObject::kMaxFormats;

CDataObject::CDataObject() = default;

CDataObject::~CDataObject() {
    for (size_t i = 0; i < m_media.size(); ++i) ReleaseEntry(i);
}

const char* CDataObject::GetRuntimeClassName() const { return "CDataObject"; }

bool CDataObject::AddGlobalData(CLIPFORMAT format, HGLOBAL block, bool release) {
    FORMATETC description{format, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
    const int at = Find(description);
    if (!format || !block || (at < 0 && GetCount() >= kMaxFormats)) {
        if (release && block) ::GlobalFree(block);
        return false;
    }
    STGMEDIUM medium{};
    medium.tymed = TYMED_HGLOBAL;
    medium.hGlobal = block;
    if (at >= 0) {
        const size_t i = static_cast<size_t>(at);
        ReleaseEntry(i);
        m_media[i] = medium;
        m_callerKeeps[i] = !release;
    } else {
        m_formats.push_back(description);
        m_media.push_back(medium);
        m_callerKeeps.push_back(!release);
    }
    return true;
}

void CDataObject::ReleaseEntry(size_t index) {
    // A block the caller keeps is never freed here.
    if (!m_callerKeeps[index]) ::ReleaseStgMedium(&m_media[index]);
    m_media[index] = STGMEDIUM{};
}

int CDataObject::Find(const FORMATETC& format) const {
    for (size_t i = 0; i < m_formats.size(); ++i) {
        const FORMATETC& held = m_formats[i];
        if (held.cfFormat == format.cfFormat && (held.tymed & format.tymed) &&
            held.dwAspect == format.dwAspect && (format.lindex == -1 || held.lindex == format.lindex))
            return static_cast<int>(i);
    }
    return -1;
}

HRESULT STDMETHODCALLTYPE CDataObject::QueryInterface(REFIID iid, void** object) {
    if (!object) return E_POINTER;
    if (iid == IID_IUnknown || iid == IID_IDataObject) {
        *object = static_cast<IDataObject*>(this);
        AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

ULONG STDMETHODCALLTYPE CDataObject::AddRef() { return static_cast<ULONG>(::InterlockedIncrement(&m_refs)); }

ULONG STDMETHODCALLTYPE CDataObject::Release() {
    const LONG refs = ::InterlockedDecrement(&m_refs);
    if (refs == 0) delete this;
    return static_cast<ULONG>(refs);
}

HRESULT STDMETHODCALLTYPE CDataObject::GetData(FORMATETC* format, STGMEDIUM* medium) {
    if (!format || !medium) return E_INVALIDARG;
    *medium = STGMEDIUM{};
    if (!(format->tymed & TYMED_HGLOBAL)) return DV_E_TYMED;
    const int at = Find(*format);
    if (at < 0) return DV_E_FORMATETC;
    CGlobalMemory copy = CGlobalMemory::CopyOf(m_media[static_cast<size_t>(at)].hGlobal);
    if (!copy) return STG_E_MEDIUMFULL;
    medium->tymed = TYMED_HGLOBAL;
    medium->hGlobal = copy.Release();
    medium->pUnkForRelease = nullptr;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CDataObject::GetDataHere(FORMATETC*, STGMEDIUM*) { return E_NOTIMPL; }

HRESULT STDMETHODCALLTYPE CDataObject::QueryGetData(FORMATETC* format) {
    if (!format) return E_INVALIDARG;
    if (!(format->tymed & TYMED_HGLOBAL)) return DV_E_TYMED;
    return Find(*format) >= 0 ? S_OK : DV_E_FORMATETC;
}

HRESULT STDMETHODCALLTYPE CDataObject::GetCanonicalFormatEtc(FORMATETC* format, FORMATETC* canonical) {
    if (!canonical) return E_INVALIDARG;
    if (format) *canonical = *format;
    canonical->ptd = nullptr;
    return DATA_S_SAMEFORMATETC;
}

HRESULT STDMETHODCALLTYPE CDataObject::SetData(FORMATETC* format, STGMEDIUM* medium, BOOL release) {
    if (!format || !medium) return E_INVALIDARG;
    if (format->tymed != TYMED_HGLOBAL || medium->tymed != TYMED_HGLOBAL || !medium->hGlobal) return DV_E_TYMED;
    if (format->dwAspect != DVASPECT_CONTENT) return DV_E_DVASPECT;
    // Always a copy of our own: the caller's medium may be shared.
    CGlobalMemory copy = CGlobalMemory::CopyOf(medium->hGlobal);
    if (!copy) return E_OUTOFMEMORY;
    if (!AddGlobalData(format->cfFormat, copy.Release(), true)) return E_OUTOFMEMORY;
    if (release) ::ReleaseStgMedium(medium);
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CDataObject::EnumFormatEtc(DWORD direction, IEnumFORMATETC** formats) {
    if (!formats) return E_INVALIDARG;
    *formats = nullptr;
    if (direction != DATADIR_GET) return E_NOTIMPL;
    return ::SHCreateStdEnumFmtEtc(static_cast<UINT>(m_formats.size()), m_formats.data(), formats);
}

HRESULT STDMETHODCALLTYPE CDataObject::DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) {
    return OLE_E_ADVISENOTSUPPORTED;
}
HRESULT STDMETHODCALLTYPE CDataObject::DUnadvise(DWORD) { return OLE_E_ADVISENOTSUPPORTED; }
HRESULT STDMETHODCALLTYPE CDataObject::EnumDAdvise(IEnumSTATDATA**) { return OLE_E_ADVISENOTSUPPORTED; }
