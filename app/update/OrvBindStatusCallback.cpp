#include "OrvBindStatusCallback.h"

HRESULT OrvBindStatusCallback::QueryInterface(REFIID riid, void** object) {
    if (!object) return E_POINTER;
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IBindStatusCallback)) {
        *object = static_cast<IBindStatusCallback*>(this);
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

HRESULT OrvBindStatusCallback::OnStartBinding(DWORD, IBinding*) {
    return m_abort.load() ? E_ABORT : S_OK;
}

HRESULT OrvBindStatusCallback::GetPriority(LONG*) { return E_NOTIMPL; }

HRESULT OrvBindStatusCallback::OnLowResource(DWORD) { return S_OK; }

HRESULT OrvBindStatusCallback::OnProgress(ULONG, ULONG progressMax, ULONG statusCode, LPCWSTR) {
    ++m_progress;
    if ((statusCode == BINDSTATUS_BEGINDOWNLOADDATA || statusCode == BINDSTATUS_DOWNLOADINGDATA ||
         statusCode == BINDSTATUS_ENDDOWNLOADDATA) &&
        progressMax > m_announced)
        m_announced = progressMax;
    return m_abort.load() ? E_ABORT : S_OK;
}

HRESULT OrvBindStatusCallback::OnStopBinding(HRESULT, LPCWSTR) { return S_OK; }

// The download's own binding flags stay as they are: the URL-to-file
// service reads the file it writes from them.
HRESULT OrvBindStatusCallback::GetBindInfo(DWORD*, BINDINFO*) { return S_OK; }

HRESULT OrvBindStatusCallback::OnDataAvailable(DWORD, DWORD, FORMATETC*, STGMEDIUM*) { return S_OK; }

HRESULT OrvBindStatusCallback::OnObjectAvailable(REFIID, IUnknown*) { return S_OK; }
