#include "CStartInfoDialog.h"

#include "DialogIds.h"

CStartInfoDialog::CStartInfoDialog() : COrvSkinnedDialog(IDD_START_INFO) {}

void CStartInfoDialog::SetText(const CString& text) {
    m_text = text;
    if (IsWindow()) SetItemText(IDC_START_INFO_TEXT, m_text);
}

void CStartInfoDialog::SetShowAgain(bool showAgain) {
    m_showAgain = showAgain;
    if (IsWindow()) SetItemChecked(IDC_START_INFO_AGAIN, m_showAgain);
}

BOOL CStartInfoDialog::OnInitDialog() {
    COrvSkinnedDialog::OnInitDialog();
    SetItemText(IDC_START_INFO_TEXT, m_text);
    SetItemChecked(IDC_START_INFO_AGAIN, m_showAgain);
    // The page is read, not edited: no selection, the focus on OK.
    ::SendDlgItemMessageA(m_hWnd, IDC_START_INFO_TEXT, EM_SETSEL, 0, 0);
    ::SetFocus(::GetDlgItem(m_hWnd, IDC_START_INFO_OK));
    return FALSE;
}

BOOL CStartInfoDialog::OnCommand(WPARAM wParam, LPARAM lParam) {
    if (HIWORD(wParam) == BN_CLICKED && LOWORD(wParam) == IDC_START_INFO_OK) {
        OnOK();
        return TRUE;
    }
    return COrvSkinnedDialog::OnCommand(wParam, lParam);
}

void CStartInfoDialog::OnOK() {
    m_showAgain = IsItemChecked(IDC_START_INFO_AGAIN);
    PostResult(kNext);
}
