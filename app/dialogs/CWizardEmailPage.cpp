#include "CWizardEmailPage.h"

#include "DialogIds.h"

CWizardEmailPage::CWizardEmailPage() : CWizardPage(IDD_WIZARD_EMAIL) {}

void CWizardEmailPage::SetEmail(const char* email) {
    m_email = email ? email : "";
    if (IsWindow()) SetItemText(IDC_WIZARD_EMAIL, m_email);
}

void CWizardEmailPage::SetHideEmail(bool hide) {
    m_hideEmail = hide;
    if (IsWindow()) SetItemChecked(IDC_HIDE_EMAIL, hide);
}

BOOL CWizardEmailPage::OnInitDialog() {
    CWizardPage::OnInitDialog();
    ::SendDlgItemMessageA(m_hWnd, IDC_WIZARD_EMAIL, EM_LIMITTEXT, 256, 0);
    SetItemText(IDC_WIZARD_EMAIL, m_email);
    SetItemChecked(IDC_HIDE_EMAIL, m_hideEmail);
    return TRUE;
}

void CWizardEmailPage::SaveFields() {
    m_email = OrvEntryRules::Trimmed(GetItemText(IDC_WIZARD_EMAIL));
    m_hideEmail = IsItemChecked(IDC_HIDE_EMAIL);
}

bool CWizardEmailPage::CheckPage() {
    const OrvEntryProblem problem = OrvEntryRules::CheckWizardEmail(m_email);
    ShowProblem(problem);
    return !problem.IsProblem();
}
