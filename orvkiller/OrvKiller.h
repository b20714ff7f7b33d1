#pragma once
// ORVKILLER.dll: lets an outside installer or uninstaller end a running
// updater and main program before it replaces their files. Nothing inside
// the program calls it.
#include <windows.h>

#ifdef ORV_BUILDING_ORVKILLER
#define ORVKILLER_API extern "C" __declspec(dllexport)
#else
#define ORVKILLER_API extern "C" __declspec(dllimport)
#endif

// KillOrvane results.
enum : int {
    ORVKILL_DONE = 0,              // nothing was running, or everything closed
    ORVKILL_SEMAPHORE_SIGNALLED = 1,  // a starting program held the install semaphore; signalled once
    ORVKILL_FAILED = 2,            // a process could not be terminated, or the semaphore not made
};

// Standard calling convention, three ignored 32-bit arguments (the outside
// caller's signature). Both widths export it undecorated as "KillOrvane"
// (the 32-bit DLL is linked with --kill-at, which drops the "@12" of the
// standard convention), the name an installer passes to GetProcAddress.
ORVKILLER_API int WINAPI KillOrvane(DWORD reserved1, DWORD reserved2, DWORD reserved3);
