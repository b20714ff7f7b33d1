#pragma once
// The checks a search query, a typed path end and path keywords pass before
// anything goes to the server. Pure: no window, no server; the caller shows
// the message (caption "Orvane", OK) and drops the request when a check
// fails.
#include "CString.h"
#include "OrvISearchPath.h"

// A path request ready for the server: by e-mail (source and destination
// are addresses or ids) or by keywords (the destination holds the words
// joined by ";").
struct OrvPathQuery {
    enum Kind : int { byEmail = 0, byKeywords = 1 };
    int kind = byEmail;
    CString source;
    CString destination;
};

class OrvQueryCheck {
public:
    // The characters a query or keywords may not hold (";" separates words
    // on the wire, so the member may not type it either).
    static constexpr const char* kForbidden = "\",';[]\\|{}:/<>~!#$%^&()=+";
    static constexpr int kMinLength = 3;
    static constexpr int kMaxLength = 250;

    static constexpr const char* kEmpty = "Your search query should not be empty or contains spaces only.";
    static constexpr const char* kTooShort = "Your search query should not be smaller than 3 symbols";
    static constexpr const char* kTooLong = "Your search query should not be greater than 250 symbols";
    static constexpr const char* kMistypedEmail =
        "The e-mail you have entered was mistyped or contains symbols that are not supported.";

    // A member search query as the search control passes it. True when it
    // may be sent; else *message says why.
    static bool CheckQuery(const CString& query, CString* message);
    // A typed e-mail (a path's source, or its destination by e-mail):
    // trimmed in place first (TrimTyped).
    static bool CheckEmail(CString& email, CString* message);
    // Path keywords: trimmed in place, then the length and character rules.
    static bool CheckKeywords(CString& keywords, CString* message);

    // A path request of the path finder. A placed private end travels as
    // its id; a typed destination with an at sign is an address, any other
    // typed destination is keywords. True with *query filled when it may
    // be sent; else *message and *caption say why ("Orvane" for a broken
    // input rule, "Parameters error" for two equal ends).
    static bool CheckPath(const ORVPATHREQUEST& request, OrvPathQuery* query, CString* message, CString* caption);
    static constexpr const char* kSameEnds = "Source and destination parameters must be different.";

    // Tabs, CR, LF and blanks off both ends; every run of blanks inside
    // becomes one blank.
    static CString TrimTyped(const CString& text);
    // Blanks become ";", the server's word separator.
    static CString ToWords(const CString& text);
    // The unsupported-symbols message with the forbidden set put in.
    static CString UnsupportedMessage();
    static bool HasForbidden(const CString& text);

private:
    static bool CheckLength(const CString& text, CString* message);
};
