// OrvDemoSetup.exe: readies this program folder and the settings store for a
// demo run, or waits for the program's window.
//   OrvDemoSetup.exe account URL EMAIL PASSWORD
//       the server's address ("url"), the account marked registered and
//       logged on, and riched20.dll copied from the system folder next to
//       Orvane.exe when it is missing;
//   OrvDemoSetup.exe wait SECONDS
//       ends with 0 once Orvane's main window is visible (it shows once
//       the program is on line), 1 after SECONDS.
#include "OrvMessages.h"
#include "OrvRegistry.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

std::string ProgramDirectory() {
    char path[1000] = {};
    ::GetModuleFileNameA(nullptr, path, sizeof path - 1);
    std::string directory = path;
    return directory.substr(0, directory.find_last_of("\\/") + 1);
}

int Account(const char* url, const char* email, const char* password) {
    OrvRegistry registry;
    registry.SetUrl(url);
    registry.SetEmail(email);
    registry.SetSerkey(password);
    registry.Register();
    registry.Logon();
    const std::string target = ProgramDirectory() + "riched20.dll";
    if (::GetFileAttributesA(target.c_str()) == INVALID_FILE_ATTRIBUTES) {
        char system[MAX_PATH] = {};
        ::GetSystemDirectoryA(system, MAX_PATH);
        if (!::CopyFileA((std::string(system) + "\\riched20.dll").c_str(), target.c_str(), FALSE)) {
            std::fprintf(stderr, "riched20.dll could not be copied from %s\n", system);
            return 1;
        }
    }
    return 0;
}

int Wait(int seconds) {
    const DWORD start = ::GetTickCount();
    while (::GetTickCount() - start < static_cast<DWORD>(seconds) * 1000) {
        HWND window = ::FindWindowA(ORV_MAIN_WINDOW_CLASS, nullptr);
        if (window && ::IsWindowVisible(window)) return 0;
        ::Sleep(200);
    }
    return 1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 5 && std::strcmp(argv[1], "account") == 0) return Account(argv[2], argv[3], argv[4]);
    if (argc == 3 && std::strcmp(argv[1], "wait") == 0) return Wait(std::atoi(argv[2]));
    std::fprintf(stderr, "usage: OrvDemoSetup.exe account URL EMAIL PASSWORD | wait SECONDS\n");
    return 2;
}
