#pragma once
// The search control hands the text the member typed to the main frame.
#include "CString.h"

class OrvISearch {
public:
    // Starts a search for text (trimmed, never empty).
    virtual void Search(const CString& text) = 0;

protected:
    // Controls never own their callbacks.
    ~OrvISearch() = default;
};
