#include "HandleMap.h"

#include "CCriticalSection.h"
#include "CObject.h"

#include <cstdint>
#include <map>
#include <tuple>
#include <unordered_map>
#include <vector>

namespace {
struct TempKey {
    DWORD thread;
    CHandleMap::Kind kind;
    uintptr_t handle;
    bool operator<(const TempKey& o) const {
        return std::tie(thread, kind, handle) < std::tie(o.thread, o.kind, o.handle);
    }
};
struct TempEntry {
    CObject* object;
    CHandleMap::FreeFn free;
};
}  // namespace

struct CHandleMap::Impl {
    // Critical sections are recursive: a destructor run under the lock may
    // take it again.
    CCriticalSection lock;
    std::unordered_map<HWND, CWnd*> permanent;
    std::map<TempKey, TempEntry> temporary;
};

CHandleMap& CHandleMap::Instance() {
    static CHandleMap map;
    return map;
}

CHandleMap::CHandleMap() : m_impl(new Impl) {}

CHandleMap::~CHandleMap() {
    // The DLL is unloading: free what threads left behind.
    for (auto& entry : m_impl->temporary) entry.second.free(entry.second.object);
    delete m_impl;
}

bool CHandleMap::SetPermanent(HWND hWnd, CWnd* wnd) {
    if (!hWnd || !wnd) return false;
    CSingleLock lock(m_impl->lock);
    auto result = m_impl->permanent.emplace(hWnd, wnd);
    return result.second || result.first->second == wnd;
}

void CHandleMap::RemovePermanent(HWND hWnd, const CWnd* wnd) {
    CSingleLock lock(m_impl->lock);
    auto it = m_impl->permanent.find(hWnd);
    if (it != m_impl->permanent.end() && it->second == wnd) m_impl->permanent.erase(it);
}

CWnd* CHandleMap::LookupPermanent(HWND hWnd) {
    if (!hWnd) return nullptr;
    CSingleLock lock(m_impl->lock);
    auto it = m_impl->permanent.find(hWnd);
    return it == m_impl->permanent.end() ? nullptr : it->second;
}

CObject* CHandleMap::Temporary(Kind kind, const void* handle, CObject* (*make)(const void*),
                               FreeFn free) {
    if (!handle) return nullptr;
    const TempKey key{GetCurrentThreadId(), kind, reinterpret_cast<uintptr_t>(handle)};
    CSingleLock lock(m_impl->lock);
    auto it = m_impl->temporary.find(key);
    if (it != m_impl->temporary.end()) return it->second.object;
    CObject* object = make(handle);
    try {
        m_impl->temporary.emplace(key, TempEntry{object, free});
    } catch (...) {
        free(object);
        throw;
    }
    return object;
}

void CHandleMap::DeleteTemporaries(DWORD threadId) {
    std::vector<TempEntry> doomed;
    {
        CSingleLock lock(m_impl->lock);
        auto it = m_impl->temporary.lower_bound(TempKey{threadId, Kind::Wnd, 0});
        while (it != m_impl->temporary.end() && it->first.thread == threadId) {
            doomed.push_back(it->second);
            it = m_impl->temporary.erase(it);
        }
    }
    for (auto& entry : doomed) entry.free(entry.object);
}

size_t CHandleMap::TemporaryCount() {
    CSingleLock lock(m_impl->lock);
    return m_impl->temporary.size();
}
