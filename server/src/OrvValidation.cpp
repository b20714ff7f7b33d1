#include "OrvValidation.h"

#include <cstring>

namespace orv {

const char kForbiddenChars[] = "\",';[]\\|{}:/<>~!#$%^&()=+";

bool isForbiddenChar(char c) {
    return c != '\0' && std::strchr(kForbiddenChars, c) != nullptr;
}

bool isValidUtf8(const std::string& s) {
    size_t i = 0;
    while (i < s.size()) {
        unsigned char c = static_cast<unsigned char>(s[i]);
        size_t extra;
        uint32_t cp;
        if (c < 0x80) { ++i; continue; }
        if ((c & 0xE0) == 0xC0) { extra = 1; cp = c & 0x1F; }
        else if ((c & 0xF0) == 0xE0) { extra = 2; cp = c & 0x0F; }
        else if ((c & 0xF8) == 0xF0) { extra = 3; cp = c & 0x07; }
        else return false;
        if (i + extra >= s.size()) return false;
        for (size_t k = 1; k <= extra; ++k) {
            unsigned char cc = static_cast<unsigned char>(s[i + k]);
            if ((cc & 0xC0) != 0x80) return false;
            cp = (cp << 6) | (cc & 0x3F);
        }
        if ((extra == 1 && cp < 0x80) || (extra == 2 && cp < 0x800) || (extra == 3 && cp < 0x10000) ||
            cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
            return false;
        i += extra + 1;
    }
    return true;
}

size_t charCount(const std::string& s) {
    size_t n = 0;
    for (unsigned char c : s)
        if ((c & 0xC0) != 0x80) ++n;
    return n;
}

std::string cutChars(const std::string& s, size_t maxChars) {
    size_t n = 0;
    for (size_t i = 0; i < s.size(); ++i) {
        if ((static_cast<unsigned char>(s[i]) & 0xC0) != 0x80) {
            if (n == maxChars) return s.substr(0, i);
            ++n;
        }
    }
    return s;
}

std::string trimBlanks(const std::string& s) {
    const char* ws = " \t\r\n";
    size_t b = s.find_first_not_of(ws);
    if (b == std::string::npos) return std::string();
    size_t e = s.find_last_not_of(ws);
    return s.substr(b, e - b + 1);
}

std::string asciiLower(std::string s) {
    for (char& c : s)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return s;
}

static bool hasControl(const std::string& s, bool allowLineBreaks) {
    for (unsigned char c : s) {
        if (c == 0x7F) return true;
        if (c < 0x20) {
            if (allowLineBreaks && (c == '\r' || c == '\n' || c == '\t')) continue;
            return true;
        }
    }
    return false;
}

bool isValidEmailRule(const std::string& email) {
    if (email.empty() || email.size() > kEmailLimit) return false;
    for (unsigned char c : email)
        if (c <= 0x20 || c >= 0x7F || isForbiddenChar(static_cast<char>(c))) return false;
    char first = email.front(), last = email.back();
    if (first == '.' || first == '@' || last == '.' || last == '@') return false;
    long a = static_cast<long>(email.find('@'));
    if (email.find('@') == std::string::npos) a = -1;
    size_t dot = email.rfind('.');
    if (dot == std::string::npos) return false;
    long b = static_cast<long>(dot);
    if (b - a <= 2) return false;
    size_t tail = email.size() - dot - 1;
    return tail == 2 || tail == 3;
}

bool isValidMemberEmail(const std::string& email) {
    if (!isValidEmailRule(email)) return false;
    size_t at = email.find('@');
    return at != std::string::npos && email.find('@', at + 1) == std::string::npos;
}

bool isValidContactEmail(const std::string& email) {
    if (isValidEmailRule(email)) return true;
    if (email.size() < 3 || email.size() > kEmailLimit) return false;
    for (unsigned char c : email)
        if (c <= 0x20 || c >= 0x7F || isForbiddenChar(static_cast<char>(c))) return false;
    size_t at = email.find('@');
    return at != std::string::npos && at > 0 && at + 1 < email.size();
}

bool isValidName(const std::string& name, bool allowEmpty) {
    if (name.empty()) return allowEmpty;
    if (!isValidUtf8(name) || hasControl(name, false)) return false;
    if (charCount(name) > kNameLimit) return false;
    for (char c : name)
        if (isForbiddenChar(c)) return false;
    return true;
}

bool isValidOccupation(const std::string& text) {
    if (!isValidUtf8(text) || hasControl(text, true)) return false;
    size_t n = 0;
    for (unsigned char c : text)
        if ((c & 0xC0) != 0x80 && c != '\r' && c != '\n') ++n;
    return n <= kOccupationLimit;
}

bool isValidFlag(const std::string& flag) { return flag == "0" || flag == "1"; }

static std::vector<std::string> split(const std::string& s, char sep) {
    std::vector<std::string> out;
    size_t start = 0;
    for (;;) {
        size_t p = s.find(sep, start);
        out.push_back(s.substr(start, p == std::string::npos ? std::string::npos : p - start));
        if (p == std::string::npos) break;
        start = p + 1;
    }
    return out;
}

bool parseAddList(const std::string& list, std::vector<OrvContactItem>& out) {
    out.clear();
    if (list.empty()) return true;
    for (const std::string& item : split(list, ';')) {
        if (trimBlanks(item).empty()) continue;
        auto fields = split(item, ',');
        if (fields.size() != 3) return false;
        OrvContactItem c{trimBlanks(fields[0]), trimBlanks(fields[1]),
                         asciiLower(trimBlanks(fields[2]))};
        if (!isValidName(c.firstName, true) || !isValidName(c.lastName, true)) return false;
        if (!isValidContactEmail(c.email)) return false;
        out.push_back(std::move(c));
        if (out.size() > kContactLimit) return false;
    }
    return true;
}

bool parseId(const std::string& text, uint32_t& id) {
    if (text.empty() || text.size() > 10) return false;
    uint64_t v = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return false;
        v = v * 10 + static_cast<uint64_t>(c - '0');
    }
    // Well formed, but no person can have it: 0 names nobody.
    id = v > 0xFFFFFFFEull ? 0 : static_cast<uint32_t>(v);
    return true;
}

bool parseDropList(const std::string& list, std::vector<uint32_t>& out) {
    out.clear();
    if (list.empty()) return true;
    for (const std::string& item : split(list, ',')) {
        uint32_t id;
        if (!parseId(trimBlanks(item), id)) return false;
        out.push_back(id);
        if (out.size() > kContactLimit) return false;
    }
    return true;
}

bool parseNameUpdateList(const std::string& list, std::vector<OrvNameUpdate>& out) {
    out.clear();
    if (list.empty()) return true;
    for (const std::string& item : split(list, ';')) {
        if (trimBlanks(item).empty()) continue;
        auto fields = split(item, ',');
        if (fields.size() != 3) return false;
        OrvNameUpdate u;
        if (!parseId(trimBlanks(fields[0]), u.id)) return false;
        u.firstName = trimBlanks(fields[1]);
        u.lastName = trimBlanks(fields[2]);
        if (!isValidName(u.firstName, true) || !isValidName(u.lastName, true)) return false;
        out.push_back(std::move(u));
        if (out.size() > kContactLimit) return false;
    }
    return true;
}

bool parseQuery(const std::string& query, std::vector<std::string>& words) {
    words.clear();
    std::string q = trimBlanks(query);
    if (!isValidUtf8(q) || hasControl(q, true)) return false;
    size_t n = charCount(q);
    if (n < kQueryMin || n > kQueryMax) return false;
    std::string word;
    auto flush = [&] {
        if (!word.empty()) words.push_back(word);
        word.clear();
    };
    for (char c : q) {
        if (c == ';' || c == ' ' || c == '\t' || c == '\r' || c == '\n') { flush(); continue; }
        if (isForbiddenChar(c)) return false;
        word += c;
    }
    flush();
    return !words.empty();
}

bool parseStatus(const std::string& text, int& status) {
    if (text == "0" || text == "1" || text == "2") {
        status = text[0] - '0';
        return true;
    }
    return false;
}

bool isValidNickname(const std::string& nick) {
    if (nick.empty() || nick.size() > 32) return false;
    for (char c : nick)
        if (!((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_' ||
              c == '-'))
            return false;
    return true;
}

bool isValidVersion(const std::string& version) {
    if (version.empty() || version.size() > 32) return false;
    bool digit = false;
    for (char c : version) {
        if (c >= '0' && c <= '9') digit = true;
        else if (c == '.' && digit) digit = false;
        else return false;
    }
    return digit;
}

int compareVersions(const std::string& a, const std::string& b) {
    // Part by part as decimal numbers of any length: leading zeros dropped,
    // then the longer number is the larger, else the digits decide.
    size_t i = 0, j = 0;
    while (i < a.size() || j < b.size()) {
        size_t ie = a.find('.', i), je = b.find('.', j);
        if (ie == std::string::npos) ie = a.size();
        if (je == std::string::npos) je = b.size();
        while (i < ie && a[i] == '0') ++i;
        while (j < je && b[j] == '0') ++j;
        std::string x = a.substr(i, ie - i), y = b.substr(j, je - j);
        if (x.size() != y.size()) return x.size() < y.size() ? -1 : 1;
        if (int c = x.compare(y)) return c < 0 ? -1 : 1;
        i = ie < a.size() ? ie + 1 : ie;
        j = je < b.size() ? je + 1 : je;
    }
    return 0;
}

}  // namespace orv
