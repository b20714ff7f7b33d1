#pragma once
// Starting the program when the member logs on to Windows: the value
// "Orvane" under HKEY_LOCAL_MACHINE "...\CurrentVersion\Run" holding
// "<program path>" -notifier, which replaced the older Startup-folder
// shortcut "Orvane Notifier.lnk".
#include "CString.h"

class OrvStartupSetting {
public:
    static constexpr const char* kRunKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
    static constexpr const char* kValueName = "Orvane";

    static bool IsSet();
    // Writes the value for the running program; true on success.
    static bool Write();
    // Deletes the value; true once the key could be opened.
    static bool Remove();
    // The old shortcut's path; false when the Startup folder is unknown.
    static bool GetShortcutPath(CString* path);
    // What Write stores for a program path.
    static CString CommandFor(const CString& programPath);
};
