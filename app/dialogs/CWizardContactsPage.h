#pragma once
#include "CContactSelectionPage.h"

// Wizard step 3 (resource 138): at least five contacts to build the
// contact-tree from.
class CWizardContactsPage : public CContactSelectionPage {
public:
    static const char* const kTooFewText;

    CWizardContactsPage();

    // After kNext: "first,last,email;..." of the chosen contacts.
    const CString& GetContactsString() const { return m_contacts; }

protected:
    bool CheckPage() override;

private:
    CString m_contacts;
};
