#pragma once
#include <windows.h>

class COrvSkinnedDialog;

// Runs a modeless dialog as if it were modal: shows it, pumps the thread's
// messages until "WM_OrvCloseDialog" is dispatched or the quit message
// arrives, hides it and gives its result (wParam). A quit message during
// the wait is posted again and gives -1.
class COrvDialogWait {
public:
    static int Run(COrvSkinnedDialog& dialog);
};
