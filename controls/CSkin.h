#pragma once
#include "ControlsExport.h"
#include "S_STD_SKININFO.h"

#include "CCriticalSection.h"
#include "CString.h"

#include <map>

// The process-wide registry of shared skin records by component name
// ("MainFrame\caption", "dialog\button" ...). The registry holds one
// reference on every record it stores; one record may be stored under
// several names. Every operation holds the registry's lock, so any thread
// may use it.
class CTL_API CSkin {
public:
    // Registered as "wmSkinChanged" when the library loads: sent to the main
    // frame and posted to every top-level window after a skin change.
    static const UINT WM_SKIN_CHANGED;

    // Made on first use, destroyed (releasing every record) at exit.
    static CSkin* GetInstance();

    // Stores record under name (exactly as spelt), replacing and releasing
    // what was there. False for a null name or record.
    bool AddComponent(const char* name, S_STD_SKININFO* record);
    // The record with one reference added for the caller, who releases it
    // (CSkinRecordRef does); null when absent.
    S_STD_SKININFO* GetComponent(const char* name);
    // Releases the record stored under name; true when it was there.
    bool DeleteComponent(const char* name);
    // Releases every record.
    void Reset();
    int GetCount();

    CSkin(const CSkin&) = delete;
    CSkin& operator=(const CSkin&) = delete;

private:
    CSkin();
    ~CSkin();
    void DestroyAllComponents();

    CCriticalSection m_lock;
    std::map<CString, S_STD_SKININFO*> m_components;
};
