#include "CChangeEmailDialog.h"

#include "DialogIds.h"

CChangeEmailDialog::CChangeEmailDialog() : COrvSkinnedDialog(IDD_CHANGE_EMAIL) {}

void CChangeEmailDialog::SetEmail(const char* email) {
    m_email = email ? email : "";
    if (IsWindow()) SetItemText(IDC_NEW_EMAIL, m_email);
}

BOOL CChangeEmailDialog::OnInitDialog() {
    COrvSkinnedDialog::OnInitDialog();
    ::SendDlgItemMessageA(m_hWnd, IDC_NEW_EMAIL, EM_LIMITTEXT, 256, 0);
    SetItemText(IDC_NEW_EMAIL, m_email);
    return TRUE;
}

BOOL CChangeEmailDialog::OnCommand(WPARAM wParam, LPARAM lParam) {
    if (HIWORD(wParam) == BN_CLICKED && LOWORD(wParam) == IDC_CHANGE_OK) {
        OnOK();
        return TRUE;
    }
    if (HIWORD(wParam) == BN_CLICKED && LOWORD(wParam) == IDC_CHANGE_CANCEL) {
        OnCancel();
        return TRUE;
    }
    return COrvSkinnedDialog::OnCommand(wParam, lParam);
}

void CChangeEmailDialog::OnOK() {
    const CString email = OrvEntryRules::Trimmed(GetItemText(IDC_NEW_EMAIL));
    const OrvEntryProblem problem = OrvEntryRules::CheckChangedEmail(email);
    if (problem.IsProblem()) {
        ShowProblem(problem);
        return;
    }
    m_email = email;
    PostResult(kNext);
}

void CChangeEmailDialog::OnCancel() { PostResult(kQuit); }
