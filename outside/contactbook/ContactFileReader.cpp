#include "ContactFileReader.h"

#include <windows.h>

#include <cstdlib>

namespace {
const size_t kMaxDepth = 64;
const size_t kMaxName = 256;

std::string LocalName(const std::string& tag) {
    size_t end = 0;
    while (end < tag.size() && tag[end] != ' ' && tag[end] != '\t' && tag[end] != '\r' && tag[end] != '\n' &&
           tag[end] != '/' && tag[end] != '>')
        ++end;
    const std::string name = tag.substr(0, end);
    const size_t colon = name.rfind(':');
    return colon == std::string::npos ? name : name.substr(colon + 1);
}

std::string Utf8Of(unsigned long code) {
    wchar_t wide[2];
    int count = 0;
    if (code == 0 || code > 0x10FFFF) return std::string();
    if (code >= 0x10000) {
        code -= 0x10000;
        wide[count++] = static_cast<wchar_t>(0xD800 + (code >> 10));
        wide[count++] = static_cast<wchar_t>(0xDC00 + (code & 0x3FF));
    } else {
        wide[count++] = static_cast<wchar_t>(code);
    }
    char out[8] = {};
    const int size = ::WideCharToMultiByte(CP_UTF8, 0, wide, count, out, sizeof out, nullptr, nullptr);
    return size > 0 ? std::string(out, static_cast<size_t>(size)) : std::string();
}
}  // namespace

std::string ContactFileReader::DecodeEntities(const std::string& text) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '&') {
            out.push_back(text[i]);
            continue;
        }
        const size_t semicolon = text.find(';', i);
        if (semicolon == std::string::npos || semicolon - i > 10) {
            out.push_back('&');
            continue;
        }
        const std::string name = text.substr(i + 1, semicolon - i - 1);
        std::string replacement;
        if (name == "amp") replacement = "&";
        else if (name == "lt") replacement = "<";
        else if (name == "gt") replacement = ">";
        else if (name == "quot") replacement = "\"";
        else if (name == "apos") replacement = "'";
        else if (name.size() > 1 && name[0] == '#') {
            const bool hex = name[1] == 'x' || name[1] == 'X';
            replacement = Utf8Of(std::strtoul(name.c_str() + (hex ? 2 : 1), nullptr, hex ? 16 : 10));
        }
        if (replacement.empty()) {
            out.push_back('&');
            continue;
        }
        out += replacement;
        i = semicolon;
    }
    return out;
}

std::vector<BookEntry> ContactFileReader::Parse(const std::string& bytes) {
    const std::string text = BookText::ToUtf8(bytes);
    std::vector<std::string> path;
    std::string formatted, given, family, email;
    size_t i = 0;
    while (i < text.size()) {
        const size_t open = text.find('<', i);
        const std::string content = text.substr(i, (open == std::string::npos ? text.size() : open) - i);
        if (!path.empty() && !BookText::Trim(content).empty()) {
            const std::string value = BookText::ToAnsi(DecodeEntities(content));
            const std::string& element = path.back();
            const std::string parent = path.size() >= 2 ? path[path.size() - 2] : std::string();
            if (element == "FormattedName" && formatted.empty()) formatted = BookText::Tidy(value, kMaxName);
            else if (element == "GivenName" && given.empty()) given = BookText::Tidy(value, kMaxName);
            else if (element == "FamilyName" && family.empty()) family = BookText::Tidy(value, kMaxName);
            else if (element == "Address" && parent == "EmailAddress" && email.empty())
                BookText::CleanEmail(value, kMaxName, &email);
        }
        if (open == std::string::npos) break;
        if (text.compare(open, 4, "<!--") == 0) {
            const size_t end = text.find("-->", open + 4);
            if (end == std::string::npos) break;
            i = end + 3;
            continue;
        }
        const size_t close = text.find('>', open);
        if (close == std::string::npos) break;
        const std::string tag = text.substr(open + 1, close - open - 1);
        i = close + 1;
        if (tag.empty() || tag[0] == '?' || tag[0] == '!') continue;
        if (tag[0] == '/') {
            const std::string name = LocalName(tag.substr(1));
            // Pops to the matching element; a stray end tag is ignored.
            for (size_t depth = path.size(); depth > 0; --depth)
                if (path[depth - 1] == name) {
                    path.resize(depth - 1);
                    break;
                }
            continue;
        }
        if (tag.back() == '/') continue;
        if (path.size() >= kMaxDepth) break;
        path.push_back(LocalName(tag));
    }
    std::vector<BookEntry> entries;
    if (email.empty()) return entries;
    BookEntry entry;
    entry.name = !formatted.empty() ? formatted : BookText::Tidy(given + " " + family, kMaxName);
    entry.email = email;
    entries.push_back(entry);
    return entries;
}
