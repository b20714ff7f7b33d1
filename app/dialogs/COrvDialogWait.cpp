#include "COrvDialogWait.h"

#include "COrvSkinnedDialog.h"

int COrvDialogWait::Run(COrvSkinnedDialog& dialog) {
    if (!dialog.IsWindow()) return -1;
    const UINT closeMessage = COrvSkinnedDialog::GetCloseMessage();
    const HWND notify = dialog.GetNotifyWindow();
    dialog.ShowWindow(SW_SHOWDEFAULT);
    dialog.SetForegroundWindow();
    int result = -1;
    MSG msg{};
    for (;;) {
        const BOOL got = ::GetMessageA(&msg, nullptr, 0, 0);
        if (got == 0) {
            // Somebody wants the program to end: the loop outside sees it too.
            ::PostQuitMessage(static_cast<int>(msg.wParam));
            result = -1;
            break;
        }
        if (got < 0) break;
        if (msg.message == closeMessage && msg.hwnd == notify) {
            result = static_cast<int>(msg.wParam);
            break;
        }
        if (dialog.IsWindow() && ::IsDialogMessageA(dialog.GetSafeHwnd(), &msg)) continue;
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
    if (dialog.IsWindow()) dialog.ShowWindow(SW_HIDE);
    return result;
}
