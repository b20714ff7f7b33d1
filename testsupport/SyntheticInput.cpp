#include "SyntheticInput.h"

#include "TestSupport.h"

namespace orvtest {

namespace {
void Send(INPUT input) { ::SendInput(1, &input, sizeof input); }
}  // namespace

bool MoveMouse(int x, int y) {
    const int width = ::GetSystemMetrics(SM_CXSCREEN), height = ::GetSystemMetrics(SM_CYSCREEN);
    INPUT input{};
    input.type = INPUT_MOUSE;
    // Normalised coordinates that come back to exactly (x, y).
    input.mi.dx = static_cast<LONG>((static_cast<long long>(x) * 65535 + width - 2) / (width - 1));
    input.mi.dy = static_cast<LONG>((static_cast<long long>(y) * 65535 + height - 2) / (height - 1));
    input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    Send(input);
    POINT at{};
    return PumpUntil([&] { return ::GetCursorPos(&at) && at.x == x && at.y == y; }, 5000);
}

void MouseButton(bool left, bool down) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = left ? (down ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP)
                            : (down ? MOUSEEVENTF_RIGHTDOWN : MOUSEEVENTF_RIGHTUP);
    Send(input);
}

void Click(int x, int y) {
    MoveMouse(x, y);
    MouseButton(true, true);
    MouseButton(true, false);
}

void Key(WORD vk, bool down) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = vk;
    input.ki.wScan = static_cast<WORD>(::MapVirtualKeyA(vk, MAPVK_VK_TO_VSC));
    input.ki.dwFlags = down ? 0 : KEYEVENTF_KEYUP;
    Send(input);
}

void Press(WORD vk) {
    Key(vk, true);
    Key(vk, false);
}

void PressChord(WORD modifier, WORD key) {
    INPUT inputs[4] = {};
    for (INPUT& input : inputs) input.type = INPUT_KEYBOARD;
    inputs[0].ki.wVk = modifier;
    inputs[1].ki.wVk = key;
    inputs[2].ki.wVk = key;
    inputs[2].ki.dwFlags = KEYEVENTF_KEYUP;
    inputs[3].ki.wVk = modifier;
    inputs[3].ki.dwFlags = KEYEVENTF_KEYUP;
    ::SendInput(4, inputs, sizeof(INPUT));
}

}  // namespace orvtest
