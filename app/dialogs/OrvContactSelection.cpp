#include "OrvContactSelection.h"

#include "OrvEntryRules.h"

#include "OrvContactInfo.h"

#include <algorithm>

const char* const OrvContactSelection::kManualSource = "Manual";

namespace {
// The network's own name for a current contact's source.
const char* const kCurrentSource = "Orvane";

// Characters that would split an entry of the contacts string (or that the
// server refuses in names) become blanks; the blanks are then tidied.
CString CleanNamePart(const CString& part) {
    CString clean(part);
    for (int i = 0; i < clean.GetLength(); ++i)
        if (OrvEntryRules::HasForbiddenCharacter(CString(clean[i]))) clean.SetAt(i, ' ');
    while (clean.Find("  ") >= 0) clean.Replace("  ", " ");
    clean.Trim();
    return clean;
}
}  // namespace

void OrvContactSelection::SetCurrentContacts(const ORVCONTACTINFO* contacts, int count) {
    std::vector<OrvCandidate> current;
    for (int i = 0; contacts && i < count; ++i) {
        OrvCandidate candidate;
        candidate.name = OrvDisplayName(contacts[i]);
        candidate.email = contacts[i].email;
        candidate.source = kCurrentSource;
        candidate.memberId = contacts[i].id;
        current.push_back(candidate);
    }
    SetCurrentContacts(current);
}

void OrvContactSelection::SetCurrentContacts(const std::vector<OrvCandidate>& contacts) {
    m_current.clear();
    m_selected.clear();
    for (const OrvCandidate& contact : contacts) {
        if (Contains(m_current, contact.email) || static_cast<int>(m_current.size()) >= kMaxContacts) continue;
        m_current.push_back(contact);
        m_selected.push_back(contact);
    }
    // A current contact is never also a candidate.
    m_nonSelected.erase(std::remove_if(m_nonSelected.begin(), m_nonSelected.end(),
                                       [this](const OrvCandidate& c) { return IsSelected(c.email); }),
                        m_nonSelected.end());
}

void OrvContactSelection::Fill(const std::vector<OrvCandidate>& loaded) {
    for (const OrvCandidate& candidate : loaded) {
        if (IsSelected(candidate.email) || Contains(m_nonSelected, candidate.email)) continue;
        if (static_cast<int>(m_nonSelected.size()) >= kMaxContacts) break;
        m_nonSelected.push_back(candidate);
    }
}

int OrvContactSelection::Import(const std::vector<OrvCandidate>& loaded, const CString& clientName) {
    m_nonSelected.erase(std::remove_if(m_nonSelected.begin(), m_nonSelected.end(),
                                       [](const OrvCandidate& c) { return c.source != kManualSource; }),
                        m_nonSelected.end());
    std::vector<OrvCandidate> added;
    for (const OrvCandidate& candidate : loaded) {
        if (IsSelected(candidate.email) || Contains(m_nonSelected, candidate.email) || Contains(added, candidate.email))
            continue;
        if (static_cast<int>(m_nonSelected.size() + added.size()) >= kMaxContacts) break;
        added.push_back(candidate);
    }
    m_nonSelected.insert(m_nonSelected.begin(), added.begin(), added.end());
    return static_cast<int>(std::count_if(m_nonSelected.begin(), m_nonSelected.end(),
                                          [&](const OrvCandidate& c) { return c.source == clientName; }));
}

int OrvContactSelection::Add(const std::vector<int>& rows) {
    std::vector<int> sorted(rows);
    std::sort(sorted.begin(), sorted.end());
    sorted.erase(std::unique(sorted.begin(), sorted.end()), sorted.end());
    std::vector<OrvCandidate> moving;
    std::vector<bool> leaving(m_nonSelected.size(), false);
    int refused = 0;
    for (int row : sorted) {
        if (row < 0 || row >= static_cast<int>(m_nonSelected.size())) continue;
        const OrvCandidate& candidate = m_nonSelected[static_cast<size_t>(row)];
        if (!m_ownEmail.IsEmpty() && candidate.email.CompareNoCase(m_ownEmail) == 0) {
            ++refused;
            continue;
        }
        if (static_cast<int>(m_selected.size() + moving.size()) >= kMaxContacts) break;
        leaving[static_cast<size_t>(row)] = true;
        // The same address twice in the candidates moves once.
        if (!IsSelected(candidate.email) && !Contains(moving, candidate.email)) moving.push_back(candidate);
    }
    std::vector<OrvCandidate> staying;
    for (size_t i = 0; i < m_nonSelected.size(); ++i)
        if (!leaving[i]) staying.push_back(m_nonSelected[i]);
    m_nonSelected.swap(staying);
    m_selected.insert(m_selected.begin(), moving.begin(), moving.end());
    return refused;
}

int OrvContactSelection::AddAll() {
    std::vector<int> rows;
    for (int i = 0; i < static_cast<int>(m_nonSelected.size()); ++i) rows.push_back(i);
    return Add(rows);
}

void OrvContactSelection::Remove(const std::vector<int>& rows) {
    std::vector<bool> leaving(m_selected.size(), false);
    for (int row : rows)
        if (row >= 0 && row < static_cast<int>(m_selected.size())) leaving[static_cast<size_t>(row)] = true;
    std::vector<OrvCandidate> moving, staying;
    for (size_t i = 0; i < m_selected.size(); ++i) (leaving[i] ? moving : staying).push_back(m_selected[i]);
    m_selected.swap(staying);
    m_nonSelected.insert(m_nonSelected.begin(), moving.begin(), moving.end());
}

void OrvContactSelection::RemoveAll() {
    m_nonSelected.insert(m_nonSelected.begin(), m_selected.begin(), m_selected.end());
    m_selected.clear();
}

OrvContactSelection::AddResult OrvContactSelection::AddManual(const CString& name, const CString& email) {
    if (!m_ownEmail.IsEmpty() && email.CompareNoCase(m_ownEmail) == 0) return kIsOwnEmail;
    if (IsSelected(email)) return kAlreadySelected;
    if (static_cast<int>(m_selected.size()) >= kMaxContacts) return kListFull;
    m_nonSelected.erase(std::remove_if(m_nonSelected.begin(), m_nonSelected.end(),
                                       [&](const OrvCandidate& c) { return c.email.CompareNoCase(email) == 0; }),
                        m_nonSelected.end());
    OrvCandidate candidate;
    candidate.name = name;
    candidate.email = email;
    candidate.source = kManualSource;
    m_selected.insert(m_selected.begin(), candidate);
    return kAdded;
}

bool OrvContactSelection::IsSelected(const CString& email) const { return Contains(m_selected, email); }

CString OrvContactSelection::ContactEntry(const OrvCandidate& candidate) {
    CString first, last;
    OrvEntryRules::SplitName(CleanNamePart(candidate.name), &first, &last);
    CString entry = CleanNamePart(first).Left(OrvEntryRules::kMaxNamePartLength);
    entry += ",";
    entry += CleanNamePart(last).Left(OrvEntryRules::kMaxNamePartLength);
    entry += ",";
    entry += candidate.email.Left(OrvEntryRules::kMaxEmailLength);
    return entry;
}

CString OrvContactSelection::GetContactsString() const {
    CString text;
    for (const OrvCandidate& candidate : m_selected) {
        if (!text.IsEmpty()) text += ";";
        text += ContactEntry(candidate);
    }
    return text;
}

CString OrvContactSelection::GetNewContactsString() const {
    CString text;
    for (const OrvCandidate& candidate : m_selected) {
        if (IsCurrent(candidate.email)) continue;
        if (!text.IsEmpty()) text += ";";
        text += ContactEntry(candidate);
    }
    return text;
}

CString OrvContactSelection::GetRemovedIdsString() const {
    CString text;
    for (const OrvCandidate& contact : m_current) {
        if (IsSelected(contact.email)) continue;
        if (!text.IsEmpty()) text += ",";
        text += contact.memberId;
    }
    return text;
}

bool OrvContactSelection::Contains(const std::vector<OrvCandidate>& list, const CString& email) {
    return std::any_of(list.begin(), list.end(),
                       [&](const OrvCandidate& c) { return c.email.CompareNoCase(email) == 0; });
}

bool OrvContactSelection::IsCurrent(const CString& email) const { return Contains(m_current, email); }
