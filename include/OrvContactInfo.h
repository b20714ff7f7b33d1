#pragma once
// The contact record in which every person travels through the system, and
// the rules every receiver applies to it.
#include "CString.h"

#include <cstdint>
#include <new>

struct ORVCONTACTINFO {
    CString id;            // the person's identifier at the server; compared byte for byte
    int32_t isMember = 0;  // registered member of the network
    int32_t nodeRank = 0;  // sent by the server, carried as received
    CString firstName;
    CString lastName;
    CString email;
    CString occupation;
    int32_t emailPrivate = 0;  // the address must not be shown
    int32_t chatHidden = 0;    // the person does not accept chat
    CString chatPresence;      // non-empty while the person is reachable in chat
    int32_t canChat = 0;       // computed on arrival, see OrvNormaliseContact
};

// Eleven 32-bit slots on the 32-bit program, the layout other libraries expect.
static_assert(sizeof(void*) != 4 || sizeof(ORVCONTACTINFO) == 44,
              "ORVCONTACTINFO is eleven 32-bit slots");

// First name, one blank, last name; no blank when either is empty.
inline CString OrvDisplayName(const CString& firstName, const CString& lastName) {
    if (firstName.IsEmpty()) return lastName;
    if (lastName.IsEmpty()) return firstName;
    return firstName + ' ' + lastName;
}

inline CString OrvDisplayName(const ORVCONTACTINFO& contact) {
    return OrvDisplayName(contact.firstName, contact.lastName);
}

// Applied to every record of search results and contact-trees on arrival;
// whatever canChat the server sent is replaced.
inline void OrvNormaliseContact(ORVCONTACTINFO& contact, bool isSearchResult) {
    contact.canChat = 1;
    if (contact.chatPresence.IsEmpty() || contact.chatHidden != 0 || contact.isMember == 0)
        contact.canChat = 0;
    // The address of a non-member is never shown.
    if (contact.isMember == 0) contact.emailPrivate = 1;
    if (isSearchResult) {
        contact.occupation.Replace('\r', ' ');
        contact.occupation.Replace('\n', ' ');
    }
}

// A contact-tree keeps only records that name the person well enough to show.
inline bool OrvIsAcceptableTreeRecord(const ORVCONTACTINFO& contact) {
    return !contact.email.IsEmpty() && !contact.firstName.IsEmpty() && !contact.id.IsEmpty();
}

// The member's own record, built from the session where the program needs
// one (the source of a search-path).
inline ORVCONTACTINFO OrvMakeOwnRecord(const CString& memberId, bool loggedIn,
                                       const CString& firstName, const CString& lastName,
                                       const CString& email, const CString& occupation,
                                       bool emailHidden) {
    ORVCONTACTINFO own;
    own.id = memberId;
    own.isMember = loggedIn ? 1 : 0;
    own.nodeRank = 0;
    own.firstName = firstName;
    own.lastName = lastName;
    own.email = email;
    own.occupation = occupation;
    own.emailPrivate = emailHidden ? 1 : 0;
    own.chatHidden = 0;
    own.canChat = 1;
    return own;
}
