#pragma once
// One thing a skin change could not read: the file, the section and key
// where it stood (either may be empty) and why. The skin still applies: what
// could not be read takes its default.
#include "CString.h"

struct SkinReadProblem_t {
    CString File;
    CString Section;
    CString Key;
    CString Reason;
};
