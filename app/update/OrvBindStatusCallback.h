#pragma once
#include <urlmon.h>
#include <windows.h>

#include <atomic>

// The progress callback of one URL download. It only lets the download be
// stopped: once Abort() was called (from any thread), the next progress
// report answers E_ABORT and the download ends with a failure. Lives on the
// downloading thread's stack; reference counting is kept but never frees.
class OrvBindStatusCallback : public IBindStatusCallback {
public:
    explicit OrvBindStatusCallback(const std::atomic<bool>& abort) : m_abort(abort) {}
    OrvBindStatusCallback(const OrvBindStatusCallback&) = delete;
    OrvBindStatusCallback& operator=(const OrvBindStatusCallback&) = delete;

    // Progress reports seen, and the largest total size any of them gave
    // (the transfer's announced length; 0 when none was announced).
    long ProgressCount() const { return m_progress; }
    ULONG AnnouncedSize() const { return m_announced; }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }

    HRESULT STDMETHODCALLTYPE OnStartBinding(DWORD reserved, IBinding* binding) override;
    HRESULT STDMETHODCALLTYPE GetPriority(LONG* priority) override;
    HRESULT STDMETHODCALLTYPE OnLowResource(DWORD reserved) override;
    HRESULT STDMETHODCALLTYPE OnProgress(ULONG progress, ULONG progressMax, ULONG statusCode,
                                         LPCWSTR statusText) override;
    HRESULT STDMETHODCALLTYPE OnStopBinding(HRESULT result, LPCWSTR error) override;
    HRESULT STDMETHODCALLTYPE GetBindInfo(DWORD* flags, BINDINFO* info) override;
    HRESULT STDMETHODCALLTYPE OnDataAvailable(DWORD flags, DWORD size, FORMATETC* format,
                                              STGMEDIUM* medium) override;
    HRESULT STDMETHODCALLTYPE OnObjectAvailable(REFIID riid, IUnknown* object) override;

private:
    const std::atomic<bool>& m_abort;
    long m_progress = 0;
    ULONG m_announced = 0;
};
