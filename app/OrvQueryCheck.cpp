#include "OrvQueryCheck.h"

#include <cstring>

namespace {

void Say(CString* message, const CString& text) {
    if (message) *message = text;
}

bool IsBlankOnly(const CString& text) {
    for (int i = 0; i < text.GetLength(); ++i)
        if (text[i] != ' ') return false;
    return true;
}

}  // namespace

CString OrvQueryCheck::UnsupportedMessage() {
    // Put in by hand: the set holds '%', which must not meet a format.
    return CString("Your search query contains characters or symbols that are not supported.\r\nThese symbols are ") +
           kForbidden;
}

bool OrvQueryCheck::HasForbidden(const CString& text) {
    for (int i = 0; i < text.GetLength(); ++i)
        if (text[i] != '\0' && std::strchr(kForbidden, text[i])) return true;
    return false;
}

bool OrvQueryCheck::CheckLength(const CString& text, CString* message) {
    if (text.GetLength() < kMinLength) {
        Say(message, kTooShort);
        return false;
    }
    if (text.GetLength() > kMaxLength) {
        Say(message, kTooLong);
        return false;
    }
    return true;
}

bool OrvQueryCheck::CheckQuery(const CString& query, CString* message) {
    if (IsBlankOnly(query)) {
        Say(message, kEmpty);
        return false;
    }
    if (!CheckLength(query, message)) return false;
    if (HasForbidden(query)) {
        Say(message, UnsupportedMessage());
        return false;
    }
    return true;
}

CString OrvQueryCheck::TrimTyped(const CString& text) {
    CString trimmed = text;
    trimmed.Trim("\t\r\n ");
    while (trimmed.Replace("  ", " ") > 0) {
    }
    return trimmed;
}

bool OrvQueryCheck::CheckEmail(CString& email, CString* message) {
    email = TrimTyped(email);
    if (email.IsEmpty()) {
        Say(message, kMistypedEmail);
        return false;
    }
    if (!CheckLength(email, message)) return false;
    if (email.Find('@') < 0) {
        Say(message, kMistypedEmail);
        return false;
    }
    return true;
}

bool OrvQueryCheck::CheckKeywords(CString& keywords, CString* message) {
    keywords = TrimTyped(keywords);
    if (keywords.IsEmpty()) {
        Say(message, kEmpty);
        return false;
    }
    if (!CheckLength(keywords, message)) return false;
    if (HasForbidden(keywords)) {
        Say(message, UnsupportedMessage());
        return false;
    }
    return true;
}

CString OrvQueryCheck::ToWords(const CString& text) {
    CString words = text;
    words.Replace(' ', ';');
    return words;
}

bool OrvQueryCheck::CheckPath(const ORVPATHREQUEST& request, OrvPathQuery* query, CString* message,
                              CString* caption) {
    Say(caption, "Orvane");
    OrvPathQuery checked;
    if (request.sourceId && *request.sourceId) {
        checked.source = request.sourceId;
    } else {
        checked.source = request.source;
        if (!CheckEmail(checked.source, message)) return false;
    }
    CString typed;
    if (request.destinationId && *request.destinationId) {
        checked.destination = request.destinationId;
    } else {
        typed = TrimTyped(request.destination);
        if (typed.Find('@') >= 0) {
            checked.destination = typed;
            if (!CheckEmail(checked.destination, message)) return false;
        } else {
            checked.kind = OrvPathQuery::byKeywords;
            checked.destination = typed;
            if (!CheckKeywords(checked.destination, message)) return false;
        }
    }
    if (checked.source.CompareNoCase(checked.destination) == 0) {
        Say(caption, "Parameters error");
        Say(message, kSameEnds);
        return false;
    }
    if (checked.kind == OrvPathQuery::byKeywords) checked.destination = ToWords(checked.destination);
    if (query) *query = checked;
    return true;
}
