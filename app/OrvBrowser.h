#pragma once
// Opens an address in the default web browser: the program that opens an
// ".htm" file. Any failure (an empty address included) shows "Can't open
// default web browser." through the messenger.
#include <windows.h>

class OrvIMessenger;

class OrvBrowser {
public:
    static bool Open(HWND owner, const char* url, OrvIMessenger* messenger);
    // The program that opens ".htm" files; false when none.
    static bool FindBrowser(char* program, DWORD size);
};
