// Builds the text of a Skin.Ini: ordered sections of typed entries, written
// with CR LF line ends (the program's parser ends lines at CR only) and every
// text value quoted, so that names with blanks stay whole and no text is ever
// mistaken for a number or a colour.
#pragma once

#include "Rgb.h"

#include <cstdint>
#include <string>
#include <vector>

namespace skingen {

class IniDocument {
public:
    void comment(const std::string& line);
    void section(const std::string& name);
    void number(const std::string& name, int32_t value);
    void flag(const std::string& name, bool value) { number(name, value ? 1 : 0); }
    void color(const std::string& name, Rgb value);
    void text(const std::string& name, const std::string& value);

    std::string str() const { return text_; }

private:
    void entry(const std::string& name, const std::string& value);
    std::string text_;
};

}  // namespace skingen
