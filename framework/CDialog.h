#pragma once
#include "CWnd.h"

// A dialog from a template resource of the resource module
// (AfxGetResourceHandle). The dialog procedure takes the object from the
// creation parameter on WM_INITDIALOG and from then on the window runs
// through AfxWndProc like every framework window.
//
// Modal: DoModal disables the owner and runs its own message loop, so
// PreTranslateMessage works as in the application's loop; EndDialog ends it
// with a result. Modeless: Create with a parent; DestroyWindow (or the
// object's end) closes it.
class FW_API CDialog : public CWnd {
public:
    CDialog();
    explicit CDialog(UINT templateId, CWnd* parent = nullptr);
    explicit CDialog(const char* templateName, CWnd* parent = nullptr);

    // The result passed to EndDialog, or -1 when the dialog could not be made.
    virtual INT_PTR DoModal();
    bool Create(UINT templateId, CWnd* parent = nullptr);
    bool Create(const char* templateName, CWnd* parent = nullptr);
    // Ends a modal dialog with result; hides a modeless one.
    void EndDialog(int result);

    // WM_INITDIALOG: true lets the system focus the first control.
    virtual BOOL OnInitDialog();
    // IDOK and IDCANCEL (also Esc and the close box): EndDialog with that id.
    virtual void OnOK();
    virtual void OnCancel();

    // Dialog keyboard handling (Tab, Enter, Esc) for the dialog's messages.
    BOOL PreTranslateMessage(MSG* msg) override;
    const char* GetRuntimeClassName() const override;

protected:
    bool OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;

    const char* m_lpszTemplateName = nullptr;
    CWnd* m_pParentWnd = nullptr;

private:
    friend struct CDialogInternals;
    HWND OwnerWindow() const;
    bool m_inModalLoop = false;
    bool m_endModal = false;
    int m_modalResult = -1;
};
