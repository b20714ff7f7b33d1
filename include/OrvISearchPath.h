#pragma once
// The path finder hands the two ends of a search-path to the main frame.
#include "CString.h"

#include <cstdint>

// An end placed as a contact whose e-mail is private travels by its id
// only: its field shows a text the server cannot use.
struct ORVPATHREQUEST {
    int32_t destinationTyped = 1;  // 0 when the destination is a placed private contact
    CString source;                // trimmed field text; empty for a placed private contact
    CString destination;
    const char* sourceId = nullptr;       // the placed private source's id, else null
    const char* destinationId = nullptr;  // the same for the destination
};

class OrvISearchPath {
public:
    // request (and the texts it points to) is valid only during the call.
    virtual void SearchPath(const ORVPATHREQUEST* request) = 0;

protected:
    ~OrvISearchPath() = default;
};
