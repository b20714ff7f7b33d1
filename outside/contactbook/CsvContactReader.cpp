#include "CsvContactReader.h"

#include <algorithm>

namespace {
const size_t kMaxFieldBytes = 4096;
const size_t kMaxFields = 512;
const size_t kMaxName = 256;

// A header cell without blanks, hyphens, underscores and dots, lower case.
std::string Key(const std::string& cell) {
    std::string key;
    for (char c : BookText::Lower(BookText::Trim(cell)))
        if (c != ' ' && c != '-' && c != '_' && c != '.' && c != '"') key.push_back(c);
    return key;
}

bool Contains(const std::string& text, const char* part) { return text.find(part) != std::string::npos; }

struct Columns {
    std::vector<size_t> emails;
    int name = -1;
    int first = -1;
    int last = -1;
    int middle = -1;
};

bool ReadHeader(const std::vector<std::string>& header, Columns* columns) {
    for (size_t i = 0; i < header.size(); ++i) {
        const std::string key = Key(header[i]);
        const bool mailColumn = Contains(key, "email") || key == "mail" || key == "emailaddress";
        if (mailColumn && !Contains(key, "name") && !Contains(key, "type") && !Contains(key, "display")) {
            columns->emails.push_back(i);
        } else if (key == "name" || key == "displayname" || key == "fullname" || key == "contactname") {
            if (columns->name < 0) columns->name = static_cast<int>(i);
        } else if (key == "firstname" || key == "givenname" || key == "first") {
            if (columns->first < 0) columns->first = static_cast<int>(i);
        } else if (key == "lastname" || key == "familyname" || key == "surname" || key == "last") {
            if (columns->last < 0) columns->last = static_cast<int>(i);
        } else if (key == "middlename" || key == "additionalname") {
            if (columns->middle < 0) columns->middle = static_cast<int>(i);
        }
    }
    return !columns->emails.empty();
}

std::string Cell(const std::vector<std::string>& record, int column) {
    return column >= 0 && static_cast<size_t>(column) < record.size() ? record[static_cast<size_t>(column)] : "";
}
}  // namespace

char CsvContactReader::GuessDelimiter(const std::string& text) {
    const size_t end = text.find_first_of("\r\n");
    const std::string line = text.substr(0, end);
    const size_t commas = static_cast<size_t>(std::count(line.begin(), line.end(), ','));
    const size_t semicolons = static_cast<size_t>(std::count(line.begin(), line.end(), ';'));
    const size_t tabs = static_cast<size_t>(std::count(line.begin(), line.end(), '\t'));
    if (tabs > commas && tabs >= semicolons) return '\t';
    if (semicolons > commas) return ';';
    return ',';
}

std::vector<std::vector<std::string>> CsvContactReader::Records(const std::string& text, char delimiter,
                                                                size_t maxRecords) {
    std::vector<std::vector<std::string>> records;
    std::vector<std::string> record;
    std::string field;
    bool quoted = false;
    bool fieldStarted = false;
    const auto endField = [&]() {
        if (record.size() < kMaxFields) record.push_back(field);
        field.clear();
        fieldStarted = false;
    };
    const auto endRecord = [&]() {
        endField();
        const bool blank = record.size() == 1 && record[0].empty();
        if (!blank) records.push_back(record);
        record.clear();
    };
    for (size_t i = 0; i < text.size() && records.size() < maxRecords; ++i) {
        const char c = text[i];
        if (quoted) {
            if (c == '"') {
                if (i + 1 < text.size() && text[i + 1] == '"') {
                    if (field.size() < kMaxFieldBytes) field.push_back('"');
                    ++i;
                } else {
                    quoted = false;
                }
            } else if (field.size() < kMaxFieldBytes) {
                field.push_back(c);
            }
            continue;
        }
        if (c == '"' && !fieldStarted) {
            quoted = true;
            fieldStarted = true;
        } else if (c == delimiter) {
            endField();
        } else if (c == '\r' || c == '\n') {
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
            endRecord();
        } else {
            fieldStarted = true;
            if (field.size() < kMaxFieldBytes) field.push_back(c);
        }
    }
    // An unterminated quote ends with the text.
    if ((!field.empty() || !record.empty()) && records.size() < maxRecords) endRecord();
    return records;
}

std::vector<BookEntry> CsvContactReader::Parse(const std::string& bytes, size_t maxEntries) {
    std::vector<BookEntry> entries;
    const std::string text = BookText::ToUtf8(bytes);
    const std::vector<std::vector<std::string>> records = Records(text, GuessDelimiter(text), maxEntries + 1);
    if (records.empty()) return entries;
    Columns columns;
    const bool header = ReadHeader(records[0], &columns);
    for (size_t r = header ? 1 : 0; r < records.size() && entries.size() < maxEntries; ++r) {
        const std::vector<std::string>& record = records[r];
        BookEntry entry;
        if (header) {
            for (size_t column : columns.emails)
                if (column < record.size() && BookText::CleanEmail(record[column], kMaxName, &entry.email)) break;
            std::string name = Cell(record, columns.name);
            if (BookText::Trim(name).empty())
                name = Cell(record, columns.first) + " " + Cell(record, columns.middle) + " " + Cell(record, columns.last);
            entry.name = BookText::Tidy(BookText::ToAnsi(name), kMaxName);
        } else {
            for (const std::string& cell : record) {
                if (entry.email.empty() && BookText::CleanEmail(cell, kMaxName, &entry.email)) continue;
                if (entry.name.empty() && cell.find('@') == std::string::npos)
                    entry.name = BookText::Tidy(BookText::ToAnsi(cell), kMaxName);
            }
        }
        if (!entry.email.empty()) entries.push_back(entry);
    }
    return entries;
}
