#pragma once
#include "BookText.h"

// Reads a Windows Contacts file (.contact, XML): the formatted name (or the
// given and family names) and the first address of an EmailAddress element.
// A tolerant scanner, not a validating parser: broken markup ends the scan
// with what was found so far.
class ContactFileReader {
public:
    static std::vector<BookEntry> Parse(const std::string& bytes);
    // XML character references and the five named entities decoded.
    static std::string DecodeEntities(const std::string& text);
};
