#include "OrvHtmlText.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

namespace {

bool StartsWithNoCase(const char* text, std::size_t length, std::size_t at, const char* word) {
    const std::size_t n = std::strlen(word);
    if (at + n > length) return false;
    for (std::size_t i = 0; i < n; ++i)
        if (std::tolower(static_cast<unsigned char>(text[at + i])) != word[i]) return false;
    return true;
}

// The tag's name, lower case, without a leading '/'.
std::string TagName(const std::string& tag) {
    std::size_t i = 0;
    while (i < tag.size() && (tag[i] == '/' || std::isspace(static_cast<unsigned char>(tag[i])))) ++i;
    std::string name;
    while (i < tag.size() && std::isalnum(static_cast<unsigned char>(tag[i])))
        name += static_cast<char>(std::tolower(static_cast<unsigned char>(tag[i++])));
    return name;
}

bool IsBreakTag(const std::string& name) {
    static const char* const kBreaks[] = {"br", "p", "div", "tr", "li", "h1", "h2", "h3", "h4", "h5", "h6",
                                          "table", "ul", "ol", "title", "hr", "center", "blockquote"};
    for (const char* b : kBreaks)
        if (name == b) return true;
    return false;
}

// Decodes the entity at text[at] ('&'); returns its character and sets
// *used, or returns '&' with *used 1 when it is not one we know.
char DecodeEntity(const char* text, std::size_t length, std::size_t at, std::size_t* used) {
    static const struct {
        const char* name;
        char value;
    } kEntities[] = {{"&amp;", '&'}, {"&lt;", '<'}, {"&gt;", '>'}, {"&quot;", '"'}, {"&apos;", '\''},
                     {"&nbsp;", ' '}, {"&#39;", '\''}};
    for (const auto& entity : kEntities) {
        if (StartsWithNoCase(text, length, at, entity.name)) {
            *used = std::strlen(entity.name);
            return entity.value;
        }
    }
    if (at + 3 < length && text[at + 1] == '#') {
        std::size_t i = at + 2;
        const bool hex = text[i] == 'x' || text[i] == 'X';
        if (hex) ++i;
        long value = 0;
        std::size_t digits = 0;
        while (i < length && digits < 7 && std::isxdigit(static_cast<unsigned char>(text[i])) &&
               (hex || std::isdigit(static_cast<unsigned char>(text[i])))) {
            const char c = text[i];
            value = value * (hex ? 16 : 10) + (std::isdigit(static_cast<unsigned char>(c)) ? c - '0' : std::tolower(c) - 'a' + 10);
            ++i;
            ++digits;
        }
        if (digits > 0 && i < length && text[i] == ';') {
            *used = i + 1 - at;
            // Outside the single-byte range there is nothing to show it with.
            return value > 0 && value < 256 ? static_cast<char>(value) : '?';
        }
    }
    *used = 1;
    return '&';
}

}  // namespace

namespace OrvHtmlText {

CString FromHtml(const char* html, std::size_t length) {
    if (!html) return CString();
    if (length > kMaxPageLength) length = kMaxPageLength;
    std::string out;
    out.reserve(length);
    bool pendingBlank = false;
    // A block tag starts a new line; <br> always breaks one. At most one
    // empty line in a row, none at the start.
    auto newLine = [&](bool force) {
        pendingBlank = false;
        if (out.empty()) return;
        if (!force && out.back() == '\n') return;
        const std::size_t n = out.size();
        if (n >= 4 && out.compare(n - 4, 4, "\r\n\r\n") == 0) return;
        out += "\r\n";
    };
    auto put = [&](char c) {
        if (c == '\0') return;
        if (pendingBlank && !out.empty() && out.back() != '\n') out += ' ';
        pendingBlank = false;
        out += c;
    };
    std::size_t i = 0;
    while (i < length) {
        const char c = html[i];
        if (c == '<') {
            if (StartsWithNoCase(html, length, i, "<!--")) {
                const char* end = nullptr;
                for (std::size_t j = i + 4; j + 2 < length && !end; ++j)
                    if (html[j] == '-' && html[j + 1] == '-' && html[j + 2] == '>') end = html + j;
                i = end ? static_cast<std::size_t>(end - html) + 3 : length;
                continue;
            }
            std::size_t close = i + 1;
            while (close < length && html[close] != '>') ++close;
            const std::string tag(html + i + 1, close - i - 1);
            const std::string name = TagName(tag);
            i = close < length ? close + 1 : length;
            if ((name == "script" || name == "style") && !tag.empty() && tag[0] != '/') {
                // The body up to the closing tag is not text.
                const std::string end = "</" + name;
                while (i < length && !StartsWithNoCase(html, length, i, end.c_str())) ++i;
                continue;
            }
            if (IsBreakTag(name)) newLine(name == "br");
            continue;
        }
        if (c == '&') {
            std::size_t used = 1;
            const char decoded = DecodeEntity(html, length, i, &used);
            put(decoded);
            i += used;
            continue;
        }
        if (std::isspace(static_cast<unsigned char>(c)) || c == '\0') {
            pendingBlank = true;
            ++i;
            continue;
        }
        put(c);
        ++i;
    }
    while (!out.empty() && (out.back() == '\n' || out.back() == '\r' || out.back() == ' ')) out.pop_back();
    return CString(out.c_str());
}

bool FromFile(const char* path, CString* text) {
    if (!path || !text) return false;
    const std::unique_ptr<FILE, int (*)(FILE*)> file(std::fopen(path, "rb"), &std::fclose);
    if (!file) return false;
    std::string page(kMaxPageLength, '\0');
    const std::size_t read = std::fread(&page[0], 1, page.size(), file.get());
    if (std::ferror(file.get()) != 0) return false;
    *text = FromHtml(page.data(), read);
    return true;
}

}  // namespace OrvHtmlText
