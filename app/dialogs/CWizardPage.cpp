#include "CWizardPage.h"

#include "DialogIds.h"
#include "OrvSiteLinks.h"

const char* const CWizardPage::kQuitQuestion =
    "You have chosen to exit the Contact-tree Wizard.\nYour Contact-tree has therefore not been completed.\n"
    "Are you sure you want to quit the Contact-tree Wizard?";
const char* const CWizardPage::kSupportText = "* for on-line support please e-mail";

BOOL CWizardPage::OnInitDialog() {
    COrvSkinnedDialog::OnInitDialog();
    SetItemText(IDC_SUPPORT_TEXT, kSupportText);
    SetItemText(IDC_SUPPORT_LINK, OrvSiteLinks::GetSupportEmail());
    MakeLink(IDC_SUPPORT_LINK);
    return TRUE;
}

void CWizardPage::OnOK() {
    SaveFields();
    if (CheckPage()) PostResult(kNext);
}

void CWizardPage::OnCancel() {
    const int answer = ShowMessage(kQuitQuestion, "Orvane", MB_OKCANCEL | MB_ICONQUESTION);
    PostResult(answer == IDOK ? kQuit : kStay);
}

BOOL CWizardPage::OnCommand(WPARAM wParam, LPARAM lParam) {
    const int id = LOWORD(wParam);
    const int code = HIWORD(wParam);
    if (id == IDC_WIZARD_BACK && code == BN_CLICKED) {
        SaveFields();
        PostResult(kBack);
        return TRUE;
    }
    if (id == IDC_SUPPORT_LINK && code == STN_CLICKED) {
        OrvSiteLinks::Open(m_hWnd, "mailto:" + OrvSiteLinks::GetSupportEmail());
        return TRUE;
    }
    return COrvSkinnedDialog::OnCommand(wParam, lParam);
}
