#pragma once
#include "BookText.h"

// Reads vCard files (.vcf), versions 2.1, 3.0 and 4.0: folded lines,
// quoted-printable and base64 values, UTF-8 and UTF-16 files, the formatted
// name (FN) or the structured name (N), and the preferred or first e-mail.
class VCardReader {
public:
    static std::vector<BookEntry> Parse(const std::string& bytes, size_t maxEntries);
};
