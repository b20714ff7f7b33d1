#pragma once
#include "FrameworkExport.h"

#include <windows.h>

// OLE for the calling thread for the lifetime of the object: OleInitialize
// when made, OleUninitialize when it dies, on the same thread. Drag and drop,
// the clipboard through OLE and embedded objects need it on every thread
// that registers drop targets or starts drags. Initialising twice on one
// thread is counted by the system, so nested owners are fine.
class FW_API COleInitializer {
public:
    COleInitializer();
    ~COleInitializer();
    COleInitializer(const COleInitializer&) = delete;
    COleInitializer& operator=(const COleInitializer&) = delete;

    // False when the thread could not enter OLE (for instance because it
    // already runs in the multi-threaded apartment).
    bool IsInitialized() const { return m_initialized; }
    HRESULT GetResult() const { return m_result; }

private:
    HRESULT m_result;
    bool m_initialized;
};
