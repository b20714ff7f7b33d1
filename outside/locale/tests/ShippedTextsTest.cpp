// The language file the build ships (bin/Locale/EN.txt, copied from
// assets/Locale): a fitting text for every key the program asks for, and
// no key nobody asks for.
#include "OrvLocaleManager.h"
#include "TestSupport.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <set>
#include <sstream>
#include <string>

namespace {

// Where a text is shown decides how long it may be.
enum class Place { Title, Caption, Header, Label, MenuItem, Tip, Format };

struct Key {
    const char* name;
    Place place;
};

// Every key the program and its libraries ask of the locale manager.
const Key kKeys[] = {
    {"IDS_ORVANE_APP_TITLE", Place::Title},
    {"IDS_SKIN_BTN_SEARCH", Place::Caption},
    {"IDS_SKIN_ORV_SEARCH_CTRL", Place::Header},
    {"IDS_SKIN_ORV_PATH_FINDER_CTRL", Place::Header},
    {"IDS_SKIN_TIP_BTN_SEARCH1", Place::Tip},
    {"IDS_SKIN_TIP_BTN_SEARCH2", Place::Tip},
    {"IDS_SKIN_HDR_NAME", Place::Header},
    {"IDS_SKIN_HDR_EMAIL", Place::Header},
    {"IDS_SKIN_HDR_OCCUPATION", Place::Header},
    {"IDS_SKIN_HDR_NODESNUM", Place::Header},
    {"IDS_SKIN_HDR_PATHSFOUND", Place::Header},
    {"IDS_SKIN_LBL_SOURCE_EMAIL", Place::Label},
    {"IDS_SKIN_LBL_DESTINATION", Place::Label},
    {"IDS_SKIN_TIP_LBL_SOURCE_EMAIL", Place::Tip},
    {"IDS_SKIN_TIP_LBL_DESTINATION", Place::Tip},
    {"IDS_SKIN_EMAIL_PRIVATE", Place::Format},
    {"IDS_SKIN_SUBM_CHAT", Place::MenuItem},
    {"IDS_SKIN_SUBM_ADDEMAILTOSOURCE", Place::MenuItem},
    {"IDS_SKIN_SUBM_ADDEMAILTODESTINATION", Place::MenuItem},
    {"IDS_SKIN_TIP_BTN_NAV_BACK", Place::Tip},
    {"IDS_SKIN_TIP_BTN_NAV_FORWARD", Place::Tip},
    {"IDS_SKIN_TIP_BTN_NAV_HOME", Place::Tip},
    {"IDS_SKIN_TIP_BTN_ADD_SOURCE", Place::Tip},
    {"IDS_SKIN_TIP_BTN_ADD_DESTINATION", Place::Tip},
    {"IDS_SKIN_TIP_BTN_CHAT", Place::Tip},
    {"IDS_SKIN_TIP_BTN_EDIT_PERSONAL_INFO", Place::Tip},
};

// Button captions (58 pixels wide), labels (95 pixels before their edit)
// and column headers (60 to 70 pixels) must stay short; tips wrap at 125
// pixels and should still be a sentence, not a paragraph.
int MaxLength(Place place) {
    switch (place) {
    case Place::Caption: return 10;
    case Place::Label: return 16;
    case Place::Header: return 16;
    case Place::Title: return 24;
    case Place::MenuItem: return 28;
    case Place::Format: return 40;
    case Place::Tip: return 80;
    }
    return 0;
}

// The folder the program looks in: <program directory>Locale\.
std::string ProgramLocaleFolder() {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, sizeof path);
    std::string folder = path;
    return folder.substr(0, folder.find_last_of("\\/") + 1) + "Locale\\";
}

std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

// The keys of a language file, read here without the library.
std::multiset<std::string> KeysInFile(const std::string& bytes) {
    std::multiset<std::string> keys;
    std::istringstream lines(bytes);
    std::string line;
    while (std::getline(lines, line)) {
        const size_t first = line.find_first_not_of(" \t\r");
        if (first == std::string::npos || line[first] == '#' || line[first] == ';') continue;
        const size_t equals = line.find('=');
        if (equals == std::string::npos) {
            ADD_FAILURE() << "line without '=': " << line;
            continue;
        }
        keys.insert(line.substr(first, line.find_last_not_of(" \t", equals - 1) + 1 - first));
    }
    return keys;
}

}  // namespace

TEST(ShippedTexts, EveryKeyHasAFittingText) {
    const OrvLocaleManager locale(ProgramLocaleFolder().c_str(), "EN");
    for (const Key& key : kKeys) {
        SCOPED_TRACE(key.name);
        EXPECT_TRUE(locale.HasString(key.name));
        const CString text = locale.GetString(key.name);
        EXPECT_STRNE(text, ("[" + std::string(key.name) + "]").c_str());
        ASSERT_FALSE(text.IsEmpty());
        EXPECT_NE(text[0], ' ');
        EXPECT_NE(text[text.GetLength() - 1], ' ');
        EXPECT_LE(text.GetLength(), MaxLength(key.place)) << text.GetString();
        EXPECT_EQ(text.Find('\n'), -1) << "single-line places only";
    }
}

TEST(ShippedTexts, TheFileHoldsExactlyTheKeysAskedFor) {
    const std::string source = ReadBytes(orvtest::SourcePath("assets/Locale/EN.txt"));
    ASSERT_FALSE(source.empty());
    std::multiset<std::string> expected;
    for (const Key& key : kKeys) expected.insert(key.name);
    EXPECT_EQ(KeysInFile(source), expected);
    // The build copies the file where the program looks for it.
    EXPECT_EQ(ReadBytes(ProgramLocaleFolder() + "EN.txt"), source);
}

TEST(ShippedTexts, ThePrivateAddressTextTakesTheNameOnce) {
    const OrvLocaleManager locale(ProgramLocaleFolder().c_str(), "EN");
    const CString format = locale.GetString("IDS_SKIN_EMAIL_PRIVATE");
    // It is used as a printf format with one text argument.
    const int placeholder = format.Find("%s");
    ASSERT_GE(placeholder, 0);
    EXPECT_EQ(format.Find('%', placeholder + 2), -1);
    EXPECT_EQ(format.Find('%'), placeholder);
    CString shown;
    shown.Format(format, "Jane Doe");
    EXPECT_NE(shown.Find("Jane Doe"), -1) << shown.GetString();
}
