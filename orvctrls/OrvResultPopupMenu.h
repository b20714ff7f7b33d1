#pragma once
// The popup menu of a person in either result list: Chat, Search Path,
// View Orvane Map, a separator, and the two commands that put the person's
// e-mail at an end of the path finder. Its captions come from the language
// file, so it is built at run time rather than loaded from a resource.
#include "ClsSkinnedPopupMenu.h"
#include "OrvCtrlsExport.h"

class OrvLocaleManager;

class ORVCTRLS_API OrvResultPopupMenu : public ClsSkinnedPopupMenu {
public:
    // The items, their commands posted to receiver as WM_COMMAND(id, 0).
    bool Build(OrvLocaleManager* locale, HWND receiver);
    // Enables or disables the item of command (when there is one).
    void EnableCommand(UINT command, bool enabled);
};
