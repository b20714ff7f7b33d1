#pragma once
#include "CWizardPage.h"
#include "OrvContactSelection.h"

class OrvAddressBook;
struct ORVCONTACTINFO;

// The contact selection page shared by wizard step 3 and Add/Remove
// Contacts: the non-selected candidates from the mail clients' address
// books, the selected contacts, the mail client buttons, and contacts
// typed in by hand (CManualContactDialog).
class CContactSelectionPage : public CWizardPage {
public:
    // Before showing: the address book (borrowed; the main frame owns it),
    // the user's own address and, for Add/Remove, the current contacts.
    void SetAddressBook(OrvAddressBook* book) { m_book = book; }
    void SetOwnEmail(const char* email);
    void SetCurrentContacts(const ORVCONTACTINFO* contacts, int count);

    OrvContactSelection& GetSelection() { return m_selection; }
    const OrvContactSelection& GetSelection() const { return m_selection; }

protected:
    // Registers the list view class the templates use.
    explicit CContactSelectionPage(UINT templateId);

    BOOL OnInitDialog() override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;

    // Fills both lists from the selection.
    void RefillLists();

private:
    void ImportClient(int code);
    void AddRows(bool all);
    void RemoveRows(bool all);
    void AddManually();
    std::vector<int> SelectedRows(int listId) const;
    std::vector<OrvCandidate> LoadedCandidates() const;

    OrvAddressBook* m_book = nullptr;
    OrvContactSelection m_selection;
};
