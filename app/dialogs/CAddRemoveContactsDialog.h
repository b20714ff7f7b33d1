#pragma once
#include "CContactSelectionPage.h"

// "Add/Remove Contacts" (resource 147): the selection page over the
// member's current contacts. OK with at least five contacts gives kNext
// and two strings for the server; Cancel gives kQuit at once.
class CAddRemoveContactsDialog : public CContactSelectionPage {
public:
    static const char* const kTooFewText;

    CAddRemoveContactsDialog();

    // After kNext: "first,last,email;..." of the contacts added, and the
    // member IDs of the contacts removed, joined by commas.
    const CString& GetNewContactsString() const { return m_newContacts; }
    const CString& GetRemovedIdsString() const { return m_removedIds; }

protected:
    void OnOK() override;
    void OnCancel() override;

private:
    CString m_newContacts;
    CString m_removedIds;
};
