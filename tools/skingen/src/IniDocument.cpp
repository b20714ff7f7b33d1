#include "IniDocument.h"

#include <stdexcept>

namespace skingen {

void IniDocument::comment(const std::string& line) { text_ += "; " + line + "\r\n"; }

void IniDocument::section(const std::string& name) {
    if (!text_.empty())
        text_ += "\r\n";
    text_ += "[" + name + "]\r\n";
}

void IniDocument::number(const std::string& name, int32_t value) { entry(name, std::to_string(value)); }

void IniDocument::color(const std::string& name, Rgb value) { entry(name, value.iniText()); }

void IniDocument::text(const std::string& name, const std::string& value) {
    if (value.find('"') != std::string::npos || value.find('\r') != std::string::npos)
        throw std::invalid_argument("a skin text cannot hold a double quote or a CR: " + value);
    entry(name, "\"" + value + "\"");
}

void IniDocument::entry(const std::string& name, const std::string& value) {
    if (text_.empty())
        throw std::logic_error("an entry before the first section is lost: " + name);
    text_ += name + " = " + value + "\r\n";
}

}  // namespace skingen
