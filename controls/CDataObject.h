#pragma once
// The data a drag offers: global memory blocks by clipboard format, behind
// the system's data-object interface.
#include "ControlsExport.h"

#include "CObject.h"

#include <windows.h>
#include <objidl.h>

#include <cstddef>
#include <vector>

// Reference counted: made with new (one reference, the maker's) and ended
// by the last Release, inside this library. Every block is handed out as a
// copy of the receiver's own. Other components may store blocks of their
// own formats (SetData; the shell's drag-image service does); the number of
// formats is bounded.
class CTL_API CDataObject : public CObject, public IDataObject {
public:
    CDataObject();
    CDataObject(const CDataObject&) = delete;
    CDataObject& operator=(const CDataObject&) = delete;

    // Offers block under format as global memory with content aspect and no
    // index, replacing an earlier block of that format. With release the
    // data object owns the block from now on (also when the call fails);
    // without it the caller keeps it alive as long as the data object.
    bool AddGlobalData(CLIPFORMAT format, HGLOBAL block, bool release);
    int GetCount() const { return static_cast<int>(m_formats.size()); }

    static const int kMaxFormats = 64;

    const char* GetRuntimeClassName() const override;

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    // IDataObject
    HRESULT STDMETHODCALLTYPE GetData(FORMATETC* format, STGMEDIUM* medium) override;
    HRESULT STDMETHODCALLTYPE GetDataHere(FORMATETC* format, STGMEDIUM* medium) override;
    HRESULT STDMETHODCALLTYPE QueryGetData(FORMATETC* format) override;
    HRESULT STDMETHODCALLTYPE GetCanonicalFormatEtc(FORMATETC* format, FORMATETC* canonical) override;
    HRESULT STDMETHODCALLTYPE SetData(FORMATETC* format, STGMEDIUM* medium, BOOL release) override;
    HRESULT STDMETHODCALLTYPE EnumFormatEtc(DWORD direction, IEnumFORMATETC** formats) override;
    HRESULT STDMETHODCALLTYPE DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override;
    HRESULT STDMETHODCALLTYPE DUnadvise(DWORD) override;
    HRESULT STDMETHODCALLTYPE EnumDAdvise(IEnumSTATDATA**) override;

protected:
    // Releases every stored medium.
    ~CDataObject() override;

private:
    int Find(const FORMATETC& format) const;
    void ReleaseEntry(size_t index);

    LONG m_refs = 1;
    // Parallel: one format description and one medium per entry.
    std::vector<FORMATETC> m_formats;
    std::vector<STGMEDIUM> m_media;
    std::vector<bool> m_callerKeeps;  // the block is the caller's, never freed here
};
