#include "CSkin.h"

#include "OrvMessages.h"

const UINT CSkin::WM_SKIN_CHANGED = ::RegisterWindowMessageA(ORV_MSGNAME_SKIN_CHANGED);

CSkin::CSkin() = default;

CSkin::~CSkin() { DestroyAllComponents(); }

CSkin* CSkin::GetInstance() {
    static CSkin instance;
    return &instance;
}

bool CSkin::AddComponent(const char* name, S_STD_SKININFO* record) {
    if (!name || !record) return false;
    CSingleLock hold(m_lock);
    S_STD_SKININFO*& slot = m_components[CString(name)];
    record->AddRef();
    S_STD_SKININFO* replaced = slot;
    slot = record;
    if (replaced) replaced->Release();
    return true;
}

S_STD_SKININFO* CSkin::GetComponent(const char* name) {
    if (!name) return nullptr;
    CSingleLock hold(m_lock);
    auto found = m_components.find(CString(name));
    if (found == m_components.end()) return nullptr;
    found->second->AddRef();
    return found->second;
}

bool CSkin::DeleteComponent(const char* name) {
    if (!name) return false;
    CSingleLock hold(m_lock);
    auto found = m_components.find(CString(name));
    if (found == m_components.end()) return false;
    S_STD_SKININFO* record = found->second;
    m_components.erase(found);
    record->Release();
    return true;
}

void CSkin::Reset() { DestroyAllComponents(); }

int CSkin::GetCount() {
    CSingleLock hold(m_lock);
    return static_cast<int>(m_components.size());
}

void CSkin::DestroyAllComponents() {
    CSingleLock hold(m_lock);
    // Released after the map is empty, so a record's destructor that reaches
    // the registry finds it consistent.
    std::map<CString, S_STD_SKININFO*> released;
    released.swap(m_components);
    for (auto& entry : released) entry.second->Release();
}
