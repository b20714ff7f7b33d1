#pragma once
// Test fixture: writes description text to a real file and parses it.
#include "ClsIniFileParser.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

class IniFileTest : public ::testing::Test {
protected:
    std::unique_ptr<ClsIniFileParser> Parse(const std::string& bytes) {
        return std::make_unique<ClsIniFileParser>(m_folder.Write("Skin.Ini", bytes).c_str());
    }

    // The entry, or null when the section or the entry is missing.
    static ClsIniFileToken* Token(const ClsIniFileParser& parser, const char* section, const char* name) {
        ClsIniFileSection* found = parser.FindSection(section);
        return found ? found->FindToken(name) : nullptr;
    }

    TempFolder m_folder;
};
