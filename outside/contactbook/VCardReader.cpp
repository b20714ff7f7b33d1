#include "VCardReader.h"

#include <cctype>

namespace {
const size_t kMaxLogicalLine = 64 * 1024;
const size_t kMaxField = 256;

struct Property {
    std::string name;                 // upper case, group removed
    std::vector<std::string> params;  // upper case
    std::string value;
};

bool HasParam(const Property& property, const char* text) {
    for (const std::string& param : property.params)
        if (param.find(text) != std::string::npos) return true;
    return false;
}

std::string Upper(std::string text) {
    for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

// Splits "GROUP.NAME;PARAM=x;PARAM:value"; false when there is no colon.
bool SplitProperty(const std::string& line, Property* property) {
    bool quoted = false;
    size_t colon = std::string::npos;
    for (size_t i = 0; i < line.size(); ++i) {
        if (line[i] == '"') quoted = !quoted;
        if (line[i] == ':' && !quoted) {
            colon = i;
            break;
        }
    }
    if (colon == std::string::npos) return false;
    const std::string head = Upper(line.substr(0, colon));
    property->value = line.substr(colon + 1);
    size_t start = 0;
    bool first = true;
    for (size_t i = 0; i <= head.size(); ++i) {
        if (i < head.size() && head[i] != ';') continue;
        const std::string part = head.substr(start, i - start);
        if (first) {
            const size_t dot = part.rfind('.');
            property->name = dot == std::string::npos ? part : part.substr(dot + 1);
            first = false;
        } else {
            property->params.push_back(part);
        }
        start = i + 1;
    }
    return true;
}

bool IsQuotedPrintable(const std::string& line) {
    const size_t colon = line.find(':');
    return Upper(line.substr(0, colon)).find("QUOTED-PRINTABLE") != std::string::npos;
}

// Text values of 3.0 and 4.0 escape commas, semicolons, backslashes and
// line ends.
std::string Unescape(const std::string& value) {
    std::string out;
    for (size_t i = 0; i < value.size(); ++i) {
        if (value[i] == '\\' && i + 1 < value.size()) {
            const char next = value[++i];
            out.push_back(next == 'n' || next == 'N' ? ' ' : next);
        } else {
            out.push_back(value[i]);
        }
    }
    return out;
}

// The components of a structured value, split at unescaped semicolons.
std::vector<std::string> Components(const std::string& value) {
    std::vector<std::string> parts(1);
    for (size_t i = 0; i < value.size(); ++i) {
        if (value[i] == '\\' && i + 1 < value.size()) {
            parts.back().push_back(value[i]);
            parts.back().push_back(value[++i]);
        } else if (value[i] == ';') {
            parts.emplace_back();
        } else {
            parts.back().push_back(value[i]);
        }
    }
    return parts;
}

std::string DecodedValue(const Property& property, const std::string& raw) {
    std::string value = raw;
    if (HasParam(property, "QUOTED-PRINTABLE"))
        value = BookText::DecodeQuotedPrintable(value);
    else if (HasParam(property, "ENCODING=B"))
        value = BookText::DecodeBase64(value);
    return BookText::ToAnsi(value);
}

struct Card {
    std::string formattedName;
    std::string structuredName;
    std::string email;
    bool emailPreferred = false;
};

void TakeProperty(const Property& property, Card* card) {
    if (property.name == "FN") {
        card->formattedName = BookText::Tidy(Unescape(DecodedValue(property, property.value)), kMaxField);
    } else if (property.name == "N") {
        const std::vector<std::string> parts = Components(property.value);
        const std::string family = parts.size() > 0 ? Unescape(DecodedValue(property, parts[0])) : "";
        const std::string given = parts.size() > 1 ? Unescape(DecodedValue(property, parts[1])) : "";
        card->structuredName = BookText::Tidy(given + " " + family, kMaxField);
    } else if (property.name == "EMAIL") {
        std::string email;
        if (!BookText::CleanEmail(Unescape(DecodedValue(property, property.value)), kMaxField, &email)) return;
        const bool preferred = HasParam(property, "PREF");
        if (card->email.empty() || (preferred && !card->emailPreferred)) {
            card->email = email;
            card->emailPreferred = preferred;
        }
    }
}
}  // namespace

std::vector<BookEntry> VCardReader::Parse(const std::string& bytes, size_t maxEntries) {
    std::vector<BookEntry> entries;
    const std::vector<std::string> lines = BookText::Lines(BookText::ToUtf8(bytes));
    // Logical lines: folded continuations (a leading blank or tab) and
    // quoted-printable soft breaks ("=" at the end) are joined.
    std::vector<std::string> logical;
    for (const std::string& line : lines) {
        if (!logical.empty()) {
            std::string& last = logical.back();
            if (!line.empty() && (line[0] == ' ' || line[0] == '\t')) {
                if (last.size() + line.size() <= kMaxLogicalLine) last += line.substr(1);
                continue;
            }
            if (!last.empty() && last.back() == '=' && IsQuotedPrintable(last)) {
                if (last.size() + line.size() <= kMaxLogicalLine) {
                    last.pop_back();
                    last += line;
                } else {
                    last.pop_back();
                }
                continue;
            }
        }
        if (line.size() > kMaxLogicalLine) {
            logical.emplace_back();  // kept as a line break, its content dropped
            continue;
        }
        logical.push_back(line);
    }

    bool inCard = false;
    Card card;
    for (const std::string& line : logical) {
        Property property;
        if (!SplitProperty(line, &property)) continue;
        const std::string value = Upper(BookText::Tidy(property.value, 64));
        if (property.name == "BEGIN" && value == "VCARD") {
            inCard = true;
            card = Card();
            continue;
        }
        if (!inCard) continue;
        if (property.name == "END" && value == "VCARD") {
            inCard = false;
            if (card.email.empty()) continue;
            BookEntry entry;
            entry.name = !card.formattedName.empty() ? card.formattedName : card.structuredName;
            entry.email = card.email;
            entries.push_back(entry);
            if (entries.size() >= maxEntries) break;
            continue;
        }
        TakeProperty(property, &card);
    }
    return entries;
}
