// The test reader of Skin.Ini must parse exactly as the program does, or the
// checks of the shipped skins would prove nothing: the parsing rules, case by case.
#include "IniDocument.h"
#include "IniReader.h"

#include <gtest/gtest.h>

#include <random>

using namespace skingen;

namespace {

IniReader parse(const std::string& text) { return IniReader(text); }

TEST(IniReader, TypesValuesOnTheSpot) {
    const IniReader r = parse("[S]\r\nWidth = 120\r\nQuoted = \"120\"\r\nBg = #FF0000\r\nShort = #FF00\r\n"
                              "Bare = FF0000\r\nMinus = -\r\nPlus = +\r\nNeg = -7\r\nPos = +5\r\nZeros = 007\r\n"
                              "Mixed = 12a\r\nHex = 0x10\r\nOdd = #GG0000\r\n");
    EXPECT_EQ(r.number("S", "Width"), 120);
    EXPECT_FALSE(r.number("S", "Quoted"));
    EXPECT_EQ(r.text("S", "Quoted"), "120");
    EXPECT_EQ(r.color("S", "Bg"), 255u);
    EXPECT_EQ(r.text("S", "Short"), "#FF00");
    EXPECT_EQ(r.text("S", "Bare"), "FF0000");
    EXPECT_EQ(r.text("S", "Minus"), "-");
    EXPECT_EQ(r.text("S", "Plus"), "+");
    EXPECT_EQ(r.number("S", "Neg"), -7);
    EXPECT_EQ(r.number("S", "Pos"), 5);
    EXPECT_EQ(r.number("S", "Zeros"), 7);
    EXPECT_EQ(r.text("S", "Mixed"), "12a");
    EXPECT_EQ(r.text("S", "Hex"), "0x10");
    EXPECT_EQ(r.color("S", "Odd"), 0u) << "a non-hex digit reads as 0";
}

TEST(IniReader, QuotesKeepBlanksAndUnquotedValuesStopAtOne) {
    const IniReader r = parse("[S]\r\nA = Times New Roman\r\nB = \"Times New Roman\"\r\nC = 'single quoted'\r\n"
                              "D = \"unterminated\r\nE = 1\r\n");
    EXPECT_EQ(r.text("S", "A"), "Times");
    EXPECT_EQ(r.text("S", "B"), "Times New Roman");
    EXPECT_EQ(r.text("S", "C"), "single quoted");
    EXPECT_EQ(r.text("S", "D"), "unterminated");
    EXPECT_EQ(r.number("S", "E"), 1);
}

TEST(IniReader, LineStructure) {
    const IniReader r = parse("Early = 1\r\n[Main] SkinName = x\r\na = 1 b = 2 ; comment\r\n# c\r\n; c\r\n// c\r\n"
                              "  [Indented]\r\nafter = 3\r\nbad line\r\nname x = 4\r\n[]\r\n[Open\r\nlast = 5\r\n"
                              "[Main]\r\nSecond = 1\r\na = 9\r\n[Case]\r\nskinname = 1\r\nEnd =");
    ASSERT_NE(r.section("Main"), nullptr);
    EXPECT_EQ(r.section("Main")->find("Early"), nullptr) << "entries before a section are lost";
    EXPECT_EQ(r.section("Main")->find("SkinName"), nullptr) << "the rest of a header line is dropped";
    EXPECT_EQ(r.number("Main", "a"), 1) << "the first entry of a name wins";
    EXPECT_EQ(r.number("Main", "b"), 2) << "two entries on one line";
    EXPECT_EQ(r.section("Indented"), nullptr);
    EXPECT_EQ(r.number("Main", "after"), 3) << "an indented header is no header";
    EXPECT_EQ(r.number("Main", "last"), 5) << "empty and unclosed headers are skipped";
    EXPECT_EQ(r.section("Main")->find("Second"), nullptr) << "a second section of a name is unreachable";
    EXPECT_EQ(r.section("Main")->find("name"), nullptr);
    EXPECT_EQ(r.section("Main")->find("bad"), nullptr);
    EXPECT_FALSE(r.number("Case", "SkinName")) << "names are case-sensitive";
    const IniEntry* end = r.section("Case")->find("End");
    ASSERT_NE(end, nullptr);
    EXPECT_FALSE(end->hasText);
    EXPECT_EQ(end->type, IniType::Text);
}

TEST(IniReader, LfOnlyFilesDoNotParseAsMeant) {
    const IniReader r = parse("[Main]\nSkinName = Blue\nBaseSkin = 1\n");
    EXPECT_FALSE(r.text("Main", "SkinName") == std::optional<std::string>("Blue"));
    EXPECT_FALSE(r.number("Main", "BaseSkin"));
}

TEST(IniReader, SurvivesArbitraryBytes) {
    std::mt19937 random(8);
    const std::string base = "[Main]\r\nSkinName = \"A b\"\r\nBaseSkin = 1\r\n[S]\r\nx = #00FF00 y = -3\r\n";
    const char inserts[] = {'\r', '\n', '\0', '"', '\'', '[', ']', '=', ' ', '#', ';'};
    for (int round = 0; round < 2000; ++round) {
        std::string text = base;
        const int edits = 1 + int(random() % 6);
        for (int e = 0; e < edits; ++e) {
            const size_t at = random() % (text.size() + 1);
            switch (random() % 3) {
            case 0: text.insert(at, 1, inserts[random() % sizeof inserts]); break;
            case 1: if (at < text.size()) text[at] = char(random()); break;
            default: text.resize(at); break;
            }
        }
        const IniReader r = parse(text);
        size_t entries = 0;
        for (const IniSection& s : r.sections())
            entries += s.entries.size();
        EXPECT_LE(entries, text.size()) << "more entries than bytes";
    }
}

TEST(IniDocument, WritesWhatTheReaderReadsBack) {
    IniDocument doc;
    doc.comment("a comment");
    doc.section("Main");
    doc.text("SkinName", "Graphite Night");
    doc.number("BaseSkin", 1);
    doc.section("S");
    doc.color("BgColor", Rgb::hex(0x102030));
    doc.flag("TextBold", true);
    doc.number("Negative", -14);
    doc.text("Digits", "123");
    const std::string text = doc.str();
    EXPECT_EQ(text.find("\n"), text.find("\r\n") + 1) << "CR LF line ends";
    const IniReader r(text);
    EXPECT_EQ(r.text("Main", "SkinName"), "Graphite Night");
    EXPECT_EQ(r.number("Main", "BaseSkin"), 1);
    EXPECT_EQ(r.color("S", "BgColor"), 0x302010u);
    EXPECT_EQ(r.number("S", "TextBold"), 1);
    EXPECT_EQ(r.number("S", "Negative"), -14);
    EXPECT_EQ(r.text("S", "Digits"), "123") << "a quoted text stays text";
    EXPECT_THROW(doc.text("Bad", "a \"quote\""), std::invalid_argument);
    IniDocument noSection;
    EXPECT_THROW(noSection.number("Lost", 1), std::logic_error);
}

}  // namespace
