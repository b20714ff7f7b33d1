#pragma once
#include "CWizardPage.h"

// Wizard step 4 (resource 139): shows the address the password will be
// sent to; "&Finish" gives kNext.
class CWizardFinishPage : public CWizardPage {
public:
    CWizardFinishPage();

    void SetEmail(const char* email);

protected:
    BOOL OnInitDialog() override;

private:
    CString m_email;
};
