#pragma once
// OrvHook.dll: system-wide keyboard and mouse hooks that keep the time of the
// user's last key press or mouse click in a block of named shared memory, so
// that every process the hooks are loaded into writes the same time stamp.
// Plain C functions, linked by the main program (its idle clock, CIdleTimer).
#include <windows.h>

#ifdef ORV_BUILDING_ORVHOOK
#define ORVHOOK_API extern "C" __declspec(dllexport)
#else
#define ORVHOOK_API extern "C" __declspec(dllimport)
#endif

// Installs the keyboard and the mouse hook for every thread of the desktop,
// each only when it is not installed yet. Non-zero when at least one is
// installed; 0 without the shared block.
ORVHOOK_API int SetHook();
// Removes each installed hook and clears its handle.
ORVHOOK_API void RemoveHook();
// The tick count of the last key press or button click; the current tick
// when the shared block is missing.
ORVHOOK_API unsigned long GetLastOpTime();
// Stores the current tick as the last input time.
ORVHOOK_API void ClearLastOpTime();
