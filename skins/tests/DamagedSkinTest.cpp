// Damaged skins never crash and never stop a change: truncated and garbage
// descriptions, bitmaps that are empty, cut short, lie about their size or
// are no bitmaps at all, absurd numbers, and many random mutations of a
// shipped skin. What could not be read is listed; everything else applies.
#include "ReaderTestSupport.h"

#include "ClsBitMap.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>

using skintest::HasProblem;
using skintest::Problems;
using skintest::ProgramFolder;

namespace {

// Every record exists after any change, whatever the skin held.
void ExpectEveryRecord(const OrvSkinReader& reader) {
    for (int i = 0; i < srCount; ++i) EXPECT_NE(reader.GetSkinBorderInfo(static_cast<SkinRecord_e>(i)), nullptr);
    for (int i = 0; i < crCount; ++i)
        EXPECT_NE(reader.GetControlBorderInfo(static_cast<ControlRecord_e>(i)), nullptr);
}

// The search button formed from whatever the Buttons record holds.
void FormFromButtons(const OrvSkinReader& reader) {
    ButtonSkinInfo_t button;
    button.Width = 58;
    button.Height = 20;
    EXPECT_TRUE(OrvSkinReader::FormButtonImage(&button, reader.GetSkinBorderInfo(srButtons), "Search"));
    RadioButtonSkinInfo_t radio;
    radio.Width = 80;
    radio.Height = 20;
    EXPECT_TRUE(OrvSkinReader::FormRadioButtonImage(&radio, reader.GetSkinBorderInfo(srRadioButtons), "Radio"));
}

std::string Le16(uint16_t v) { return std::string{char(v & 0xFF), char(v >> 8)}; }
std::string Le32(uint32_t v) { return Le16(uint16_t(v & 0xFFFF)) + Le16(uint16_t(v >> 16)); }

// A bitmap file header and information header with the given fields, then
// pixelBytes bytes of pixels.
std::string BitmapBytes(int32_t width, int32_t height, uint16_t bits, uint32_t compression, size_t pixelBytes,
                        uint32_t infoSize = 40, uint16_t planes = 1) {
    std::string info = Le32(infoSize) + Le32(uint32_t(width)) + Le32(uint32_t(height)) + Le16(planes) + Le16(bits) +
                       Le32(compression) + Le32(0) + Le32(2835) + Le32(2835) + Le32(0) + Le32(0);
    info.resize(infoSize, '\0');
    const uint32_t offset = 14 + infoSize;
    return "BM" + Le32(uint32_t(offset + pixelBytes)) + Le32(0) + Le32(offset) + info + std::string(pixelBytes, '\x40');
}

std::string RandomBytes(std::mt19937& random, size_t count) {
    std::string bytes(count, '\0');
    for (char& ch : bytes) ch = char(random() & 0xFF);
    return bytes;
}

class DamagedSkin : public ::testing::Test {
protected:
    void SetUp() override {
        m_root.CopyFolder(ProgramFolder() + "Skins\\Daylight", "Day");
        m_ini = SkinRoot::ReadFile(m_root.SkinDirectory("Day") + "Skin.Ini");
        ASSERT_GT(m_ini.size(), 1000u);
        m_reader = std::make_unique<OrvSkinReader>(m_root.Path().c_str(), nullptr);
        ASSERT_EQ(m_reader->GetCount(), 1);
    }
    void WriteIni(const std::string& bytes) { m_root.WriteFile("Day\\Skin.Ini", bytes); }
    void Apply() { m_reader->ChangeSkin(m_reader->GetSkin(0)); }

    SkinRoot m_root;
    std::string m_ini;
    std::unique_ptr<OrvSkinReader> m_reader;
};

}  // namespace

TEST_F(DamagedSkin, TheUndamagedCopyHasNoProblem) {
    Apply();
    EXPECT_EQ(m_reader->GetProblemCount(), 0) << Problems(*m_reader);
}

TEST_F(DamagedSkin, TruncatedDescriptionsApplyWhatTheyHold) {
    const size_t size = m_ini.size();
    for (size_t cut : {size_t(0), size_t(1), size_t(9), size / 7, size / 3, size / 2, size * 2 / 3, size - 3}) {
        SCOPED_TRACE(cut);
        WriteIni(m_ini.substr(0, cut));
        Apply();
        EXPECT_EQ(m_reader->GetCurrentSkin(), m_reader->GetSkin(0));
        ExpectEveryRecord(*m_reader);
        EXPECT_GT(m_reader->GetProblemCount(), 0);
        FormFromButtons(*m_reader);
    }
    // Cut in the middle: what stood before the cut is read.
    WriteIni(m_ini.substr(0, m_ini.find("[Labels]")));
    Apply();
    EXPECT_EQ(m_reader->GetSkinBorderInfo(srEdits)->LeftBorderWidth, 8);
    EXPECT_TRUE(m_reader->GetSkinBorderInfo(srEdits)->MainImage->GetIsValid());
    EXPECT_EQ(m_reader->GetSkinBorderInfo(srLabels)->MainImage, nullptr);
    EXPECT_TRUE(HasProblem(*m_reader, "Labels", ""));
    EXPECT_TRUE(HasProblem(*m_reader, "MessageCaptions", ""));
}

TEST_F(DamagedSkin, GarbageDescriptionGivesTheEmptyForms) {
    std::mt19937 random(20240611);
    // Garbage may happen to hold a "[" at the start of a line, and so a
    // section of a garbage name: any sections but the skin's are missing.
    WriteIni(RandomBytes(random, 20000));
    Apply();
    ExpectEveryRecord(*m_reader);
    EXPECT_EQ(m_reader->GetSkinBorderInfo(srButtons)->MainImage, nullptr);
    EXPECT_TRUE(HasProblem(*m_reader, "", ""));

    // Without a single section, the one problem is the file.
    std::string noSections = RandomBytes(random, 20000);
    for (char& ch : noSections)
        if (ch == '[') ch = '(';
    WriteIni(noSections);
    Apply();
    ExpectEveryRecord(*m_reader);
    EXPECT_EQ(m_reader->GetSearchCtrlWidth(), 196);
    ASSERT_EQ(m_reader->GetProblemCount(), 1) << Problems(*m_reader);
    EXPECT_NE(std::string(m_reader->GetProblem(0)->Reason).find("no section"), std::string::npos);
}

TEST_F(DamagedSkin, OversizedOrMissingDescriptionsAreNotRead) {
    std::string huge = m_ini;
    while (huge.size() <= 4u * 1024 * 1024) huge += "; padding padding padding padding padding padding padding\r\n";
    WriteIni(huge);
    Apply();
    ExpectEveryRecord(*m_reader);
    EXPECT_EQ(m_reader->GetSkinBorderInfo(srButtons)->MainImage, nullptr);
    EXPECT_TRUE(HasProblem(*m_reader, "", "")) << Problems(*m_reader);
    EXPECT_NE(std::string(m_reader->GetProblem(0)->Reason).find("too large"), std::string::npos);

    ASSERT_TRUE(::DeleteFileA((m_root.SkinDirectory("Day") + "Skin.Ini").c_str()));
    m_root.MakeFolder("Day\\Skin.Ini");
    Apply();
    ExpectEveryRecord(*m_reader);
    ASSERT_EQ(m_reader->GetProblemCount(), 1) << Problems(*m_reader);
    EXPECT_NE(std::string(m_reader->GetProblem(0)->Reason).find("not found"), std::string::npos);
    ::RemoveDirectoryA((m_root.SkinDirectory("Day") + "Skin.Ini").c_str());
}

TEST_F(DamagedSkin, DamagedBitmapsLeaveEmptyImagesAndAreListed) {
    std::mt19937 random(7);
    const std::string bitmap = m_root.SkinDirectory("Day") + "Button.bmp";
    const std::string good = SkinRoot::ReadFile(bitmap);
    ASSERT_GT(good.size(), 54u);
    const struct {
        const char* what;
        std::string bytes;
    } damaged[] = {
        {"empty", ""},
        {"signature only", "BM"},
        {"file header only", good.substr(0, 14)},
        {"pixels cut short", good.substr(0, good.size() / 2)},
        {"claims 60000 x 60000", BitmapBytes(60000, 60000, 24, BI_RGB, 64)},
        {"claims 1 x 2000000000", BitmapBytes(1, 2000000000, 32, BI_RGB, 64)},
        {"zero width", BitmapBytes(0, 10, 24, BI_RGB, 64)},
        {"depth 7", BitmapBytes(4, 4, 7, BI_RGB, 64)},
        {"two planes", BitmapBytes(4, 4, 24, BI_RGB, 64, 40, 2)},
        {"jpeg inside", BitmapBytes(4, 4, 24, BI_JPEG, 64)},
        {"header size 99999", BitmapBytes(4, 4, 24, BI_RGB, 64, 200) .replace(14, 4, Le32(99999))},
        {"pixel offset past the end", std::string(good).replace(10, 4, Le32(0x7FFFFFF0))},
        {"a PNG", std::string("\x89PNG\r\n\x1a\n", 8) + RandomBytes(random, 300)},
        {"garbage", RandomBytes(random, 5000)},
    };
    for (const auto& item : damaged) {
        SCOPED_TRACE(item.what);
        m_root.WriteFile("Day\\Button.bmp", item.bytes);
        Apply();
        ExpectEveryRecord(*m_reader);
        const SkinBorderInfo_t* buttons = m_reader->GetSkinBorderInfo(srButtons);
        ASSERT_NE(buttons->MainImage, nullptr);
        EXPECT_FALSE(buttons->MainImage->GetIsValid());
        EXPECT_EQ(buttons->LeftBorderWidth, 6);  // the numbers still read
        ASSERT_EQ(m_reader->GetProblemCount(), 1) << Problems(*m_reader);
        const SkinReadProblem_t* problem = m_reader->GetProblem(0);
        EXPECT_EQ(bitmap, problem->File.GetString());
        EXPECT_EQ(problem->Section, "Buttons");
        EXPECT_EQ(problem->Key, "MainImage");
        FormFromButtons(*m_reader);
    }
    // A folder where the bitmap should be.
    ASSERT_TRUE(::DeleteFileA(bitmap.c_str()));
    m_root.MakeFolder("Day\\Button.bmp");
    Apply();
    EXPECT_TRUE(HasProblem(*m_reader, "Buttons", "MainImage")) << Problems(*m_reader);
    ::RemoveDirectoryA(bitmap.c_str());
    // And a good one again.
    m_root.WriteFile("Day\\Button.bmp", good);
    Apply();
    EXPECT_EQ(m_reader->GetProblemCount(), 0) << Problems(*m_reader);
    EXPECT_TRUE(m_reader->GetSkinBorderInfo(srButtons)->MainImage->GetIsValid());
}

TEST_F(DamagedSkin, CellsOutsideTheirImageAndAbsurdNumbers) {
    // A one-pixel image under cells that lie far outside it.
    m_root.WriteBitmap("Day\\Button.bmp", 1, 1, [](int, int) { return RGB(1, 2, 3); });
    std::string ini = m_ini;
    const size_t buttons = ini.find("[Buttons]");
    ASSERT_NE(buttons, std::string::npos);
    ini.insert(buttons + 11, "BordersWidth = 2147483647\r\nContentWidth = 1\r\nContentHeight = 1\r\n"
                             "InterationStep = -2147483648\r\nTextSize = 2147483647\r\n");
    WriteIni(ini);
    Apply();
    EXPECT_EQ(m_reader->GetSkinBorderInfo(srButtons)->LeftBorderWidth, 2147483647);
    FormFromButtons(*m_reader);
}

TEST_F(DamagedSkin, RandomMutationsOfAShippedSkin) {
    std::mt19937 random(424242);
    for (int round = 0; round < 120; ++round) {
        std::string ini = m_ini;
        const int edits = 1 + int(random() % 12);
        for (int e = 0; e < edits && !ini.empty(); ++e) {
            const size_t at = random() % ini.size();
            switch (random() % 6) {
            case 0: ini[at] = char(random() & 0xFF); break;                            // a byte changed
            case 1: ini.erase(at, 1 + random() % 40); break;                          // bytes lost
            case 2: ini.insert(at, RandomBytes(random, 1 + random() % 16)); break;    // garbage in
            case 3: ini.insert(at, "-99999999"); break;                               // a wild number
            case 4: ini.insert(at, "\r\n[Buttons]\r\nMainImage = \"..\\..\\nowhere.bmp\"\r\n"); break;
            default: ini.insert(at, ini.substr(random() % ini.size(), 1 + random() % 200)); break;
            }
        }
        SCOPED_TRACE(round);
        WriteIni(ini);
        Apply();
        ExpectEveryRecord(*m_reader);
        for (int i = 0; i < m_reader->GetProblemCount(); ++i) EXPECT_FALSE(m_reader->GetProblem(i)->File.IsEmpty());
        FormFromButtons(*m_reader);
        if (HasFailure()) break;
    }
}
