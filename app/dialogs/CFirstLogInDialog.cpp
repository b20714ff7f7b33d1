#include "CFirstLogInDialog.h"

#include "CChangeEmailDialog.h"
#include "COrvDialogWait.h"
#include "DialogIds.h"
#include "IChangeEmailSender.h"

const char* const CFirstLogInDialog::kNoPasswordText =
    "Orvane has sent you a personal password to your e-mail.\nFor accessing the Orvane system, please type \n"
    "or paste it in the Log-in window";
const char* const CFirstLogInDialog::kChangeAccepted = "0";

namespace {
const COLORREF kNavy = RGB(0, 0, 128);
}

CFirstLogInDialog::CFirstLogInDialog() : COrvSkinnedDialog(IDD_FIRST_LOGIN) {}

void CFirstLogInDialog::SetEmail(const char* email) {
    m_email = email ? email : "";
    if (IsWindow()) SetItemText(IDC_LOGIN_EMAIL, m_email);
}

BOOL CFirstLogInDialog::OnInitDialog() {
    COrvSkinnedDialog::OnInitDialog();
    for (int id : {IDC_LOGIN_TEXT1, IDC_LOGIN_TEXT2, IDC_LOGIN_TEXT3, IDC_LOGIN_TEXT4}) SetItemColor(id, kNavy);
    ::SendDlgItemMessageA(m_hWnd, IDC_LOGIN_PASSWORD, EM_LIMITTEXT, 256, 0);
    SetItemText(IDC_LOGIN_EMAIL, m_email);
    MakeBold(IDC_LOGIN_EMAIL);
    ::SetFocus(::GetDlgItem(m_hWnd, IDC_LOGIN_PASSWORD));
    return FALSE;
}

BOOL CFirstLogInDialog::OnCommand(WPARAM wParam, LPARAM lParam) {
    if (HIWORD(wParam) == BN_CLICKED) {
        switch (LOWORD(wParam)) {
        case IDC_LOGIN_BUTTON: LogIn(); return TRUE;
        case IDC_CHANGE_EMAIL_BUTTON: ChangeEmail(); return TRUE;
        default: break;
        }
    }
    return COrvSkinnedDialog::OnCommand(wParam, lParam);
}

void CFirstLogInDialog::OnOK() { LogIn(); }

void CFirstLogInDialog::OnCancel() { PostResult(kQuit); }

void CFirstLogInDialog::LogIn() {
    m_password = OrvEntryRules::Trimmed(GetItemText(IDC_LOGIN_PASSWORD));
    if (m_password.IsEmpty()) {
        ShowMessage(kNoPasswordText, "Orvane", MB_OK | MB_ICONINFORMATION);
        ::SetFocus(::GetDlgItem(m_hWnd, IDC_LOGIN_PASSWORD));
        return;
    }
    PostResult(kStay);
}

void CFirstLogInDialog::ChangeEmail() {
    CChangeEmailDialog dialog;
    dialog.SetEmail(m_email);
    if (!dialog.Create(this)) return;
    EnableWindow(FALSE);
    const int result = COrvDialogWait::Run(dialog);
    EnableWindow(TRUE);
    dialog.DestroyWindow();
    SetForegroundWindow();
    if (result != kNext || !m_sender) return;
    const CString newEmail = dialog.GetEmail();
    // The sender pumps messages while it waits: the page takes no input then.
    EnableWindow(FALSE);
    const CString answer = m_sender->SendChangeEmail(m_email, newEmail);
    EnableWindow(TRUE);
    if (answer == kChangeAccepted) SetEmail(newEmail);
}
