#include "CManualContactDialog.h"

#include "DialogIds.h"

CManualContactDialog::CManualContactDialog() : COrvSkinnedDialog(IDD_MANUAL_CONTACT) {}

BOOL CManualContactDialog::OnInitDialog() {
    COrvSkinnedDialog::OnInitDialog();
    ::SendDlgItemMessageA(m_hWnd, IDC_MANUAL_NAME, EM_LIMITTEXT, 256, 0);
    ::SendDlgItemMessageA(m_hWnd, IDC_MANUAL_EMAIL, EM_LIMITTEXT, 256, 0);
    return TRUE;
}

void CManualContactDialog::OnOK() {
    m_name = OrvEntryRules::Trimmed(GetItemText(IDC_MANUAL_NAME));
    m_email = OrvEntryRules::Trimmed(GetItemText(IDC_MANUAL_EMAIL));
    const OrvEntryProblem problem = OrvEntryRules::CheckManualContact(m_name, m_email);
    if (problem.IsProblem()) {
        ShowProblem(problem);
        return;
    }
    PostResult(kNext);
}

void CManualContactDialog::OnCancel() { PostResult(kQuit); }
