#pragma once
#include <windows.h>

// A Win32 critical section with one owner. Lock and Unlock must pair up on
// one thread; CSingleLock does that for a scope.
class CCriticalSection {
public:
    CCriticalSection() { InitializeCriticalSection(&m_section); }
    ~CCriticalSection() { DeleteCriticalSection(&m_section); }
    CCriticalSection(const CCriticalSection&) = delete;
    CCriticalSection& operator=(const CCriticalSection&) = delete;

    bool Lock() {
        EnterCriticalSection(&m_section);
        return true;
    }
    bool Unlock() {
        LeaveCriticalSection(&m_section);
        return true;
    }
    operator CRITICAL_SECTION*() { return &m_section; }

private:
    CRITICAL_SECTION m_section;
};

// Holds a critical section for the lifetime of a scope.
class CSingleLock {
public:
    explicit CSingleLock(CCriticalSection& section) : m_section(section) { m_section.Lock(); }
    ~CSingleLock() { m_section.Unlock(); }
    CSingleLock(const CSingleLock&) = delete;
    CSingleLock& operator=(const CSingleLock&) = delete;

private:
    CCriticalSection& m_section;
};
