#pragma once
// The program's registered window messages, obtained once during static
// initialisation (before start-up runs) and read everywhere afterwards.
#include <windows.h>

struct OrvRegisteredMessages {
    UINT showDemoDialog;  // "WM_OrvShowDemoDlg"
    UINT errorNotify;     // "OnErrorNotifyMessage"
    UINT tray;            // "$$ORVANE$$TRAYMESSAGE$$"
    UINT changeBanner;    // "$$ORVANE$$CHANGEBANNER$$MESSAGE$$"
    UINT restoreWindow;   // "$$ORVANE$$RESTOREWINDOW$$MESSAGE$$"
    UINT startUpgrade;    // "$$ORVANE$$STARTUPGRADE$$MESSAGE$$"
    UINT closeDialog;     // "WM_OrvCloseDialog": wParam is the dialog's result
};

// Filled before main code runs; every field non-zero once registered.
const OrvRegisteredMessages& OrvMessages();
