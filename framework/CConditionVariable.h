#pragma once
#include "CCriticalSection.h"

#include <windows.h>

// Lets threads holding a CCriticalSection sleep until another thread changes
// what they wait for (a Win32 condition variable). Wakes may be spurious:
// wait with a condition, which is tested with the lock held. The lock must be
// held exactly once by the waiting thread.
class CConditionVariable {
public:
    CConditionVariable() { ::InitializeConditionVariable(&m_variable); }
    CConditionVariable(const CConditionVariable&) = delete;
    CConditionVariable& operator=(const CConditionVariable&) = delete;

    // Releases the lock while asleep; holds it again on return.
    template <class Condition>
    void Wait(CSingleLock& lock, Condition condition) {
        while (!condition())
            ::SleepConditionVariableCS(&m_variable, &lock.m_section.m_section, INFINITE);
    }
    void WakeOne() { ::WakeConditionVariable(&m_variable); }
    void WakeAll() { ::WakeAllConditionVariable(&m_variable); }

private:
    CONDITION_VARIABLE m_variable;
};
