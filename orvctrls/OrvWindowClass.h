#pragma once
// The named window classes of this library's controls, registered once in
// the library's module with the arrow cursor and no background brush (the
// controls paint everything themselves).
#include <windows.h>

class OrvWindowClass {
public:
    // Registers name (once; a race with another thread is harmless) and
    // points create at it. False when the class cannot be registered.
    static bool Prepare(CREATESTRUCTA& create, const char* name, UINT classStyle = CS_DBLCLKS);
    static HMODULE Module();
};
