// Every section and key that the program reads from a Skin.Ini, with the type
// it expects: the checklist both shipped skins must satisfy. Kept apart from
// the generator on purpose, so that a key the generator forgets is caught.
#pragma once

#include <string>
#include <vector>

namespace skintest {

enum class KeyType {
    Number,
    Color,
    Text,
    Flag,  // a number, 0 or 1
    File,  // a text naming a bitmap in the skin folder
};

struct KeySpec {
    std::string section;
    std::string key;
    KeyType type;
};

std::vector<KeySpec> skinChecklist();

// Sections read as a composed-image record and as a control frame record.
const std::vector<std::string>& imageRecordSections();
const std::vector<std::string>& frameRecordSections();

}  // namespace skintest
