#pragma once
// What a worker hands to the user-interface thread for one request: the
// decoded answer, or the failure of its transport.
#include "CString.h"
#include "OrvContactInfo.h"

#include <vector>

struct OrvAnswerRecord {
    int commandId = 0;
    bool failed = false;
    long error = 0;   // failed: Win32/WinHTTP error or HTTP status
    long length = 0;  // bytes of the answer body
    // String and integer values of the answer operation, each in argument order.
    std::vector<CString> text;
    std::vector<int> numbers;
    std::vector<ORVCONTACTINFO> records;
    std::vector<std::vector<ORVCONTACTINFO>> paths;
    std::vector<CString> notices;
};
