#pragma once
// Resource numbers of Orvane.exe.

// Icons: the program, and the tray's presence states.
#define IDI_ORVANE 128
#define IDI_STATUS_ONLINE 181
#define IDI_STATUS_FRIENDS 182
#define IDI_STATUS_AWAY 183
#define IDI_STATUS_OFFLINE 184

// The main menu.
#define IDR_MAINMENU 141

// Waiting dialogs, ended by the answer they wait for.
#define IDD_WAIT_LOGIN 131
#define IDD_WAIT_ADD_USER 132
#define IDD_WAIT_VERIFY 143
#define IDD_WAIT_LOGIN_AGAIN 159
#define IDC_WAIT_TEXT 1000

// Menu commands. Those whose feature is not in the program yet are shown
// disabled (OrvMainFrame::UpdateMenuStates).
#define ID_FILE_SAVE_TREE 32790
#define ID_FILE_PRINT_TREE 32791
#define ID_FILE_SIGN_IN 32792
#define ID_FILE_SIGN_OUT 32793
#define ID_FILE_EXIT 32794
#define ID_STATUS_ONLINE 32795
#define ID_STATUS_FRIENDS 32796
#define ID_STATUS_AWAY 32797
#define ID_STATUS_OFFLINE 32798
#define ID_VIEW_MY_TREE 32799
#define ID_VIEW_BACK 32800
#define ID_VIEW_FORWARD 32801
#define ID_VIEW_SKINS 32802
#define ID_VIEW_SOUNDS 32803
#define ID_TOOLS_EDIT_MY_CONTACTS 32782
#define ID_TOOLS_EDIT_PERSONAL_INFO 32783
#define ID_TOOLS_FIRST_RUN 32784
#define ID_TOOLS_CHAT_ROOMS 32804
#define ID_TOOLS_FAVORITES 32805
#define ID_TOOLS_RUN_AT_STARTUP 32807
#define ID_TOOLS_START_INFO 32818
#define ID_HELP_TOPICS 32808
#define ID_HELP_TIPS 32809
#define ID_HELP_ABOUT 32810

// Strings.
#define IDS_WAIT_LOGIN 2001
