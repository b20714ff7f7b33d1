#pragma once
#include "FrameworkExport.h"

#include <windows.h>

// The program's module; the application object's m_hInstance once AfxWinMain
// has run, the process's executable before.
FW_API HINSTANCE AfxGetInstanceHandle();
// Where dialog templates, bitmaps and strings are loaded from; the program's
// module unless set.
FW_API HINSTANCE AfxGetResourceHandle();
FW_API void AfxSetResourceHandle(HINSTANCE module);
// The module (program or DLL) whose image contains address, without taking
// a reference on it; null when no module does. A DLL finds itself with the
// address of one of its own functions or variables.
FW_API HMODULE AfxGetModuleOf(const void* address);
// Frees the calling thread's temporary wrappers made by FromHandle. The
// message loops call it when the queue runs empty; pointers from FromHandle
// must not be kept past that point.
FW_API void AfxDeleteTempMaps();
// How many temporary wrappers exist in the process (for checks and tests).
FW_API size_t AfxGetTempMapCount();
