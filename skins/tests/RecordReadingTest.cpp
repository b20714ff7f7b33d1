// The border records a skin change reads: every key into its field, the
// defaults of a present section, the all-zero form of a missing one, keys of
// the wrong type, the BordersWidth rule, and what is listed as not read.
#include "ReaderTestSupport.h"

#include "ClsBitMap.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

using skintest::ApplyIni;
using skintest::HasProblem;
using skintest::Problems;

namespace {

const char* const kGeometryKeys[] = {
    "LeftBorderWidth", "RightBorderWidth", "TopBorderWidth", "BottomBorderWidth", "LeftTopCornerX",
    "LeftTopCornerY",  "RightTopCornerX",  "RightTopCornerY", "LeftBottomCornerX", "LeftBottomCornerY",
    "RightBottomCornerX", "RightBottomCornerY", "LeftBorderX", "LeftBorderY", "LeftBorderLength",
    "RightBorderX",    "RightBorderY",     "RightBorderLength", "TopBorderX",      "TopBorderY",
    "TopBorderLength", "BottomBorderX",    "BottomBorderY",   "BottomBorderLength", "ContentX",
    "ContentY",        "ContentWidth",     "ContentHeight"};
static_assert(sizeof kGeometryKeys / sizeof kGeometryKeys[0] == 28, "28 numbers");

// Key n gets the value base + n, so a field read from the wrong key shows.
std::string NumberedGeometry(int base) {
    std::string text;
    for (int i = 0; i < 28; ++i) text += std::string(kGeometryKeys[i]) + " = " + std::to_string(base + i) + "\n";
    return text;
}

void ExpectNumberedGeometry(const BorderGeometry_t& cells, int base) {
    const int32_t* numbers = &cells.LeftBorderWidth;
    for (int i = 0; i < 28; ++i) EXPECT_EQ(numbers[i], base + i) << kGeometryKeys[i];
}

void ExpectZeroGeometry(const BorderGeometry_t& cells, const char* what) {
    const int32_t* numbers = &cells.LeftBorderWidth;
    for (int i = 0; i < 28; ++i) EXPECT_EQ(numbers[i], 0) << what << " " << kGeometryKeys[i];
}

class RecordReading : public ::testing::Test {
protected:
    SkinRoot m_root;
};

}  // namespace

TEST_F(RecordReading, MissingSectionsGiveAllZeroRecordsWithoutImage) {
    auto reader = ApplyIni(m_root, "Bare", "");
    ASSERT_NE(reader->GetCurrentSkin(), nullptr);
    for (int i = 0; i < srCount; ++i) {
        const SkinBorderInfo_t* record = reader->GetSkinBorderInfo(static_cast<SkinRecord_e>(i));
        ASSERT_NE(record, nullptr) << i;
        ExpectZeroGeometry(*record, "skin record");
        EXPECT_EQ(record->BgColor, 0u);
        EXPECT_EQ(record->TextColor, 0u);
        EXPECT_EQ(record->DisabledTextColor, 0u);
        EXPECT_TRUE(record->TextFont.IsEmpty());
        EXPECT_EQ(record->TextSize, 0);
        EXPECT_EQ(record->Reserved1, 0);
        EXPECT_EQ(record->Reserved2, 0);
        EXPECT_EQ(record->InterationStep, 0);
        EXPECT_EQ(record->MainImage, nullptr);
    }
    for (int i = 0; i < crCount; ++i) {
        const ControlBorderInfo_t* record = reader->GetControlBorderInfo(static_cast<ControlRecord_e>(i));
        ASSERT_NE(record, nullptr) << i;
        ExpectZeroGeometry(*record, "control record");
        EXPECT_EQ(record->BgColor, 0u);
        EXPECT_EQ(record->InterationStep, 0);
        EXPECT_EQ(record->MainImage, nullptr);
    }
    EXPECT_EQ(reader->GetSkinBorderInfo(srCount), nullptr);
    EXPECT_EQ(reader->GetControlBorderInfo(static_cast<ControlRecord_e>(-1)), nullptr);
    EXPECT_EQ(reader->GetSearchCtrlWidth(), 196);
    // Each missing section is listed once, however many records read it.
    EXPECT_TRUE(HasProblem(*reader, "Buttons", "")) << Problems(*reader);
    EXPECT_TRUE(HasProblem(*reader, "MenuSeparators", "")) << Problems(*reader);
    // Top-level menu items have a stand-in border: no problem without theirs.
    EXPECT_FALSE(HasProblem(*reader, "OrvTopMenuItem", "")) << Problems(*reader);
    int treeControl = 0;
    for (int i = 0; i < reader->GetProblemCount(); ++i)
        if (reader->GetProblem(i)->Section == "TreeControl") ++treeControl;
    EXPECT_EQ(treeControl, 1) << Problems(*reader);
}

TEST_F(RecordReading, PresentSectionWithoutKeysTakesTheDefaults) {
    auto reader = ApplyIni(m_root, "Sparse", "[Buttons]\nUnrelated = 1\n[ListViews]\n");
    const SkinBorderInfo_t* buttons = reader->GetSkinBorderInfo(srButtons);
    ASSERT_NE(buttons, nullptr);
    ExpectZeroGeometry(*buttons, "Buttons");
    EXPECT_EQ(buttons->BgColor, 0xC0C0C0u);
    EXPECT_EQ(buttons->TextColor, 0u);
    EXPECT_EQ(buttons->DisabledTextColor, 0x808080u);
    EXPECT_TRUE(buttons->TextFont.IsEmpty());
    EXPECT_EQ(buttons->TextSize, 8);
    EXPECT_EQ(buttons->InterationStep, 0);
    // The image object exists; without MainImage it holds no bitmap.
    ASSERT_NE(buttons->MainImage, nullptr);
    EXPECT_FALSE(buttons->MainImage->GetIsValid());

    const ControlBorderInfo_t* lists = reader->GetControlBorderInfo(crListViews);
    ASSERT_NE(lists, nullptr);
    ExpectZeroGeometry(*lists, "ListViews");
    EXPECT_EQ(lists->BgColor, 0xC0C0C0u);
    EXPECT_EQ(lists->InterationStep, 0);
    ASSERT_NE(lists->MainImage, nullptr);
    EXPECT_FALSE(lists->MainImage->GetIsValid());
    // Missing keys are not problems; only the missing sections are listed.
    EXPECT_FALSE(HasProblem(*reader, "Buttons", "")) << Problems(*reader);
    EXPECT_FALSE(HasProblem(*reader, "ListViews", "")) << Problems(*reader);
}

TEST_F(RecordReading, EveryKeyLandsInItsField) {
    m_root.WriteBitmap("Full\\Images\\Button.bmp", 12, 7, [](int x, int y) { return RGB(x, y, 1); });
    m_root.WriteBitmap("Full\\Frame.bmp", 5, 9, [](int x, int y) { return RGB(x, y, 2); });
    auto reader = ApplyIni(m_root, "Full",
                           "[Buttons]\n" + NumberedGeometry(100) +
                               "BgColor = #102030\nTextColor = #405060\nDisabledTextColor = #708090\n"
                               "TextFont = \"Times New Roman\"\nTextSize = 11\nInterationStep = 17\n"
                               "MainImage = \"Images\\Button.bmp\"\n"
                               "[ListViews]\n" +
                               NumberedGeometry(300) + "BgColor = #0A0B0C\nInterationStep = 23\nMainImage = Frame.bmp\n"
                               "[OrvSearchCtrl]\nWidth = 230\n");
    const SkinBorderInfo_t* buttons = reader->GetSkinBorderInfo(srButtons);
    ASSERT_NE(buttons, nullptr);
    ExpectNumberedGeometry(*buttons, 100);
    EXPECT_EQ(buttons->BgColor, RGB(0x10, 0x20, 0x30));
    EXPECT_EQ(buttons->TextColor, RGB(0x40, 0x50, 0x60));
    EXPECT_EQ(buttons->DisabledTextColor, RGB(0x70, 0x80, 0x90));
    EXPECT_STREQ(buttons->TextFont, "Times New Roman");
    EXPECT_EQ(buttons->TextSize, 11);
    EXPECT_EQ(buttons->Reserved1, 0);
    EXPECT_EQ(buttons->Reserved2, 0);
    EXPECT_EQ(buttons->InterationStep, 17);
    ASSERT_NE(buttons->MainImage, nullptr);
    ASSERT_TRUE(buttons->MainImage->GetIsValid());
    EXPECT_EQ(buttons->MainImage->GetWidth(), 12);
    EXPECT_EQ(buttons->MainImage->GetHeight(), 7);

    const ControlBorderInfo_t* lists = reader->GetControlBorderInfo(crListViews);
    ASSERT_NE(lists, nullptr);
    ExpectNumberedGeometry(*lists, 300);
    EXPECT_EQ(lists->BgColor, RGB(0x0A, 0x0B, 0x0C));
    EXPECT_EQ(lists->InterationStep, 23);
    ASSERT_NE(lists->MainImage, nullptr);
    EXPECT_EQ(lists->MainImage->GetSize(), CSize(5, 9));
    EXPECT_EQ(reader->GetSearchCtrlWidth(), 230);
    EXPECT_FALSE(HasProblem(*reader, "Buttons", "")) << Problems(*reader);
    EXPECT_FALSE(HasProblem(*reader, "ListViews", "")) << Problems(*reader);
}

TEST_F(RecordReading, KeysOfTheWrongTypeCountAsMissingAndAreListed) {
    auto reader = ApplyIni(m_root, "Wrong",
                           "[Buttons]\nLeftBorderWidth = \"5\"\nTopBorderWidth = #050505\nContentX = 3px\n"
                           "BgColor = 12\nTextColor = red\nDisabledTextColor = \"#FFFFFF\"\n"
                           "TextFont = 12\nTextSize = #0A0A0A\nInterationStep = -\nMainImage = 7\n"
                           "RightBorderWidth = 4\n"
                           "[OrvSearchCtrl]\nWidth = \"230\"\n");
    const SkinBorderInfo_t* buttons = reader->GetSkinBorderInfo(srButtons);
    ASSERT_NE(buttons, nullptr);
    EXPECT_EQ(buttons->LeftBorderWidth, 0);
    EXPECT_EQ(buttons->TopBorderWidth, 0);
    EXPECT_EQ(buttons->ContentX, 0);
    EXPECT_EQ(buttons->RightBorderWidth, 4);
    EXPECT_EQ(buttons->BgColor, 0xC0C0C0u);
    EXPECT_EQ(buttons->TextColor, 0u);
    EXPECT_EQ(buttons->DisabledTextColor, 0x808080u);
    EXPECT_TRUE(buttons->TextFont.IsEmpty());
    EXPECT_EQ(buttons->TextSize, 8);
    EXPECT_EQ(buttons->InterationStep, 0);
    ASSERT_NE(buttons->MainImage, nullptr);
    EXPECT_FALSE(buttons->MainImage->GetIsValid());
    EXPECT_EQ(reader->GetSearchCtrlWidth(), 196);
    for (const char* key : {"LeftBorderWidth", "TopBorderWidth", "ContentX", "BgColor", "TextColor",
                            "DisabledTextColor", "TextFont", "TextSize", "InterationStep", "MainImage"})
        EXPECT_TRUE(HasProblem(*reader, "Buttons", key)) << key << "\n" << Problems(*reader);
    EXPECT_FALSE(HasProblem(*reader, "Buttons", "RightBorderWidth")) << Problems(*reader);
    EXPECT_TRUE(HasProblem(*reader, "OrvSearchCtrl", "Width")) << Problems(*reader);
    // Each problem says which file it was read from.
    const std::string ini = m_root.SkinDirectory("Wrong") + "Skin.Ini";
    for (int i = 0; i < reader->GetProblemCount(); ++i)
        if (reader->GetProblem(i)->Section == "Buttons") {
            EXPECT_EQ(ini, reader->GetProblem(i)->File.GetString());
        }
}

TEST_F(RecordReading, BordersWidthSetsAllFourWidthsAndHidesTheSingleKeys) {
    m_root.WriteIni("Other", "[Main]\nSkinName = Other\n"
                             "[Edits]\nBordersWidth = wide\nLeftBorderWidth = 2\nBottomBorderWidth = 3\n");
    auto reader = ApplyIni(m_root, "Even",
                           "[Buttons]\nBordersWidth = 7\nLeftBorderWidth = 2\nTopBorderWidth = \"x\"\n"
                           "[ListHeaders]\nBordersWidth = -3\n"
                           "[VerticalSplitter]\nBordersWidth = 5\nRightBorderWidth = 1\n");
    const SkinBorderInfo_t* buttons = reader->GetSkinBorderInfo(srButtons);
    EXPECT_EQ(buttons->LeftBorderWidth, 7);
    EXPECT_EQ(buttons->RightBorderWidth, 7);
    EXPECT_EQ(buttons->TopBorderWidth, 7);
    EXPECT_EQ(buttons->BottomBorderWidth, 7);
    // The single keys are not read at all, so their wrong type is no problem.
    EXPECT_FALSE(HasProblem(*reader, "Buttons", "TopBorderWidth")) << Problems(*reader);
    EXPECT_EQ(reader->GetSkinBorderInfo(srListHeaders)->BottomBorderWidth, -3);
    const ControlBorderInfo_t* splitter = reader->GetControlBorderInfo(crVerticalSplitter);
    EXPECT_EQ(splitter->LeftBorderWidth, 5);
    EXPECT_EQ(splitter->RightBorderWidth, 5);

    // BordersWidth that is no number counts as missing: the single keys count.
    reader->SetSkinByDirectory("Other\\");
    ASSERT_STREQ(reader->GetCurrentSkin()->GetName(), "Other");
    const SkinBorderInfo_t* edits = reader->GetSkinBorderInfo(srEdits);
    EXPECT_EQ(edits->LeftBorderWidth, 2);
    EXPECT_EQ(edits->RightBorderWidth, 0);
    EXPECT_EQ(edits->TopBorderWidth, 0);
    EXPECT_EQ(edits->BottomBorderWidth, 3);
    EXPECT_TRUE(HasProblem(*reader, "Edits", "BordersWidth")) << Problems(*reader);
}

TEST_F(RecordReading, EachChangeReadsItsOwnSkinAndForgetsTheLastProblems) {
    m_root.WriteIni("Second", "[Main]\nSkinName = Second\n[Buttons]\nTextSize = 20\n[OrvSearchCtrl]\nWidth = 250\n");
    auto reader = ApplyIni(m_root, "First", "[Buttons]\nTextSize = \"big\"\nBgColor = #010101\n");
    EXPECT_EQ(reader->GetSkinBorderInfo(srButtons)->TextSize, 8);
    EXPECT_TRUE(HasProblem(*reader, "Buttons", "TextSize"));

    reader->SetSkinByDirectory("Second\\");
    EXPECT_STREQ(reader->GetCurrentSkin()->GetName(), "Second");
    EXPECT_EQ(reader->GetSkinBorderInfo(srButtons)->TextSize, 20);
    EXPECT_EQ(reader->GetSkinBorderInfo(srButtons)->BgColor, 0xC0C0C0u);
    EXPECT_EQ(reader->GetSearchCtrlWidth(), 250);
    EXPECT_FALSE(HasProblem(*reader, "Buttons", "TextSize")) << Problems(*reader);

    reader->SetDefaultSkin();
    EXPECT_STREQ(reader->GetCurrentSkin()->GetName(), "First");
    EXPECT_EQ(reader->GetSkinBorderInfo(srButtons)->BgColor, RGB(1, 1, 1));
    EXPECT_EQ(reader->GetSearchCtrlWidth(), 196);
}

TEST_F(RecordReading, ADescriptionGoneSinceTheListingAppliesAsEmpty) {
    const std::string ini = m_root.WriteIni("Gone", "[Main]\nSkinName = Gone\nBaseSkin = 1\n[Buttons]\nTextSize = 9\n");
    OrvSkinReader reader(m_root.Path().c_str(), nullptr);
    ASSERT_EQ(reader.GetCount(), 1);
    ASSERT_TRUE(::DeleteFileA(ini.c_str()));
    reader.SetDefaultSkin();
    EXPECT_EQ(reader.GetCurrentSkin(), reader.GetSkin(0));
    const SkinBorderInfo_t* buttons = reader.GetSkinBorderInfo(srButtons);
    ASSERT_NE(buttons, nullptr);
    EXPECT_EQ(buttons->TextSize, 0);
    EXPECT_EQ(buttons->MainImage, nullptr);
    // One problem names the file; its sections are not listed one by one.
    ASSERT_EQ(reader.GetProblemCount(), 1) << Problems(reader);
    EXPECT_EQ(ini, reader.GetProblem(0)->File.GetString());
    EXPECT_NE(std::string(reader.GetProblem(0)->Reason).find("not found"), std::string::npos);
    EXPECT_EQ(reader.GetProblem(1), nullptr);
    EXPECT_EQ(reader.GetProblem(-1), nullptr);
}
