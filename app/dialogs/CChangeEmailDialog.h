#pragma once
#include "COrvSkinnedDialog.h"

// The e-mail change box (resource 154): OK (1102) with a trimmed address
// holding an "@" and a "." gives kNext; Cancel (1105) gives kQuit.
class CChangeEmailDialog : public COrvSkinnedDialog {
public:
    CChangeEmailDialog();

    void SetEmail(const char* email);
    // After kNext: the trimmed address.
    const CString& GetEmail() const { return m_email; }

protected:
    BOOL OnInitDialog() override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    void OnOK() override;
    void OnCancel() override;

private:
    CString m_email;
};
