#include "OrvMessenger.h"

#include "CSMessageBox.h"

int OrvSkinnedMessenger::ShowMessage(HWND owner, const char* text, const char* caption, UINT type) {
    return CSMessageBox::MessageBoxA(owner, text, caption, type);
}
