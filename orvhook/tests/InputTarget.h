#pragma once
// The protocol between the hook tests and orv_input_target.exe, a program
// with one visible window that synthesises input into itself on request and
// counts what arrives. It never links OrvHook.dll: when the library shows up
// in it, the system's hooks brought it there.
#include <windows.h>

#define ORV_INPUT_TARGET_CLASS "OrvInputTarget"

enum InputKind : WPARAM {
    kInputMove = 0,         // the mouse moves, no button
    kInputLeftClick = 1,
    kInputRightClick = 2,
    kInputMiddleClick = 3,
    kInputKey = 4,          // the A key, down and up
    kInputKindCount = 5,
};

enum : UINT {
    // wParam: InputKind. The target sends that input into its own window.
    kTargetSynthesize = WM_APP + 1,
    // wParam: InputKind. Returns how many of those arrived (for a key: its
    // releases, the last message of a key press).
    kTargetCount = WM_APP + 2,
    // Returns 1 when OrvHook.dll is loaded in the target.
    kTargetHookLoaded = WM_APP + 3,
    // Loads OrvHook.dll from the target's folder; returns 1 when loaded.
    kTargetLoadHookLibrary = WM_APP + 4,
};
