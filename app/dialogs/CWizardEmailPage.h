#pragma once
#include "CWizardPage.h"

// Wizard step 1 (resource 133): the e-mail address the password goes to,
// and whether it may be shown on the contact-tree.
class CWizardEmailPage : public CWizardPage {
public:
    CWizardEmailPage();

    // Before showing: the fields' values.
    void SetEmail(const char* email);
    void SetHideEmail(bool hide);
    // After kNext: the trimmed address and the flag.
    const CString& GetEmail() const { return m_email; }
    bool GetHideEmail() const { return m_hideEmail; }

protected:
    BOOL OnInitDialog() override;
    void SaveFields() override;
    bool CheckPage() override;

private:
    CString m_email;
    bool m_hideEmail = false;
};
