#include "CWizardFinishPage.h"

#include "DialogIds.h"

CWizardFinishPage::CWizardFinishPage() : CWizardPage(IDD_WIZARD_FINISH) {}

void CWizardFinishPage::SetEmail(const char* email) {
    m_email = email ? email : "";
    if (IsWindow()) SetItemText(IDC_FINISH_EMAIL, m_email);
}

BOOL CWizardFinishPage::OnInitDialog() {
    CWizardPage::OnInitDialog();
    SetItemText(IDC_FINISH_EMAIL, m_email);
    SetItemColor(IDC_FINISH_EMAIL, RGB(0, 0, 128));
    MakeBold(IDC_FINISH_EMAIL);
    // Enter finishes: the focus starts on "&Finish", not on "< &Back".
    ::SetFocus(::GetDlgItem(m_hWnd, IDOK));
    return FALSE;
}
