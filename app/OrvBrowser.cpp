#include "OrvBrowser.h"

#include "OrvMessenger.h"

#include <shellapi.h>

#include <cstring>

bool OrvBrowser::FindBrowser(char* program, DWORD size) {
    if (size < MAX_PATH) return false;
    char folder[MAX_PATH] = {};
    char name[MAX_PATH] = {};
    if (!::GetTempPathA(sizeof folder, folder)) return false;
    if (!::GetTempFileNameA(folder, "orv", 0, name)) return false;
    // GetTempFileName made "orvXXXX.tmp"; the page's twin gets ".htm".
    ::DeleteFileA(name);
    const size_t length = std::strlen(name);
    if (length + 5 >= sizeof name) return false;
    std::strcat(name, ".htm");
    HANDLE file = ::CreateFileA(name, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    ::CloseHandle(file);
    program[0] = 0;
    const HINSTANCE found = ::FindExecutableA(name, nullptr, program);
    ::DeleteFileA(name);
    return reinterpret_cast<INT_PTR>(found) > 32 && program[0];
}

bool OrvBrowser::Open(HWND owner, const char* url, OrvIMessenger* messenger) {
    char program[MAX_PATH] = {};
    bool opened = false;
    if (url && *url && FindBrowser(program, sizeof program))
        opened = reinterpret_cast<INT_PTR>(::ShellExecuteA(owner, "open", program, url, nullptr, SW_SHOWNORMAL)) > 32;
    if (!opened && messenger)
        messenger->ShowMessage(owner, "Can't open default web browser.", "Orvane", MB_OK | MB_ICONSTOP);
    return opened;
}
