#pragma once
// What the member does with a row of the search results: a double click
// (ORVNAV_ACTIVATE, command 0: show this person's tree) or a menu command
// (ORVNAV_COMMAND; 0 adds the e-mail to the path source, 1 to its
// destination).
#include "OrvNavigate.h"

enum OrvResultCommand_e : int32_t {
    ORVRESCMD_ADD_TO_SOURCE = 0,
    ORVRESCMD_ADD_TO_DESTINATION = 1,
};

class OrvISearchResult {
public:
    // info and its contact are valid only during the call.
    virtual void OnResult(const ORVNAVIGATEINFO* info) = 0;

protected:
    ~OrvISearchResult() = default;
};
