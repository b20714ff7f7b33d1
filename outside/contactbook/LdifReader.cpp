#include "LdifReader.h"

namespace {
const size_t kMaxLine = 64 * 1024;
const size_t kMaxName = 256;

struct Record {
    std::string cn, given, surname, mail;
};

void Finish(Record* record, std::vector<BookEntry>* entries) {
    if (!record->mail.empty()) {
        BookEntry entry;
        entry.name = !record->cn.empty() ? record->cn : BookText::Tidy(record->given + " " + record->surname, kMaxName);
        entry.email = record->mail;
        entries->push_back(entry);
    }
    *record = Record();
}
}  // namespace

std::vector<BookEntry> LdifReader::Parse(const std::string& bytes, size_t maxEntries) {
    std::vector<BookEntry> entries;
    std::vector<std::string> logical;
    for (const std::string& line : BookText::Lines(BookText::ToUtf8(bytes))) {
        if (!line.empty() && line[0] == ' ' && !logical.empty()) {
            if (logical.back().size() + line.size() <= kMaxLine) logical.back() += line.substr(1);
            continue;
        }
        logical.push_back(line.size() <= kMaxLine ? line : std::string("#"));
    }
    Record record;
    for (const std::string& line : logical) {
        if (entries.size() >= maxEntries) break;
        if (BookText::Trim(line).empty()) {
            Finish(&record, &entries);
            continue;
        }
        if (line[0] == '#') continue;
        const size_t colon = line.find(':');
        if (colon == std::string::npos) continue;
        const std::string attribute = BookText::Lower(line.substr(0, colon));
        std::string value;
        if (colon + 1 < line.size() && line[colon + 1] == ':')
            value = BookText::DecodeBase64(line.substr(colon + 2));
        else
            value = line.substr(colon + 1);
        value = BookText::ToAnsi(BookText::Trim(value));
        if (attribute == "cn" && record.cn.empty()) record.cn = BookText::Tidy(value, kMaxName);
        else if (attribute == "givenname" && record.given.empty()) record.given = BookText::Tidy(value, kMaxName);
        else if (attribute == "sn" && record.surname.empty()) record.surname = BookText::Tidy(value, kMaxName);
        else if (attribute == "mail" && record.mail.empty()) BookText::CleanEmail(value, kMaxName, &record.mail);
    }
    if (entries.size() < maxEntries) Finish(&record, &entries);
    return entries;
}
