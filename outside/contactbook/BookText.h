#pragma once
#include <string>
#include <vector>

// A contact as a reader found it, in the program's code page.
struct BookEntry {
    std::string name;
    std::string email;
};

// Text helpers shared by the address book readers.
class BookText {
public:
    // The file's bytes as UTF-8: a UTF-16 file (by its byte order mark) is
    // converted, a UTF-8 mark dropped, anything else left as it is.
    static std::string ToUtf8(const std::string& bytes);
    // UTF-8 to the program's code page when text is valid UTF-8 with
    // characters beyond ASCII; other text is taken to be in that code page.
    static std::string ToAnsi(const std::string& text);
    static bool IsValidUtf8(const std::string& text);
    static std::string DecodeQuotedPrintable(const std::string& text);
    static std::string DecodeBase64(const std::string& text);
    static std::string Lower(std::string text);
    static std::string Trim(const std::string& text);
    // Control characters become blanks, runs of blanks one, both ends
    // trimmed, and the result cut to maxLength bytes.
    static std::string Tidy(const std::string& text, size_t maxLength);
    // A plausible address: one "@" with text on both sides, no blanks or
    // control characters, at most maxLength bytes. "mailto:" is dropped.
    static bool CleanEmail(const std::string& text, size_t maxLength, std::string* email);
    // Splits text into lines at CR LF, LF or CR.
    static std::vector<std::string> Lines(const std::string& text);
};
