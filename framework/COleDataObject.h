#pragma once
#include "CComPtr.h"
#include "CGlobalMemory.h"
#include "FrameworkExport.h"

#include <windows.h>
#include <objidl.h>

#include <cstddef>
#include <cstdint>

// The effects of a drop (DROPEFFECT_COPY ...), as the system's drag and
// drop calls pass them.
typedef DWORD DROPEFFECT;

// The receiving side of data offered through OLE (a drop, the clipboard): a
// reference to the offering IDataObject and questions about its formats.
// Only global memory is taken; the caller owns what it receives.

class FW_API COleDataObject {
public:
    COleDataObject() = default;
    // Holds a reference of its own to data (null: no data).
    explicit COleDataObject(IDataObject* data);

    IDataObject* GetIDataObject() const { return m_data.Get(); }
    void Attach(IDataObject* data);
    void Release() { m_data.Release(); }

    // True when the data offers format as global memory.
    bool IsDataAvailable(CLIPFORMAT format) const;
    // The data of format as a global block of the caller's; empty when the
    // data does not offer it as global memory, when the block the offering
    // side hands out is larger than maxBytes, or when no memory is left.
    CGlobalMemory GetGlobalData(CLIPFORMAT format, size_t maxBytes = SIZE_MAX) const;

private:
    CComPtr<IDataObject> m_data;
};
