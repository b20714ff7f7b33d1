#pragma once
// One request of the notification cloud: what to show and where.
#include "CString.h"

#include <windows.h>

enum NotifyKind : int {
    nkNotice = 1,      // a contact came on line, the update notice
    nkInvitation = 2,  // an incoming chat invitation with its two buttons
    nkMenu = 3,        // the tray icon's menu
};

struct NOTIFYREQUEST {
    CString text;
    CString text2;     // invitations: the inviter's display name
    CString identity;  // invitations: the inviter's chat identity
    int kind = nkNotice;
    DWORD param = 0;   // the menu's flags
    int x = 0;         // the screen point the pop-up is placed next to
    int y = 0;
};
