#pragma once
// Resource numbers and control ids of the sign-up, log-in and contact
// dialogs (Dialogs.rc). Included by resource scripts and by C++.

// Dialog templates.
#define IDD_WIZARD_EMAIL 133
#define IDD_FIRST_LOGIN 136
#define IDD_WIZARD_NAME 137
#define IDD_WIZARD_CONTACTS 138
#define IDD_WIZARD_FINISH 139
#define IDD_MANUAL_CONTACT 142
#define IDD_ADD_REMOVE_CONTACTS 147
#define IDD_CHANGE_EMAIL 154
#define IDD_START_INFO 230

// Wizard step 1.
#define IDC_WIZARD_EMAIL 1029
#define IDC_HIDE_EMAIL 1004
// Wizard step 2.
#define IDC_WIZARD_NAME 1030
#define IDC_FREE_TEXT 1015
// Wizard step 4.
#define IDC_FINISH_EMAIL 1118
// The selection page (step 3 and Add/Remove Contacts).
#define IDC_EXPAND_NETWORK 1116
#define IDC_NONSELECTED_LIST 1210
#define IDC_SELECTED_LIST 1211
#define IDC_ADD 1212
#define IDC_ADD_ALL 1213
#define IDC_REMOVE 1214
#define IDC_REMOVE_ALL 1215
#define IDC_ADD_MANUALLY 1216
#define IDC_CLIENT_ICQ 1217
#define IDC_CLIENT_MSN 1218
#define IDC_CLIENT_YAHOO 1219
#define IDC_CLIENT_LOTUS 1220
#define IDC_CLIENT_OUTLOOK 1221
#define IDC_NONSELECTED_LABEL 1222
#define IDC_SELECTED_LABEL 1223
// Every wizard page.
#define IDC_WIZARD_BACK 1201
#define IDC_SUPPORT_TEXT 1202
#define IDC_SUPPORT_LINK 1203
#define IDC_WIZARD_INTRO 1204
// The manual contact dialog.
#define IDC_MANUAL_NAME 1075
#define IDC_MANUAL_EMAIL 1076
// The first log-in page.
#define IDC_LOGIN_PASSWORD 1003
#define IDC_LOGIN_BUTTON 1026
#define IDC_LOGIN_TEXT1 1071
#define IDC_LOGIN_TEXT2 1072
#define IDC_LOGIN_TEXT3 1073
#define IDC_CHANGE_EMAIL_BUTTON 1119
#define IDC_LOGIN_EMAIL 1120
#define IDC_LOGIN_TEXT4 1122
// The e-mail change box.
#define IDC_NEW_EMAIL 1123
#define IDC_CHANGE_OK 1102
#define IDC_CHANGE_CANCEL 1105
// The start-information box.
#define IDC_START_INFO_TEXT 1300
#define IDC_START_INFO_AGAIN 1301
#define IDC_START_INFO_OK 1302
