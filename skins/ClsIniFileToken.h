#pragma once
// One "name = value" entry of a skin description, typed once when it is read.
#include <windows.h>

#include <cstdint>
#include <memory>

enum IniTokenType_e {
    ITT_NONE = 0,    // not typed yet; no entry of a parsed file keeps it
    ITT_TEXT = 1,    // read GetText()
    ITT_NUMBER = 2,  // decimal integer: read GetNumber()
    ITT_COLOR = 3,   // #RRGGBB: read GetColor()
};

class ClsIniFileToken {
public:
    // Copies name and value (neither needs a NUL) and types the value. A
    // quoted value is always text; an empty value is text without text.
    ClsIniFileToken(const char* name, uint32_t nameLength, const char* value, uint32_t valueLength,
                    bool quoted);
    ClsIniFileToken(const ClsIniFileToken&) = delete;
    ClsIniFileToken& operator=(const ClsIniFileToken&) = delete;

    const char* GetName() const { return m_name.get(); }
    // "" for an entry whose value was empty, so callers may always print it.
    const char* GetText() const { return m_text ? m_text.get() : ""; }
    bool HasText() const { return m_text != nullptr; }
    IniTokenType_e GetType() const { return m_type; }
    int32_t GetNumber() const { return m_number; }
    COLORREF GetColor() const { return m_color; }

private:
    void TypeValue(const char* value, uint32_t length, bool quoted);

    std::unique_ptr<char[]> m_name;
    std::unique_ptr<char[]> m_text;
    int32_t m_number = 0;
    COLORREF m_color = 0;
    IniTokenType_e m_type = ITT_NONE;
};
