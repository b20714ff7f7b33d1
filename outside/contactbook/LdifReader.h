#pragma once
#include "BookText.h"

// Reads LDIF address book exports (.ldif): records separated by blank
// lines, folded lines, base64 values ("::"); the name from cn (or
// givenName and sn) and the address from mail.
class LdifReader {
public:
    static std::vector<BookEntry> Parse(const std::string& bytes, size_t maxEntries);
};
