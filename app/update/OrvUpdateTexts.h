#pragma once
// The texts and fixed names of updating.

// The notification cloud while the update downloads.
#define ORV_UPDATE_NOTICE_TEXT "ORVANE IS\r\nDOWNLOADING\r\nTHE LATEST\r\nUPDATE"

// The consent question after the download: information icon, OK button.
#define ORV_UPDATE_CONSENT_TEXT \
    "Orvane has successfully downloaded the latest update.\r\nPlease, press OK to start upgrade."
#define ORV_UPDATE_CONSENT_CAPTION "Orvane AutoUpdate"

// The downloaded archive is a temporary file with this name prefix.
#define ORV_UPDATE_FILE_PREFIX "Orv"

// The title of the skinned menu window, which never takes the question.
#define ORV_UPDATE_MENU_TITLE "orvmenu"

// The settings store value beside the last check date that keeps its year.
#define ORV_UPDATE_CHECK_YEAR_VALUE "Last Check Year"
