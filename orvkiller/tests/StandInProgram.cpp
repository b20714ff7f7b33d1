// A stand-in for the programs the updater and the killer deal with, until
// the real main program exists.
//   --main [--ignore-close]  a window of the main program's class; closes on
//                            WM_CLOSE (exit code 7) unless told to ignore it
//   --updater                a window titled like the updater's dialog
//   (no switch)              the restarted main program: writes its command
//                            line to restarted.txt beside itself and ends
#include "OrvMessages.h"

#include <windows.h>

#include <cstring>
#include <string>

namespace {

const int kClosedExitCode = 7;
bool g_ignoreClose = false;

LRESULT CALLBACK StandInProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CLOSE:
        if (!g_ignoreClose) ::DestroyWindow(window);
        return 0;
    case WM_DESTROY:
        ::PostQuitMessage(kClosedExitCode);
        return 0;
    default:
        return ::DefWindowProcA(window, message, wParam, lParam);
    }
}

void WriteRestartMarker() {
    char path[MAX_PATH];
    const DWORD length = ::GetModuleFileNameA(nullptr, path, sizeof path);
    std::string marker(path, length);
    marker = marker.substr(0, marker.find_last_of("\\/") + 1) + "restarted.txt";
    HANDLE file = ::CreateFileA(marker.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    const char* line = ::GetCommandLineA();
    DWORD written = 0;
    ::WriteFile(file, line, static_cast<DWORD>(std::strlen(line)), &written, nullptr);
    ::CloseHandle(file);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int) {
    const bool asMain = std::strstr(commandLine, "--main") != nullptr;
    const bool asUpdater = std::strstr(commandLine, "--updater") != nullptr;
    g_ignoreClose = std::strstr(commandLine, "--ignore-close") != nullptr;
    if (!asMain && !asUpdater) {
        WriteRestartMarker();
        return 0;
    }
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = StandInProc;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = asMain ? ORV_MAIN_WINDOW_CLASS : "OrvStandInUpdater";
    if (!::RegisterClassA(&windowClass)) return 2;
    HWND window = ::CreateWindowExA(0, windowClass.lpszClassName, asMain ? "Orvane" : "Orvane Update",
                                    WS_OVERLAPPEDWINDOW, 50, 50, 200, 100, nullptr, nullptr, instance, nullptr);
    if (!window) return 3;
    MSG message;
    while (::GetMessageA(&message, nullptr, 0, 0) > 0) {
        ::TranslateMessage(&message);
        ::DispatchMessageA(&message);
    }
    return static_cast<int>(message.wParam);
}
