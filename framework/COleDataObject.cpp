#include "COleDataObject.h"

#include <ole2.h>

namespace {
FORMATETC GlobalFormat(CLIPFORMAT format) {
    FORMATETC description{};
    description.cfFormat = format;
    description.dwAspect = DVASPECT_CONTENT;
    description.lindex = -1;
    description.tymed = TYMED_HGLOBAL;
    return description;
}

// Releases a medium the data object handed out, whoever owns it.
class CMediumHolder {
public:
    CMediumHolder() = default;
    ~CMediumHolder() { ::ReleaseStgMedium(&medium); }
    CMediumHolder(const CMediumHolder&) = delete;
    CMediumHolder& operator=(const CMediumHolder&) = delete;
    STGMEDIUM medium{};
};
}  // namespace

COleDataObject::COleDataObject(IDataObject* data) : m_data(data) {}

void COleDataObject::Attach(IDataObject* data) { m_data = CComPtr<IDataObject>(data); }

bool COleDataObject::IsDataAvailable(CLIPFORMAT format) const {
    if (!m_data || !format) return false;
    FORMATETC description = GlobalFormat(format);
    return m_data->QueryGetData(&description) == S_OK;
}

CGlobalMemory COleDataObject::GetGlobalData(CLIPFORMAT format, size_t maxBytes) const {
    if (!m_data || !format) return CGlobalMemory();
    FORMATETC description = GlobalFormat(format);
    CMediumHolder held;
    if (m_data->GetData(&description, &held.medium) != S_OK) return CGlobalMemory();
    if (held.medium.tymed != TYMED_HGLOBAL || !held.medium.hGlobal) return CGlobalMemory();
    if (::GlobalSize(held.medium.hGlobal) > maxBytes) return CGlobalMemory();
    if (!held.medium.pUnkForRelease) {
        // The block was handed over: it is ours now.
        CGlobalMemory block(held.medium.hGlobal);
        held.medium.tymed = TYMED_NULL;
        held.medium.hGlobal = nullptr;
        return block;
    }
    // The offering side keeps its block: take a copy.
    return CGlobalMemory::CopyOf(held.medium.hGlobal);
}
