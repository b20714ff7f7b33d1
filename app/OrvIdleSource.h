#pragma once
// How long the member has been idle, as the session's idle timer asks it:
// the program's idle clock (CIdleTimer) in the program, a settable clock in
// tests.
#include <windows.h>

class OrvIIdleSource {
public:
    virtual bool Start() = 0;
    virtual void Stop() = 0;
    virtual DWORD GetIdleTime() = 0;
    virtual void Reset() = 0;

protected:
    ~OrvIIdleSource() = default;
};
