// OrvGallery.exe: every skinned control of the control library in one
// window. Usage: OrvGallery [--skin <directory name>] (the installed skins
// are under Skins\ next to the program; the default skin without one).
#include "GalleryWindow.h"

#include "ClsSkinnedMainMenu.h"

#include "AfxTrace.h"
#include "COleInitializer.h"

#include <windows.h>
#include <shellapi.h>

#include <string>

namespace {

std::string ProgramFolder() {
    char path[MAX_PATH] = {};
    ::GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder = path;
    return folder.substr(0, folder.find_last_of("\\/") + 1);
}

std::string SkinArgument() {
    int count = 0;
    LPWSTR* arguments = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    std::string skin;
    for (int i = 1; arguments && i + 1 < count; ++i) {
        if (lstrcmpiW(arguments[i], L"--skin") != 0) continue;
        char text[MAX_PATH] = "";
        ::WideCharToMultiByte(CP_ACP, 0, arguments[i + 1], -1, text, sizeof text, nullptr, nullptr);
        skin = text;
    }
    ::LocalFree(arguments);
    return skin;
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    try {
        COleInitializer ole;
        GalleryWindow gallery((ProgramFolder() + "Skins").c_str());
        const std::string skin = SkinArgument();
        if (!gallery.Create(skin.empty() ? nullptr : skin.c_str())) return 1;
        MSG message;
        while (::GetMessageA(&message, nullptr, 0, 0) > 0) {
            if (ClsSkinnedMainMenu* menu = gallery.GetMainMenu(); menu && menu->IsMenuCommand(message)) continue;
            ::TranslateMessage(&message);
            ::DispatchMessageA(&message);
        }
        return 0;
    } catch (...) {
        AfxTraceCaughtException("gallery");
        return 1;
    }
}
