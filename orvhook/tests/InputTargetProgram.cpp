// orv_input_target.exe: see InputTarget.h.
#include "InputTarget.h"

#include <string>

namespace {

LONG g_counts[kInputKindCount] = {};
int g_moves = 0;

void SendMouse(HWND window, DWORD buttons) {
    RECT rect;
    ::GetWindowRect(window, &rect);
    // A point inside the window that differs from the last one, so every
    // request is a real movement.
    const int x = (rect.left + rect.right) / 2 + (g_moves % 2 ? 10 : -10);
    const int y = (rect.top + rect.bottom) / 2;
    ++g_moves;
    INPUT inputs[3] = {};
    int count = 0;
    inputs[count].type = INPUT_MOUSE;
    inputs[count].mi.dx = x * 65535 / (::GetSystemMetrics(SM_CXSCREEN) - 1);
    inputs[count].mi.dy = y * 65535 / (::GetSystemMetrics(SM_CYSCREEN) - 1);
    inputs[count++].mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    if (buttons) {
        inputs[count].type = INPUT_MOUSE;
        inputs[count++].mi.dwFlags = buttons;
        inputs[count].type = INPUT_MOUSE;
        inputs[count++].mi.dwFlags = buttons << 1;  // the matching button-up
    }
    ::SendInput(count, inputs, sizeof(INPUT));
}

void SendKey() {
    INPUT inputs[2] = {};
    inputs[0].type = INPUT_KEYBOARD;
    inputs[0].ki.wVk = 'A';
    inputs[1].type = INPUT_KEYBOARD;
    inputs[1].ki.wVk = 'A';
    inputs[1].ki.dwFlags = KEYEVENTF_KEYUP;
    ::SendInput(2, inputs, sizeof(INPUT));
}

std::string OwnFolder() {
    char path[MAX_PATH];
    const DWORD length = ::GetModuleFileNameA(nullptr, path, sizeof path);
    std::string folder(path, length);
    return folder.substr(0, folder.find_last_of("\\/") + 1);
}

LRESULT CALLBACK TargetProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_MOUSEMOVE: ++g_counts[kInputMove]; return 0;
    case WM_LBUTTONDOWN: ++g_counts[kInputLeftClick]; return 0;
    case WM_RBUTTONDOWN: ++g_counts[kInputRightClick]; return 0;
    case WM_MBUTTONDOWN: ++g_counts[kInputMiddleClick]; return 0;
    // A key press is complete with its release, which the keyboard hook sees too.
    case WM_KEYUP: ++g_counts[kInputKey]; return 0;
    case kTargetSynthesize:
        switch (wParam) {
        case kInputMove: SendMouse(window, 0); break;
        case kInputLeftClick: SendMouse(window, MOUSEEVENTF_LEFTDOWN); break;
        case kInputRightClick: SendMouse(window, MOUSEEVENTF_RIGHTDOWN); break;
        case kInputMiddleClick: SendMouse(window, MOUSEEVENTF_MIDDLEDOWN); break;
        case kInputKey: SendKey(); break;
        default: return 0;
        }
        return 1;
    case kTargetCount:
        return wParam < kInputKindCount ? g_counts[wParam] : -1;
    case kTargetHookLoaded:
        return ::GetModuleHandleA("OrvHook.dll") != nullptr;
    case kTargetLoadHookLibrary:
        return ::LoadLibraryA((OwnFolder() + "OrvHook.dll").c_str()) != nullptr;
    case WM_DESTROY:
        ::PostQuitMessage(0);
        return 0;
    default:
        return ::DefWindowProcA(window, message, wParam, lParam);
    }
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = TargetProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = ::LoadCursorA(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    windowClass.lpszClassName = ORV_INPUT_TARGET_CLASS;
    if (!::RegisterClassA(&windowClass)) return 2;
    HWND window = ::CreateWindowExA(WS_EX_TOPMOST, ORV_INPUT_TARGET_CLASS, "Orvane input target",
                                    WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 320, 240, nullptr, nullptr, instance,
                                    nullptr);
    if (!window) return 3;
    ::SetForegroundWindow(window);
    ::SetFocus(window);
    MSG message;
    while (::GetMessageA(&message, nullptr, 0, 0) > 0) {
        ::TranslateMessage(&message);
        ::DispatchMessageA(&message);
    }
    return 0;
}
