#include "ClsIniFileToken.h"

#include <cstdlib>
#include <cstring>

namespace {

// Exactly sized and zero-filled, so the copy is NUL-terminated.
std::unique_ptr<char[]> CopyBytes(const char* bytes, uint32_t length) {
    std::unique_ptr<char[]> copy(new char[static_cast<size_t>(length) + 1]());
    if (length) std::memcpy(copy.get(), bytes, length);
    return copy;
}

bool IsDigit(char ch) { return ch >= '0' && ch <= '9'; }

// Anything that is no hexadecimal digit counts as 0.
unsigned HexDigit(char ch) {
    if (ch >= '0' && ch <= '9') return static_cast<unsigned>(ch - '0');
    if (ch >= 'A' && ch <= 'F') return static_cast<unsigned>(ch - 'A' + 10);
    if (ch >= 'a' && ch <= 'f') return static_cast<unsigned>(ch - 'a' + 10);
    return 0;
}

unsigned HexByte(const char* pair) { return HexDigit(pair[0]) * 16 + HexDigit(pair[1]); }

}  // namespace

ClsIniFileToken::ClsIniFileToken(const char* name, uint32_t nameLength, const char* value,
                                 uint32_t valueLength, bool quoted)
    : m_name(CopyBytes(name, nameLength)) {
    if (valueLength == 0) {
        m_type = ITT_TEXT;
        return;
    }
    m_text = CopyBytes(value, valueLength);
    TypeValue(value, valueLength, quoted);
}

void ClsIniFileToken::TypeValue(const char* value, uint32_t length, bool quoted) {
    m_type = ITT_TEXT;
    if (quoted) return;
    uint32_t digitsFrom = 0;
    if (value[0] == '-' || value[0] == '+') {
        if (length == 1) return;
        digitsFrom = 1;
    }
    if (value[0] == '#' && length == 7) {
        m_color = RGB(HexByte(value + 1), HexByte(value + 3), HexByte(value + 5));
        m_type = ITT_COLOR;
        return;
    }
    for (uint32_t i = digitsFrom; i < length; ++i) {
        if (!IsDigit(value[i])) return;
    }
    // Out-of-range numbers saturate instead of wrapping into a surprising value.
    const long long number = std::strtoll(m_text.get(), nullptr, 10);
    m_number = static_cast<int32_t>(number < INT32_MIN ? INT32_MIN : number > INT32_MAX ? INT32_MAX : number);
    m_type = ITT_NUMBER;
}
