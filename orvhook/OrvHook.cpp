#include "OrvHook.h"

#include "HookSharedBlock.h"

namespace {

HMODULE g_module = nullptr;
// This process's view of the block; every process the hooks are loaded into
// has its own view of the same memory.
HookSharedBlock g_block;

// Hook handles live in the block as 32-bit values; like every user handle
// they keep their meaning when sign-extended back to pointer width.
uint32_t StoredHandle(HHOOK hook) {
    return static_cast<uint32_t>(reinterpret_cast<UINT_PTR>(hook));
}
HHOOK HookFromStored(uint32_t stored) {
    return reinterpret_cast<HHOOK>(static_cast<LONG_PTR>(static_cast<int32_t>(stored)));
}

LONG volatile* AsInterlocked(volatile uint32_t& field) {
    return reinterpret_cast<LONG volatile*>(&field);
}

LRESULT CALLBACK KeyboardProc(int code, WPARAM wParam, LPARAM lParam) {
    volatile ORVHOOKSHAREDDATA* data = g_block.Data();
    if (!data) return 0;
    if (code == HC_ACTION) data->lastInputTick = ::GetTickCount();
    return ::CallNextHookEx(HookFromStored(data->keyboardHook), code, wParam, lParam);
}

// Only clicks count as activity: a mouse that moves by itself (a nudged desk)
// must not keep the user "on line".
LRESULT CALLBACK MouseProc(int code, WPARAM wParam, LPARAM lParam) {
    volatile ORVHOOKSHAREDDATA* data = g_block.Data();
    if (!data) return 0;
    if (code == HC_ACTION && (wParam == WM_LBUTTONDOWN || wParam == WM_RBUTTONDOWN))
        data->lastInputTick = ::GetTickCount();
    return ::CallNextHookEx(HookFromStored(data->mouseHook), code, wParam, lParam);
}

// Installs one hook unless its field holds one already. Two processes may
// race here: the loser removes its own hook again, so each is installed once.
void InstallOnce(volatile uint32_t& field, int kind, HOOKPROC proc) {
    if (field) return;
    HHOOK hook = ::SetWindowsHookExA(kind, proc, g_module, 0);
    if (!hook) return;
    if (::InterlockedCompareExchange(AsInterlocked(field), static_cast<LONG>(StoredHandle(hook)), 0) != 0)
        ::UnhookWindowsHookEx(hook);
}

void RemoveOne(volatile uint32_t& field) {
    const uint32_t stored = static_cast<uint32_t>(::InterlockedExchange(AsInterlocked(field), 0));
    if (stored) ::UnhookWindowsHookEx(HookFromStored(stored));
}

}  // namespace

int SetHook() {
    volatile ORVHOOKSHAREDDATA* data = g_block.Data();
    if (!data) return 0;
    InstallOnce(data->keyboardHook, WH_KEYBOARD, KeyboardProc);
    InstallOnce(data->mouseHook, WH_MOUSE, MouseProc);
    return (data->keyboardHook || data->mouseHook) ? 1 : 0;
}

void RemoveHook() {
    volatile ORVHOOKSHAREDDATA* data = g_block.Data();
    if (!data) return;
    RemoveOne(data->keyboardHook);
    RemoveOne(data->mouseHook);
}

unsigned long GetLastOpTime() {
    volatile ORVHOOKSHAREDDATA* data = g_block.Data();
    return data ? data->lastInputTick : ::GetTickCount();
}

void ClearLastOpTime() {
    volatile ORVHOOKSHAREDDATA* data = g_block.Data();
    if (data) data->lastInputTick = ::GetTickCount();
}

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    switch (reason) {
    case DLL_PROCESS_ATTACH:
        g_module = instance;
        ::DisableThreadLibraryCalls(instance);
        // Without the block the library loads all the same: the hooks then
        // do nothing and the clock reads the current tick.
        g_block.Open();
        break;
    case DLL_PROCESS_DETACH:
        g_block.Close();
        break;
    default:
        break;
    }
    return TRUE;
}
