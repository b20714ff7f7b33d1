#include "OrvErrorMapping.h"

namespace {

CString TextForNothingFound(int commandId) {
    switch (commandId) {
    case 23: return "Selected contact has not found in Orvane database.";
    case 24:
    case 28: return "Unfortunately, Orvane has found no results \nthat match your search-path query.";
    case 29: return "Unfortunately, Orvane has found no results \nthat match your search query.";
    default: return OrvErrorMapping::kUnknownError;
    }
}

CString TextForOtherCode(int commandId, const CString& code) {
    if (code == "8") return "The server cannot connect to database.";
    if (code == "10") return "Source e-mail wasn\xE2\x80\x99t found";
    if (code == "11" && commandId == 24) return "Path not found";
    if (code == "11" && commandId == 28) return "Free-text information doesn't correspond to any user of the system.";
    return OrvErrorMapping::kUnknownError;
}

// The caption by command; false for the commands whose errors show nothing.
bool CaptionFor(int commandId, CString* caption) {
    switch (commandId) {
    case 4: case 12: case 15: case 18: case 20: case 22: case 25: case 27: return false;
    case 11: *caption = "Add new user error"; return true;
    case 13: *caption = "Drop contacts error"; return true;
    case 14: *caption = "Add contacts error"; return true;
    case 16: *caption = "Update user error"; return true;
    case 17: *caption = "Update contacts error"; return true;
    case 19: *caption = "Add/Remove contacts error"; return true;
    case 21: *caption = "Get contacts error"; return true;
    case 23: *caption = "Get contacts tree error"; return true;
    case 24: case 28: case 29: *caption = "Search error"; return true;
    default: *caption = "Error"; return true;
    }
}

}  // namespace

OrvErrorNotice OrvErrorMapping::Map(int commandId, const CString& code) {
    OrvErrorNotice notice;
    notice.caption = "Error";
    notice.text = kUnknownError;
    if (code == "5" || code == "9" || code == "4" || code == "1") return notice;
    if (code == "3") {
        notice.sessionLost = true;
        return notice;
    }
    notice.text = code == "2" ? TextForNothingFound(commandId) : TextForOtherCode(commandId, code);
    if (!CaptionFor(commandId, &notice.caption)) return notice;
    notice.show = notice.text != kUnknownError;
    return notice;
}
