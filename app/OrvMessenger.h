#pragma once
// Where the program's messages to the member go: skinned message boxes in
// the program, a recorder in tests.
#include <windows.h>

class OrvIMessenger {
public:
    // As MessageBoxA: the button chosen.
    virtual int ShowMessage(HWND owner, const char* text, const char* caption, UINT type) = 0;

protected:
    ~OrvIMessenger() = default;
};

// The program's messenger: CSMessageBox.
class OrvSkinnedMessenger : public OrvIMessenger {
public:
    int ShowMessage(HWND owner, const char* text, const char* caption, UINT type) override;
};
