#include "AfxGlobals.h"

#include "CWinApp.h"
#include "HandleMap.h"

namespace {
HINSTANCE g_resourceHandle = nullptr;
}

HINSTANCE AfxGetInstanceHandle() {
    CWinApp* app = AfxGetApp();
    if (app && app->m_hInstance) return app->m_hInstance;
    return ::GetModuleHandleA(nullptr);
}

HINSTANCE AfxGetResourceHandle() {
    return g_resourceHandle ? g_resourceHandle : AfxGetInstanceHandle();
}

void AfxSetResourceHandle(HINSTANCE module) { g_resourceHandle = module; }

HMODULE AfxGetModuleOf(const void* address) {
    HMODULE module = nullptr;
    if (!address ||
        !::GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                                  GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                              static_cast<LPCSTR>(address), &module))
        return nullptr;
    return module;
}

void AfxDeleteTempMaps() { CHandleMap::Instance().DeleteTemporaries(::GetCurrentThreadId()); }

size_t AfxGetTempMapCount() { return CHandleMap::Instance().TemporaryCount(); }
