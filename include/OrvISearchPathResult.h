#pragma once
// What the member does with a person inside a found path: a click
// (ORVNAV_ACTIVATE: show that person's tree) or a menu command
// (ORVNAV_COMMAND with an OrvResultCommand_e code).
#include "OrvISearchResult.h"

class OrvISearchPathResult {
public:
    // info and its contact are valid only during the call.
    virtual void OnPathResult(const ORVNAVIGATEINFO* info) = 0;

protected:
    ~OrvISearchPathResult() = default;
};
