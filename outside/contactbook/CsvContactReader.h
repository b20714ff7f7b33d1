#pragma once
#include "BookText.h"

// Reads address book exports in CSV: the delimiter (comma, semicolon or
// tab) from the first line, quoted fields with doubled quotes and line
// breaks inside, a header row recognised by its column names (e-mail,
// name, display name, first and last name in the usual spellings); without
// one, the first field holding an address and the first other field.
class CsvContactReader {
public:
    static std::vector<BookEntry> Parse(const std::string& bytes, size_t maxEntries);
    // The records of the text (bounded: fields cut at 4 096 bytes, records at
    // 512 fields).
    static std::vector<std::vector<std::string>> Records(const std::string& text, char delimiter,
                                                         size_t maxRecords);
    static char GuessDelimiter(const std::string& text);
};
