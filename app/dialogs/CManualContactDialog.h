#pragma once
#include "COrvSkinnedDialog.h"

// A contact typed in by hand (resource 142): OK checks the name and the
// address and gives kNext; Cancel gives kQuit.
class CManualContactDialog : public COrvSkinnedDialog {
public:
    CManualContactDialog();

    // After kNext: the trimmed name and address.
    const CString& GetName() const { return m_name; }
    const CString& GetEmail() const { return m_email; }

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;

private:
    CString m_name;
    CString m_email;
};
