#pragma once
#include "CString.h"

#include <vector>

struct ORVCONTACTINFO;

// A person the user may choose as a contact: the name, the e-mail and where
// it came from (a mail client's name, or kManualSource). Current contacts
// of a member also carry the member ID.
struct OrvCandidate {
    CString name;
    CString email;
    CString source;
    CString memberId;
};

// The two lists of the contact selection page, without windows: the
// candidates not chosen and the chosen contacts, with the rules for moving
// between them, importing a mail client and typing a contact in by hand.
// E-mail addresses are compared without regard to case throughout.
class OrvContactSelection {
public:
    static const char* const kManualSource;  // "Manual"
    enum : int { kMinimumContacts = 5, kMaxContacts = 1000 };

    enum AddResult { kAdded, kIsOwnEmail, kAlreadySelected, kListFull };

    // The user's own address, which can never be a contact.
    void SetOwnEmail(const CString& email) { m_ownEmail = email; }
    const CString& GetOwnEmail() const { return m_ownEmail; }
    // The member's current contacts: they start selected, and the strings
    // of Add/Remove Contacts are built against them.
    void SetCurrentContacts(const ORVCONTACTINFO* contacts, int count);
    void SetCurrentContacts(const std::vector<OrvCandidate>& contacts);

    // Opening: every loaded candidate not selected yet fills the
    // non-selected list (in the order given, one per address).
    void Fill(const std::vector<OrvCandidate>& loaded);
    // A mail client was loaded: the non-selected candidates not typed in
    // by hand are dropped, each loaded one neither selected nor
    // non-selected is put in front; returns how many non-selected
    // candidates now have source clientName.
    int Import(const std::vector<OrvCandidate>& loaded, const CString& clientName);

    // Moves the non-selected rows (indices into GetNonSelected) to the top
    // of the selected list, keeping their order. Rows with the own e-mail
    // stay; the return is how many of those were refused.
    int Add(const std::vector<int>& rows);
    int AddAll();
    // Moves selected rows back to the top of the non-selected list.
    void Remove(const std::vector<int>& rows);
    void RemoveAll();
    // A contact typed in by hand goes into the selected list.
    AddResult AddManual(const CString& name, const CString& email);

    const std::vector<OrvCandidate>& GetNonSelected() const { return m_nonSelected; }
    const std::vector<OrvCandidate>& GetSelected() const { return m_selected; }
    bool IsSelected(const CString& email) const;
    bool HasEnoughContacts() const { return static_cast<int>(m_selected.size()) >= kMinimumContacts; }

    // "first,last,email;..." of every selected contact (first and last name
    // cut to 15 characters, the e-mail to 40).
    CString GetContactsString() const;
    // The same of the selected contacts that are not current contacts.
    CString GetNewContactsString() const;
    // The member IDs of current contacts no longer selected, joined by commas.
    CString GetRemovedIdsString() const;

    // One entry of the contacts string.
    static CString ContactEntry(const OrvCandidate& candidate);

private:
    static bool Contains(const std::vector<OrvCandidate>& list, const CString& email);
    bool IsCurrent(const CString& email) const;

    std::vector<OrvCandidate> m_nonSelected;
    std::vector<OrvCandidate> m_selected;
    std::vector<OrvCandidate> m_current;
    CString m_ownEmail;
};
