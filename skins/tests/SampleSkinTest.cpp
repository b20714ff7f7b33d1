// A complete, well-formed description file (fixtures/Sample/Skin.Ini, CR LF)
// parses into the sections and typed entries the skin reader asks for.
#include "AllocationMeter.h"
#include "ClsIniFileParser.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

std::string SamplePath() { return orvtest::SourcePath("skins/tests/fixtures/Sample/Skin.Ini"); }

class SampleSkin : public ::testing::Test {
protected:
    void SetUp() override { m_ini = std::make_unique<ClsIniFileParser>(SamplePath().c_str()); }

    const ClsIniFileToken& Entry(const char* section, const char* name) {
        ClsIniFileSection* found = m_ini->FindSection(section);
        static const ClsIniFileToken missing("(missing)", 9, nullptr, 0, false);
        if (!found) {
            ADD_FAILURE() << "no section " << section;
            return missing;
        }
        const ClsIniFileToken* token = found->FindToken(name);
        if (!token) {
            ADD_FAILURE() << "no entry " << section << "/" << name;
            return missing;
        }
        return *token;
    }

    std::unique_ptr<ClsIniFileParser> m_ini;
};

}  // namespace

TEST_F(SampleSkin, MainNamesTheSkin) {
    EXPECT_EQ(Entry("Main", "SkinName").GetType(), ITT_TEXT);
    EXPECT_STREQ(Entry("Main", "SkinName").GetText(), "Sample Blue");
    EXPECT_EQ(Entry("Main", "BaseSkin").GetType(), ITT_NUMBER);
    EXPECT_EQ(Entry("Main", "BaseSkin").GetNumber(), 1);
    EXPECT_EQ(m_ini->FindSection("Main")->FindToken("Author"), nullptr);
}

TEST_F(SampleSkin, BorderRecordKeys) {
    EXPECT_EQ(Entry("Buttons", "BordersWidth").GetNumber(), 3);
    // Two pairs on one line, separated by a tab.
    EXPECT_EQ(Entry("Buttons", "LeftTopCornerY").GetType(), ITT_NUMBER);
    EXPECT_EQ(Entry("Buttons", "RightTopCornerX").GetNumber(), 61);
    EXPECT_EQ(Entry("Buttons", "ContentHeight").GetNumber(), 14);
    EXPECT_EQ(Entry("Buttons", "BgColor").GetType(), ITT_COLOR);
    EXPECT_EQ(Entry("Buttons", "BgColor").GetColor(), RGB(0xD4, 0xD0, 0xC8));
    EXPECT_EQ(Entry("Buttons", "TextColor").GetColor(), 0u);
    EXPECT_EQ(Entry("Buttons", "DisabledTextColor").GetColor(), 0x808080u);
    EXPECT_STREQ(Entry("Buttons", "TextFont").GetText(), "Times New Roman");
    EXPECT_EQ(Entry("Buttons", "InterationStep").GetNumber(), 20);
    EXPECT_EQ(Entry("Buttons", "MainImage").GetType(), ITT_TEXT);
    EXPECT_STREQ(Entry("Buttons", "MainImage").GetText(), "Images\\Button.bmp");
}

TEST_F(SampleSkin, ControlKeysCommentsAndQuotedPaths) {
    EXPECT_EQ(Entry("OrvSearchCtrl", "Width").GetNumber(), 196);
    EXPECT_EQ(Entry("OrvSearchCtrl", "HeaderWidth").GetType(), ITT_NUMBER);
    EXPECT_EQ(Entry("OrvSearchCtrl", "HeaderWidth").GetNumber(), 0);
    EXPECT_EQ(Entry("OrvSearchCtrl", "BtnSearchX").GetNumber(), 129);
    EXPECT_EQ(Entry("OrvSearchCtrl", "BgColor").GetColor(), RGB(0xF0, 0xF0, 0xFF));
    EXPECT_STREQ(Entry("MessagePanel", "ClockImage").GetText(), "Images\\Clock Strip.bmp");
    EXPECT_EQ(Entry("MessagePanel", "FontSize").GetNumber(), -11);
    EXPECT_STREQ(Entry("MessagePanel", "FontName").GetText(), "Tahoma");
    // The indented header did not open a section: its entry went to MessagePanel.
    EXPECT_EQ(m_ini->FindSection("NotASection"), nullptr);
    EXPECT_STREQ(Entry("MessagePanel", "Indented").GetText(), "yes");
    EXPECT_EQ(Entry("TreeControl", "NodeRootFrmColor").GetColor(), RGB(0xFF, 0xFF, 0));
    EXPECT_EQ(m_ini->FindSection("TreeControl")->FindToken("NodeRegFrmColor"), nullptr);
    EXPECT_EQ(Entry("TreeControl", "OnlineIconImage").GetType(), ITT_TEXT);
    EXPECT_FALSE(Entry("TreeControl", "OnlineIconImage").HasText());
}

TEST_F(SampleSkin, FirstSectionAndFirstEntryWin) {
    EXPECT_EQ(Entry("OrvTopMenuItem", "LeftBorderWidth").GetNumber(), 2);
    EXPECT_STREQ(Entry("Main", "SkinName").GetText(), "Sample Blue");
}

TEST(SampleSkinMemory, AParserFreesEverythingItAllocated) {
    const std::string path = SamplePath();
    AllocationMeter meter;
    {
        ClsIniFileParser ini(path.c_str());
        ASSERT_NE(ini.FindSection("Main"), nullptr);
        EXPECT_GT(meter.Live(), 0);
    }
    EXPECT_EQ(meter.Live(), 0);
}
