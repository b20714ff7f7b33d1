#pragma once
// Resource ids of the updater.
#define IDI_ORVANE              128

#define IDD_UPDATE              102
#define IDC_UPDATE_PROGRESS     1000
#define IDC_UPDATE_DETAIL       1001
#define IDC_UPDATE_TEXT         1002

#define IDS_UPGRADING_TO        102
#define IDS_UPDATE_CAPTION      103
#define IDS_CONFIRM_CANCEL      104
#define IDS_UPDATE_FAILED       105
#define IDS_UPDATE_COMPLETED    106
