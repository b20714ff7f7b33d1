#pragma once
// Window messages that cross deliverables. Registered messages get their
// numbers from RegisterWindowMessage at run time (they differ between runs);
// only their names are fixed here.
#include <windows.h>

// Registered by the main program.
#define ORV_MSGNAME_SHOW_DEMO_DLG   "WM_OrvShowDemoDlg"
#define ORV_MSGNAME_ERROR_NOTIFY    "OnErrorNotifyMessage"
#define ORV_MSGNAME_TRAY            "$$ORVANE$$TRAYMESSAGE$$"
#define ORV_MSGNAME_CHANGE_BANNER   "$$ORVANE$$CHANGEBANNER$$MESSAGE$$"
#define ORV_MSGNAME_RESTORE_WINDOW  "$$ORVANE$$RESTOREWINDOW$$MESSAGE$$"
#define ORV_MSGNAME_START_UPGRADE   "$$ORVANE$$STARTUPGRADE$$MESSAGE$$"
#define ORV_MSGNAME_CLOSE_DIALOG    "WM_OrvCloseDialog"
// Registered by the skinned control library.
#define ORV_MSGNAME_SKIN_CHANGED    "wmSkinChanged"
#define ORV_MSGNAME_GET_SKIN_THEMA  "wmGetSkinThema"

// The main window's class, through which a second instance, the updater and
// the program killer find a running program.
#define ORV_MAIN_WINDOW_CLASS       "OrvaneMainWindowClass"
// Clipboard format of contacts dragged between windows.
#define ORV_CLIPFORMAT_CONTACT      "OrvaneContact"

// Private messages in the application range.
enum : UINT {
    ORV_WM_TREE_SKIN        = 0x8010,  // lParam: TREESKININFO*
    ORV_WM_TREE_SELECT      = 0x8032,  // run the selection animation
    ORV_WM_TREE_SQUEEZE     = 0x8033,
    ORV_WM_TREE_INSTANT     = 0x8034,
    ORV_WM_TREE_HIDDEN      = 0x8035,
    ORV_WM_TREE_DATA        = 0x803C,  // wParam: record count, lParam: ORVCONTACTINFO*
    ORV_WM_QUERY_DROP       = 0x8DAD,  // answer 1 to take dropped contacts
    ORV_WM_CONTACT_DROPPED  = 0x8DAE,  // lParam: ORVCONTACTINFO*, valid during the call
    ORV_WM_DIALOG_RESULT    = 3024,    // lParam: the result, to a waiting dialog
};
static_assert(ORV_WM_TREE_SKIN == WM_APP + 16, "the tree skin message is the application range plus 16");
