#include "CAddRemoveContactsDialog.h"

#include "DialogIds.h"

const char* const CAddRemoveContactsDialog::kTooFewText =
    "In order to build your contact-tree sufficiently, \nyou need to enter at least 5 contacts.";

CAddRemoveContactsDialog::CAddRemoveContactsDialog() : CContactSelectionPage(IDD_ADD_REMOVE_CONTACTS) {}

void CAddRemoveContactsDialog::OnOK() {
    if (!GetSelection().HasEnoughContacts()) {
        ShowMessage(kTooFewText, "Too few contacts for contact-tree", MB_OK | MB_ICONINFORMATION);
        return;
    }
    m_newContacts = GetSelection().GetNewContactsString();
    m_removedIds = GetSelection().GetRemovedIdsString();
    PostResult(kNext);
}

void CAddRemoveContactsDialog::OnCancel() { PostResult(kQuit); }
