#pragma once
// The one place where a server result code becomes what the member sees:
// given the command that failed and its code, the caption and text of the
// message box (if any) and whether the session was lost.
#include "CString.h"

struct OrvErrorNotice {
    bool show = false;         // a message box with caption and text
    bool sessionLost = false;  // code "3": go off line and re-connect
    CString caption;
    CString text;
};

class OrvErrorMapping {
public:
    static constexpr const char* kUnknownError = "Unknown error.";
    static OrvErrorNotice Map(int commandId, const CString& code);
};
