#pragma once
// The navigation interface: the contact-tree control, the result lists and
// the toolbar report what the member wants through OrvINavigate, which the
// main frame implements, passing one ORVNAVIGATEINFO per request.
#include "OrvContactInfo.h"

#include <cstddef>
#include <cstdint>

// Request kinds. The toolbar also sends 4 (home) and 5 to 8, one per
// further button, each with command 0.
enum : int32_t {
    ORVNAV_ACTIVATE = 0,  // show the tree of this contact
    ORVNAV_COMMAND = 1,   // a menu command on this contact
    ORVNAV_BACKWARD = 2,
    ORVNAV_FORWARD = 3,
};

// Command codes of ORVNAV_COMMAND requests.
enum OrvNavCommand_e : int32_t {
    ORVNAVCMD_SEND_EMAIL = 0,
    ORVNAVCMD_ADD_TO_FAVORITES = 1,
    ORVNAVCMD_PATH_FROM = 2,  // the contact becomes the search-path source
    ORVNAVCMD_PATH_TO = 3,    // ... its destination
    ORVNAVCMD_EDIT_MY_CONTACTS = 4,
    ORVNAVCMD_EDIT_PERSONAL_INFO = 5,
    ORVNAVCMD_CHAT = 6,
    ORVNAVCMD_SEARCH_PATH = 7,  // a path from the member to the contact
    ORVNAVCMD_VIEW_MAP = 8,
};

struct ORVNAVIGATEINFO {
    int32_t kind;
    int32_t command;  // for ORVNAV_COMMAND the command code, else -1
    // The node's record copy, valid only during the call; null for the
    // backward and forward kinds.
    const ORVCONTACTINFO* contact;
};

static_assert(sizeof(void*) != 4 || (sizeof(ORVNAVIGATEINFO) == 12 &&
                                     offsetof(ORVNAVIGATEINFO, contact) == 8),
              "ORVNAVIGATEINFO is three 32-bit slots");

// Implemented by the main frame; these two operations come first in its
// table, in this order (the main frame's own operations follow them).
class OrvINavigate {
public:
    // Carries out the request; non-zero when it was taken (or dropped
    // because another one is still running).
    virtual int Navigate(const ORVNAVIGATEINFO* info) = 0;
    // The signed-in member's identifier, owned by the callee.
    virtual const char* GetUserId() = 0;

protected:
    // Controls never own their navigation callback.
    ~OrvINavigate() = default;
};
