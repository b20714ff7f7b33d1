#include "CWizardContactsPage.h"

#include "DialogIds.h"

const char* const CWizardContactsPage::kTooFewText =
    "You have chosen less than 5 contacts, \nthat are needed for building your contact-tree.\n"
    " You can manually add contacts by pressing \nthe \"Add a contact manually\" button.";

CWizardContactsPage::CWizardContactsPage() : CContactSelectionPage(IDD_WIZARD_CONTACTS) {}

bool CWizardContactsPage::CheckPage() {
    if (!GetSelection().HasEnoughContacts()) {
        ShowMessage(kTooFewText, "Orvane", MB_OK | MB_ICONINFORMATION);
        return false;
    }
    m_contacts = GetSelection().GetContactsString();
    return true;
}
