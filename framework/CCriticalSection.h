#pragma once
#include <windows.h>

class CConditionVariable;

// The framework's one lock: a Win32 critical section with one owner.
// Recursive on one thread; Lock and Unlock must pair up on that thread, which
// CSingleLock does for a scope. Neither copied nor moved (waiters hold it).
class CCriticalSection {
public:
    CCriticalSection() { ::InitializeCriticalSection(&m_section); }
    ~CCriticalSection() { ::DeleteCriticalSection(&m_section); }
    CCriticalSection(const CCriticalSection&) = delete;
    CCriticalSection& operator=(const CCriticalSection&) = delete;

    bool Lock() {
        ::EnterCriticalSection(&m_section);
        return true;
    }
    bool Unlock() {
        ::LeaveCriticalSection(&m_section);
        return true;
    }

private:
    friend class CConditionVariable;
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
    friend class CConditionVariable;
    CCriticalSection& m_section;
};
