#include "OrvWaitDialog.h"

#include "OrvMessages.h"
#include "OrvRegisteredMessages.h"

OrvWaitDialog::OrvWaitDialog(UINT templateId) : m_templateId(templateId) {}

OrvWaitDialog::~OrvWaitDialog() {
    m_skin.Uninstall();
    if (m_hWnd) DestroyWindow();
}

bool OrvWaitDialog::Create(CWnd* parent) { return CDialog::Create(m_templateId, parent); }

BOOL OrvWaitDialog::OnInitDialog() {
    CDialog::OnInitDialog();
    m_skin.Install(m_hWnd, "dialog");
    return TRUE;
}

void OrvWaitDialog::Finish(int result) {
    // One result per wait: a late answer after Cancel changes nothing.
    if (m_finished) return;
    m_finished = true;
    PostMessage(OrvMessages().closeDialog, static_cast<WPARAM>(result), 0);
}

void OrvWaitDialog::OnCancel() { Finish(kResultCancel); }

// Enter does not end a wait.
void OrvWaitDialog::OnOK() {}

bool OrvWaitDialog::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
    if (message == ORV_WM_DIALOG_RESULT) {
        Finish(static_cast<int>(lParam));
        *result = 0;
        return true;
    }
    if (message == WM_SHOWWINDOW && wParam) m_finished = false;
    return CDialog::OnWndMsg(message, wParam, lParam, result);
}
