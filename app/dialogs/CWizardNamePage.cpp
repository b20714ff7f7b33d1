#include "CWizardNamePage.h"

#include "DialogIds.h"

CWizardNamePage::CWizardNamePage() : CWizardPage(IDD_WIZARD_NAME) {}

void CWizardNamePage::SetName(const char* name) {
    m_name = name ? name : "";
    OrvEntryRules::SplitName(m_name, &m_firstName, &m_lastName);
    if (IsWindow()) SetItemText(IDC_WIZARD_NAME, m_name);
}

void CWizardNamePage::SetFreeText(const char* text) {
    m_freeText = text ? text : "";
    if (IsWindow()) SetItemText(IDC_FREE_TEXT, m_freeText);
}

BOOL CWizardNamePage::OnInitDialog() {
    CWizardPage::OnInitDialog();
    ::SendDlgItemMessageA(m_hWnd, IDC_WIZARD_NAME, EM_LIMITTEXT, 256, 0);
    ::SendDlgItemMessageA(m_hWnd, IDC_FREE_TEXT, EM_LIMITTEXT, 4096, 0);
    SetItemText(IDC_WIZARD_NAME, m_name);
    SetItemText(IDC_FREE_TEXT, m_freeText);
    return TRUE;
}

void CWizardNamePage::SaveFields() {
    m_name = OrvEntryRules::Trimmed(GetItemText(IDC_WIZARD_NAME));
    OrvEntryRules::SplitName(m_name, &m_firstName, &m_lastName);
    m_freeText = OrvEntryRules::Trimmed(GetItemText(IDC_FREE_TEXT));
}

bool CWizardNamePage::CheckPage() {
    const OrvEntryProblem problem = OrvEntryRules::CheckWizardName(m_name, m_freeText);
    ShowProblem(problem);
    if (problem.IsProblem()) return false;
    m_freeText = OrvEntryRules::ReformatFreeText(m_freeText);
    return true;
}
