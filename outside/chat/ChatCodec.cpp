#include "ChatCodec.h"

namespace ChatCodec {

const char* const DeletedTopic = "ORV1-DELETED";

namespace {
const char kHex[] = "0123456789ABCDEF";

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}
}  // namespace

std::string Escape(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        const unsigned char u = static_cast<unsigned char>(c);
        if (c == '\\') {
            out += "\\\\";
        } else if (c == '|') {
            out += "\\p";
        } else if (u < 0x20 || u == 0x7F) {
            out += "\\x";
            out += kHex[u >> 4];
            out += kHex[u & 15];
        } else {
            out += c;
        }
    }
    return out;
}

std::string Unescape(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c != '\\' || i + 1 >= text.size()) {
            out += c;
            continue;
        }
        const char next = text[++i];
        if (next == '\\') {
            out += '\\';
        } else if (next == 'p') {
            out += '|';
        } else if (next == 'x' && i + 2 < text.size() && HexValue(text[i + 1]) >= 0 &&
                   HexValue(text[i + 2]) >= 0) {
            const char value = static_cast<char>(HexValue(text[i + 1]) * 16 + HexValue(text[i + 2]));
            // A NUL would end the text early on the C side: drop it.
            if (value != '\0') out += value;
            i += 2;
        } else {
            out += '\\';
            out += next;
        }
    }
    return out;
}

std::string EncodeTopic(const RoomTopic& topic) {
    return "ORV1|" + Escape(topic.displayName) + "|" + Escape(topic.description) + "|" +
           Escape(topic.welcome);
}

bool DecodeTopic(const std::string& text, RoomTopic& topic) {
    if (text.compare(0, 5, "ORV1|") != 0) return false;
    std::vector<std::string> fields;
    size_t start = 5;
    for (;;) {
        const size_t bar = text.find('|', start);
        fields.push_back(text.substr(start, bar == std::string::npos ? std::string::npos : bar - start));
        if (bar == std::string::npos) break;
        start = bar + 1;
    }
    if (fields.size() != 3) return false;
    topic.displayName = Unescape(fields[0]);
    topic.description = Unescape(fields[1]);
    topic.welcome = Unescape(fields[2]);
    return true;
}

std::string MakeCtcp(const std::string& tag, const std::string& args) {
    return "\x01" + tag + (args.empty() ? "" : " " + args) + "\x01";
}

bool ParseCtcp(const std::string& text, std::string& tag, std::string& args) {
    if (text.size() < 2 || text[0] != '\x01') return false;
    size_t end = text.find('\x01', 1);
    if (end == std::string::npos) end = text.size();
    const std::string body = text.substr(1, end - 1);
    const size_t blank = body.find(' ');
    tag = body.substr(0, blank);
    args = blank == std::string::npos ? std::string() : body.substr(blank + 1);
    return !tag.empty();
}

std::vector<std::string> Split(const std::string& text, size_t maxBytes) {
    std::vector<std::string> pieces;
    if (maxBytes == 0) maxBytes = 1;
    size_t pos = 0;
    while (text.size() - pos > maxBytes) {
        size_t cut = pos + maxBytes;
        // Prefer a blank in the last quarter of the piece; it starts the next
        // piece, as servers strip blanks at the end of a line.
        const size_t blank = text.rfind(' ', cut);
        if (blank != std::string::npos && blank > pos && blank >= pos + maxBytes * 3 / 4) cut = blank;
        pieces.push_back(text.substr(pos, cut - pos));
        pos = cut;
    }
    if (pos < text.size() || pieces.empty()) pieces.push_back(text.substr(pos));
    return pieces;
}

std::vector<std::string> SplitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::string current;
    auto finish = [&] {
        while (!current.empty() && current.back() == ' ') current.pop_back();
        if (!current.empty()) lines.push_back(current);
        current.clear();
    };
    for (char c : text) {
        if (c == '\r' || c == '\n') {
            finish();
        } else if (c != '\0') {
            current += c;
        }
    }
    finish();
    return lines;
}

}  // namespace ChatCodec
