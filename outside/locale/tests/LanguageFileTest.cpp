// Language files written by the test: the format, and files that are
// missing, damaged or far too big. None of them may crash the manager; what
// it cannot read shows as "[KEY]".
#include "OrvLocaleManager.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <fstream>
#include <memory>
#include <random>
#include <string>
#include <vector>

namespace {

class LanguageFile : public ::testing::Test {
protected:
    LanguageFile() {
        static std::atomic<unsigned> s_serial{0};
        char temp[MAX_PATH + 1] = {};
        GetTempPathA(sizeof temp, temp);
        m_folder = std::string(temp) + "orv-locale-" + std::to_string(GetCurrentProcessId()) + "-" +
                   std::to_string(++s_serial) + "\\";
        CreateDirectoryA(m_folder.c_str(), nullptr);
    }
    ~LanguageFile() override {
        for (const auto& file : m_files) DeleteFileA(file.c_str());
        RemoveDirectoryA(m_folder.c_str());
    }

    void Write(const std::string& bytes, const std::string& language = "EN") {
        const std::string path = m_folder + language + ".txt";
        std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
        m_files.push_back(path);
    }

    // A manager over a file holding exactly these bytes.
    std::unique_ptr<OrvLocaleManager> Load(const std::string& bytes) {
        Write(bytes);
        return std::make_unique<OrvLocaleManager>(m_folder.c_str(), "EN");
    }

    std::string m_folder;
    std::vector<std::string> m_files;
};

using LanguageFormat = LanguageFile;
using MissingTexts = LanguageFile;
using DamagedFiles = LanguageFile;

// Whatever a manager answers must be printable on one control.
void ExpectShowable(const CString& text) {
    for (int i = 0; i < text.GetLength(); ++i) {
        const auto ch = static_cast<unsigned char>(text[i]);
        EXPECT_TRUE(ch >= 32 || ch == '\t' || ch == '\n') << "byte " << int(ch) << " at " << i;
    }
}

std::string RandomBytes(std::mt19937& random, size_t count) {
    std::string bytes(count, '\0');
    std::uniform_int_distribution<int> byte(0, 255);
    for (char& ch : bytes) ch = static_cast<char>(byte(random));
    return bytes;
}

}  // namespace

TEST_F(LanguageFormat, KeysTextsCommentsAndLineEnds) {
    const auto locale = Load(
        "\xEF\xBB\xBF"
        "IDS_FIRST=First\r\n"
        "# IDS_COMMENT=Hash comment\r\n"
        "; IDS_OTHER=Semicolon comment\n"
        "  IDS_BLANKS  =   Around the text  \r\n"
        "IDS_LF=Unix line end\n"
        "IDS_CR=Old Mac line end\r"
        "IDS_EQUALS=a=b\r\n"
        "\r\n\n"
        "ids_lower=lower case key\r\n"
        "IDS.DOTTED_1=dotted\r\n"
        "IDS_ESCAPES=Line\\nbreak\\ttab\\\\slash\\q\r\n"
        "IDS_FIRST=Second\r\n"
        "IDS_LAST=no line end");
    EXPECT_STREQ(locale->GetString("IDS_FIRST"), "First");
    EXPECT_STREQ(locale->GetString("IDS_COMMENT"), "[IDS_COMMENT]");
    EXPECT_STREQ(locale->GetString("IDS_OTHER"), "[IDS_OTHER]");
    EXPECT_STREQ(locale->GetString("IDS_BLANKS"), "Around the text");
    EXPECT_STREQ(locale->GetString("IDS_LF"), "Unix line end");
    EXPECT_STREQ(locale->GetString("IDS_CR"), "Old Mac line end");
    EXPECT_STREQ(locale->GetString("IDS_EQUALS"), "a=b");
    EXPECT_STREQ(locale->GetString("ids_lower"), "lower case key");
    EXPECT_STREQ(locale->GetString("IDS_LOWER"), "[IDS_LOWER]");
    EXPECT_STREQ(locale->GetString("IDS.DOTTED_1"), "dotted");
    EXPECT_STREQ(locale->GetString("IDS_ESCAPES"), "Line\nbreak\ttab\\slash\\q");
    EXPECT_STREQ(locale->GetString("IDS_LAST"), "no line end");
}

TEST_F(LanguageFormat, LinesThatBreakTheFormatAreDroppedOneByOne) {
    const auto locale = Load(
        "IDS_NO_EQUALS\r\n"
        "=No key\r\n"
        "IDS_EMPTY=\r\n"
        "IDS_BLANK=   \r\n"
        "IDS BAD=blank in the key\r\n"
        "IDS-BAD=dash in the key\r\n"
        "IDS_CONTROL=bell\a here\r\n"
        "IDS_GOOD=Good\r\n");
    for (const char* key : {"IDS_NO_EQUALS", "IDS_EMPTY", "IDS_BLANK", "IDS BAD", "IDS", "IDS-BAD",
                            "IDS_CONTROL"}) {
        EXPECT_FALSE(locale->HasString(key)) << key;
        EXPECT_EQ(locale->GetString(key), "[" + CString(key) + "]");
    }
    EXPECT_STREQ(locale->GetString("IDS_GOOD"), "Good");
}

TEST_F(LanguageFormat, TheDirectoryMayEndWithASeparatorOrNot) {
    Write("IDS_A=Alpha\r\n");
    const std::string bare = m_folder.substr(0, m_folder.size() - 1);
    EXPECT_STREQ(OrvLocaleManager(bare.c_str(), "EN").GetString("IDS_A"), "Alpha");
    EXPECT_STREQ(OrvLocaleManager((bare + "/").c_str(), "EN").GetString("IDS_A"), "Alpha");
    EXPECT_STREQ(OrvLocaleManager(m_folder.c_str(), "EN").GetString("IDS_A"), "Alpha");
    Write("IDS_A=Alfa\r\n", "DE");
    EXPECT_STREQ(OrvLocaleManager(m_folder.c_str(), "DE").GetString("IDS_A"), "Alfa");
}

TEST_F(MissingTexts, AMissingKeyShowsItselfInBrackets) {
    const auto locale = Load("IDS_A=Alpha\r\n");
    EXPECT_STREQ(locale->GetString("IDS_MISSING"), "[IDS_MISSING]");
    EXPECT_STREQ(locale->GetString(""), "[]");
    EXPECT_STREQ(locale->GetString(nullptr), "[]");
    EXPECT_FALSE(locale->HasString(nullptr));
    // A placeholder stays short whatever the caller passes.
    const std::string longKey(100000, 'K');
    EXPECT_EQ(locale->GetString(longKey.c_str()).GetLength(), 66);
}

TEST_F(MissingTexts, MissingFoldersFilesAndOddLanguagesGivePlaceholders) {
    Write("IDS_A=Alpha\r\n");
    const std::vector<std::pair<const char*, const char*>> places = {
        {"Z:\\no\\such\\folder\\", "EN"},
        {m_folder.c_str(), "FR"},
        {m_folder.c_str(), ""},
        {m_folder.c_str(), nullptr},
        {m_folder.c_str(), "..\\EN"},
        {m_folder.c_str(), "EN.txt"},
        {m_folder.c_str(), "EN "},
        {m_folder.c_str(), "ABCDEFGHIJKLMNOPQ"},
        {"", "EN"},
        {nullptr, "EN"},
    };
    for (const auto& [folder, language] : places) {
        SCOPED_TRACE(std::string(folder ? folder : "(null)") + " / " + (language ? language : "(null)"));
        const OrvLocaleManager locale(folder, language);
        EXPECT_STREQ(locale.GetString("IDS_A"), "[IDS_A]");
    }
}

TEST_F(MissingTexts, AFolderWhereTheFileShouldBe) {
    const std::string folder = m_folder + "EN.txt";
    ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));
    const OrvLocaleManager locale(m_folder.c_str(), "EN");
    EXPECT_STREQ(locale.GetString("IDS_A"), "[IDS_A]");
    RemoveDirectoryA(folder.c_str());
}

TEST_F(DamagedFiles, BinaryGarbageAroundGoodLines) {
    std::mt19937 random(4242);
    for (int round = 0; round < 50; ++round) {
        SCOPED_TRACE(round);
        const auto locale = Load(RandomBytes(random, 20000) + "\r\nIDS_A=Alpha\r\n" +
                                 RandomBytes(random, 20000) + "\nIDS_B=Bravo\n" +
                                 RandomBytes(random, 20000));
        EXPECT_STREQ(locale->GetString("IDS_A"), "Alpha");
        EXPECT_STREQ(locale->GetString("IDS_B"), "Bravo");
        for (const char* key : {"IDS_ORVANE_APP_TITLE", "A", "IDS_SKIN_HDR_NAME"})
            ExpectShowable(locale->GetString(key));
    }
}

TEST_F(DamagedFiles, GarbageWithEqualsSignsNeverGivesUnshowableTexts) {
    std::mt19937 random(99);
    for (int round = 0; round < 50; ++round) {
        std::string bytes = RandomBytes(random, 50000);
        // Many would-be lines "K=..." so that garbage reaches the table.
        for (size_t i = 0; i + 3 < bytes.size(); i += 97) bytes.replace(i, 3, "\nK=");
        const auto locale = Load(bytes);
        ExpectShowable(locale->GetString("K"));
    }
}

TEST_F(DamagedFiles, LongLinesAndFilesWithoutLineEnds) {
    // Texts up to 1024 bytes are kept; a longer line is dropped alone.
    const std::string longest(1024, 'x');
    const auto lines = Load("IDS_LONGEST=" + longest + "\r\nIDS_LONG=" + std::string(100000, 'y') +
                            "\r\nIDS_B=Bravo\r\n" + "IDS_" + std::string(64, 'K') + "=too long a key\r\n");
    EXPECT_EQ(lines->GetString("IDS_LONGEST"), CString(longest.c_str()));
    EXPECT_STREQ(lines->GetString("IDS_LONG"), "[IDS_LONG]");
    EXPECT_STREQ(lines->GetString("IDS_B"), "Bravo");
    EXPECT_FALSE(lines->HasString(("IDS_" + std::string(64, 'K')).c_str()));

    const auto endless = Load("IDS_A=" + std::string(600000, 'z'));
    EXPECT_STREQ(endless->GetString("IDS_A"), "[IDS_A]");
}

TEST_F(DamagedFiles, OnlyTheFirstMegabyteOfAHugeFileIsRead) {
    std::string bytes = "IDS_FIRST=First\r\n";
    // One long comment line up to 100 bytes before the limit.
    bytes += "# " + std::string(1024 * 1024 - 100 - bytes.size() - 4, '-') + "\r\n";
    ASSERT_EQ(bytes.size(), 1024u * 1024 - 100);
    bytes += "IDS_ACROSS=" + std::string(200, 'a') + "\r\n";
    bytes += "IDS_AFTER=After\r\n";
    bytes += std::string(8u * 1024 * 1024, '#');
    const auto locale = Load(bytes);
    EXPECT_STREQ(locale->GetString("IDS_FIRST"), "First");
    EXPECT_STREQ(locale->GetString("IDS_ACROSS"), "[IDS_ACROSS]");
    EXPECT_STREQ(locale->GetString("IDS_AFTER"), "[IDS_AFTER]");

    const auto noLineEnds = Load(std::string(4u * 1024 * 1024, 'A') + "=x");
    EXPECT_STREQ(noLineEnds->GetString("A"), "[A]");
}
