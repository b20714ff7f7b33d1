#include "HandleMap.h"

#include "CCriticalSection.h"
#include "CObject.h"

#include <cstdint>
#include <map>
#include <memory>
#include <tuple>
#include <utility>
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
// The one owner of a temporary wrapper: frees it with its own function.
class TempEntry {
public:
    TempEntry(CObject* object, CHandleMap::FreeFn free) : m_object(object), m_free(free) {}
    ~TempEntry() {
        if (m_object) m_free(m_object);
    }
    TempEntry(const TempEntry&) = delete;
    TempEntry& operator=(const TempEntry&) = delete;
    TempEntry(TempEntry&& other) noexcept : m_object(other.m_object), m_free(other.m_free) {
        other.m_object = nullptr;
    }
    TempEntry& operator=(TempEntry&&) = delete;

    CObject* Get() const { return m_object; }

private:
    CObject* m_object;
    CHandleMap::FreeFn m_free;
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

CHandleMap::CHandleMap() : m_impl(std::make_unique<Impl>()) {}

// The DLL is unloading: the map frees what threads left behind.
CHandleMap::~CHandleMap() = default;

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
    if (it != m_impl->temporary.end()) return it->second.Get();
    // Owned from the start, so a failing insertion frees it again.
    TempEntry entry(make(handle), free);
    CObject* object = entry.Get();
    m_impl->temporary.emplace(key, std::move(entry));
    return object;
}

void CHandleMap::DeleteTemporaries(DWORD threadId) {
    std::vector<TempEntry> doomed;
    {
        CSingleLock lock(m_impl->lock);
        auto it = m_impl->temporary.lower_bound(TempKey{threadId, Kind::Wnd, 0});
        while (it != m_impl->temporary.end() && it->first.thread == threadId) {
            doomed.push_back(std::move(it->second));
            it = m_impl->temporary.erase(it);
        }
    }
    // Freed here, outside the lock, as doomed goes.
}

size_t CHandleMap::TemporaryCount() {
    CSingleLock lock(m_impl->lock);
    return m_impl->temporary.size();
}
