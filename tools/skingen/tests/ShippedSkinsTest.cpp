// Checks the shipped skins as the program will meet them: the committed
// Skin.Ini files read by the program's parsing rules, and the bitmaps the
// build drew for them.
#include "BmpFile.h"
#include "IniReader.h"
#include "SkinChecklist.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <memory>
#include <set>
#include <sstream>

namespace fs = std::filesystem;
using namespace skingen;
using skintest::KeyType;

namespace {

std::vector<std::string> skinFolders() {
    std::vector<std::string> folders;
    std::stringstream list(ORV_SKIN_FOLDERS);
    for (std::string f; std::getline(list, f, ',');)
        folders.push_back(f);
    return folders;
}

std::string readBytes(const fs::path& path) {
    std::ifstream file(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
}

std::string runTool(const std::string& command) {
    std::string output;
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
    if (!pipe)
        return output;
    std::array<char, 256> chunk{};
    while (fgets(chunk.data(), int(chunk.size()), pipe.get()))
        output += chunk.data();
    return output;
}

// Number of state bands, one below the other, that a section's image holds.
int bandsOf(const std::string& section) {
    static const std::map<std::string, int> bands = {
        {"Buttons", 4}, {"RadioButtons", 6}, {"OrvTopMenuItem", 4}, {"OrvMenuItem", 4},
        {"MessageButtons", 6}, {"MessageCaptions", 2},
        {"ToolBtnNavBack", 4}, {"ToolBtnNavForward", 4}, {"ToolBtnNavHome", 4}, {"ToolBtnAddSource", 4},
        {"ToolBtnAddDestination", 4}, {"ToolBtnChat", 4}, {"ToolBtnEditPersonalInfo", 4},
    };
    auto it = bands.find(section);
    return it == bands.end() ? 1 : it->second;
}

// Images drawn with the magenta key or cut into window shapes: the only ones
// where magenta belongs.
bool magentaMeant(const std::string& section, const std::string& key) {
    static const std::set<std::string> keyed = {
        "MessageCaptions.MainImage", "MessageCaptions.CaptionButtonsImage", "MessageButtons.MainImage",
        "TreeControl.RootButtonNextImage", "TreeControl.RootButtonPreviousImage", "TreeControl.OnlineIconImage",
        "OrvSearchResult.OnLineIconImage", "MessagePanel.ClockImage",
    };
    return keyed.count(section + "." + key) > 0;
}

struct Cell {
    const char* name;
    int x, y, w, h;
};

class ShippedSkin : public ::testing::TestWithParam<std::string> {
protected:
    void SetUp() override {
        committedPath_ = fs::path(ORV_SKINS_SOURCE) / GetParam() / "Skin.Ini";
        folder_ = fs::path(ORV_SKINS_OUT) / GetParam();
        auto reader = IniReader::fromFile(committedPath_.string());
        ASSERT_TRUE(reader) << committedPath_;
        ini_ = std::make_unique<IniReader>(*reader);
    }

    int num(const std::string& section, const std::string& key) const {
        return ini_->number(section, key).value_or(-100000);
    }

    // The bitmap a file key names, loaded as the program would.
    std::optional<RgbImage> image(const std::string& section, const std::string& key) const {
        auto file = ini_->text(section, key);
        if (!file)
            return std::nullopt;
        return readBmpFile((folder_ / *file).string());
    }

    std::vector<Cell> cellsOf(const std::string& s) const {
        return {
            {"left-top corner", num(s, "LeftTopCornerX"), num(s, "LeftTopCornerY"), num(s, "LeftBorderWidth"), num(s, "TopBorderWidth")},
            {"right-top corner", num(s, "RightTopCornerX"), num(s, "RightTopCornerY"), num(s, "RightBorderWidth"), num(s, "TopBorderWidth")},
            {"left-bottom corner", num(s, "LeftBottomCornerX"), num(s, "LeftBottomCornerY"), num(s, "LeftBorderWidth"), num(s, "BottomBorderWidth")},
            {"right-bottom corner", num(s, "RightBottomCornerX"), num(s, "RightBottomCornerY"), num(s, "RightBorderWidth"), num(s, "BottomBorderWidth")},
            {"left edge", num(s, "LeftBorderX"), num(s, "LeftBorderY"), num(s, "LeftBorderWidth"), num(s, "LeftBorderLength")},
            {"right edge", num(s, "RightBorderX"), num(s, "RightBorderY"), num(s, "RightBorderWidth"), num(s, "RightBorderLength")},
            {"top edge", num(s, "TopBorderX"), num(s, "TopBorderY"), num(s, "TopBorderLength"), num(s, "TopBorderWidth")},
            {"bottom edge", num(s, "BottomBorderX"), num(s, "BottomBorderY"), num(s, "BottomBorderLength"), num(s, "BottomBorderWidth")},
            {"content", num(s, "ContentX"), num(s, "ContentY"), num(s, "ContentWidth"), num(s, "ContentHeight")},
        };
    }

    fs::path committedPath_, folder_;
    std::unique_ptr<IniReader> ini_;
};

TEST_P(ShippedSkin, CommittedIniEndsEveryLineWithCrLf) {
    const std::string bytes = readBytes(committedPath_);
    ASSERT_FALSE(bytes.empty());
    for (size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] == '\n') {
            ASSERT_TRUE(i > 0 && bytes[i - 1] == '\r') << "lone LF at byte " << i;
        }
        if (bytes[i] == '\r') {
            ASSERT_TRUE(i + 1 < bytes.size() && bytes[i + 1] == '\n') << "lone CR at byte " << i;
        }
    }
    EXPECT_EQ(bytes.substr(bytes.size() - 2), "\r\n");
}

TEST_P(ShippedSkin, CommittedIniIsWhatTheGeneratorWrites) {
    const std::string generated = readBytes(fs::path(ORV_SKINS_GENERATED_INI) / GetParam() / "Skin.Ini");
    ASSERT_FALSE(generated.empty());
    EXPECT_TRUE(readBytes(committedPath_) == generated)
        << committedPath_ << " differs from what the generator draws for; run "
        << "skingen --write-ini assets/Skins and commit the result";
    EXPECT_TRUE(readBytes(folder_ / "Skin.Ini") == readBytes(committedPath_)) << "the built folder has a stale Skin.Ini";
}

TEST_P(ShippedSkin, SetsEveryKeyOfTheChecklistWithItsType) {
    for (const skintest::KeySpec& spec : skintest::skinChecklist()) {
        SCOPED_TRACE(spec.section + "." + spec.key);
        const IniSection* section = ini_->section(spec.section);
        ASSERT_NE(section, nullptr) << "missing section";
        const IniEntry* entry = section->find(spec.key);
        ASSERT_NE(entry, nullptr) << "missing key";
        switch (spec.type) {
        case KeyType::Number:
            EXPECT_EQ(entry->type, IniType::Number) << entry->text;
            break;
        case KeyType::Flag:
            ASSERT_EQ(entry->type, IniType::Number) << entry->text;
            EXPECT_TRUE(entry->number == 0 || entry->number == 1) << entry->number;
            break;
        case KeyType::Color:
            EXPECT_EQ(entry->type, IniType::Color) << entry->text;
            break;
        case KeyType::Text:
            EXPECT_EQ(entry->type, IniType::Text);
            EXPECT_TRUE(entry->hasText);
            break;
        case KeyType::File:
            ASSERT_EQ(entry->type, IniType::Text);
            EXPECT_TRUE(image(spec.section, spec.key).has_value()) << "does not load: " << entry->text;
            break;
        }
    }
}

TEST_P(ShippedSkin, NamesEachSectionAndKeyOnce) {
    // The parser keeps the first of two equal names; a second one would be dead text.
    std::set<std::string> sections;
    for (const IniSection& s : ini_->sections()) {
        EXPECT_TRUE(sections.insert(s.name).second) << "section twice: " << s.name;
        std::set<std::string> keys;
        for (const IniEntry& e : s.entries)
            EXPECT_TRUE(keys.insert(e.name).second) << s.name << "." << e.name << " twice";
    }
}

TEST_P(ShippedSkin, FontsAreOnesTheProgramCanFind) {
    for (const IniSection& s : ini_->sections())
        for (const IniEntry& e : s.entries)
            if (e.name == "FontName" || e.name == "TextFont") {
                EXPECT_TRUE(e.text == "Arial" || e.text == "Times New Roman") << s.name << ": " << e.text;
            }
}

TEST_P(ShippedSkin, EveryBitmapInTheFolderIsNamedByTheIni) {
    std::set<std::string> named;
    for (const IniSection& s : ini_->sections())
        for (const IniEntry& e : s.entries)
            if (e.type == IniType::Text && e.text.size() > 4 && e.text.substr(e.text.size() - 4) == ".bmp")
                named.insert(e.text);
    for (const auto& file : fs::directory_iterator(folder_)) {
        const std::string name = file.path().filename().string();
        if (name != "Skin.Ini") {
            EXPECT_TRUE(named.count(name)) << "stray file " << name;
        }
    }
}

TEST_P(ShippedSkin, EveryCellOfEveryStateLiesInsideItsImage) {
    std::vector<std::string> sections = skintest::imageRecordSections();
    for (const std::string& s : skintest::frameRecordSections())
        if (s != "MessageBorders")  // its cells live in three images, checked below
            sections.push_back(s);
    for (const std::string& s : sections) {
        SCOPED_TRACE(s);
        auto img = image(s, "MainImage");
        ASSERT_TRUE(img);
        const int step = num(s, "InterationStep"), bands = bandsOf(s);
        if (bands > 1) {
            EXPECT_GT(step, 0);
        }
        for (const Cell& c : cellsOf(s)) {
            if (s == "MessageCaptions" && std::string(c.name).find("corner") != std::string::npos)
                continue;  // the caption uses its ends and middle only; its top width is the sizing strip
            if (s == "MessageCaptions" && (std::string(c.name) == "top edge" || std::string(c.name) == "bottom edge"))
                continue;
            EXPECT_GE(c.w, 0) << c.name;
            EXPECT_GE(c.h, 0) << c.name;
            if (c.w == 0 || c.h == 0)
                continue;
            for (int band = 0; band < bands; ++band) {
                const int y = c.y + band * step;
                EXPECT_TRUE(c.x >= 0 && y >= 0 && c.x + c.w <= img->width() && y + c.h <= img->height())
                    << c.name << " of state " << band << " at " << c.x << "," << y << " " << c.w << "x" << c.h
                    << " outside " << img->width() << "x" << img->height();
            }
        }
    }
    // Window frame: active cells, then inactive ones one cell lower.
    const std::string b = "MessageBorders";
    auto left = image(b, "LeftFrameImage"), right = image(b, "RightFrameImage"), bottom = image(b, "BottomFrameImage");
    ASSERT_TRUE(left && right && bottom);
    EXPECT_LE(num(b, "LeftBorderX") + num(b, "LeftBorderWidth"), left->width());
    EXPECT_LE(num(b, "LeftBorderY") + 2 * num(b, "LeftBorderLength"), left->height());
    EXPECT_LE(num(b, "RightBorderX") + num(b, "RightBorderWidth"), right->width());
    EXPECT_LE(num(b, "RightBorderY") + 2 * num(b, "RightBorderLength"), right->height());
    const int bottomRows = 2 * num(b, "BottomBorderWidth");
    EXPECT_LE(num(b, "BottomBorderX") + num(b, "BottomBorderLength"), bottom->width());
    EXPECT_LE(num(b, "BottomBorderY") + bottomRows, bottom->height());
    EXPECT_LE(num(b, "LeftBottomCornerX") + num(b, "LeftBorderWidth"), bottom->width());
    EXPECT_LE(num(b, "LeftBottomCornerY") + bottomRows, bottom->height());
    EXPECT_LE(num(b, "RightBottomCornerX") + num(b, "RightBorderWidth"), bottom->width());
    EXPECT_LE(num(b, "RightBottomCornerY") + bottomRows, bottom->height());
    EXPECT_GT(num(b, "LeftBorderLength"), 0);
    EXPECT_GT(num(b, "BottomBorderLength"), 0);
}

TEST_P(ShippedSkin, StateBandsAreCompleteAndDistinct) {
    // Every state of a button reads differently from every other one.
    for (const char* s : {"Buttons", "RadioButtons", "MessageButtons", "ToolBtnNavBack", "ToolBtnNavForward",
                                 "ToolBtnNavHome", "ToolBtnAddSource", "ToolBtnAddDestination", "ToolBtnChat",
                                 "ToolBtnEditPersonalInfo"}) {
        SCOPED_TRACE(s);
        auto img = image(s, "MainImage");
        ASSERT_TRUE(img);
        const int step = num(s, "InterationStep"), bands = bandsOf(s);
        ASSERT_EQ(img->height(), bands * step) << "one band per state, nothing more";
        for (int a = 0; a < bands; ++a)
            for (int b = a + 1; b < bands; ++b)
                EXPECT_FALSE(img->sameRegion(0, a * step, img->width(), step, *img, 0, b * step))
                    << "states " << a << " and " << b << " look the same";
    }
    // Menu items: hovered and pressed stand out from normal (disabled items differ by their font).
    for (const char* s : {"OrvTopMenuItem", "OrvMenuItem"}) {
        auto img = image(s, "MainImage");
        ASSERT_TRUE(img);
        const int step = num(s, "InterationStep");
        ASSERT_EQ(img->height(), 4 * step) << s;
        EXPECT_FALSE(img->sameRegion(0, 0, img->width(), step, *img, 0, step)) << s;
        EXPECT_FALSE(img->sameRegion(0, step, img->width(), step, *img, 0, 2 * step)) << s;
    }
    // Caption: active above inactive.
    auto caption = image("MessageCaptions", "MainImage");
    ASSERT_TRUE(caption);
    const int ch = num("MessageCaptions", "InterationStep");
    ASSERT_EQ(caption->height(), 2 * ch);
    EXPECT_FALSE(caption->sameRegion(0, 0, caption->width(), ch, *caption, 0, ch));
    // Caption buttons: a 4 x 4 grid, a glyph in every cell, four distinct states per column.
    auto grid = image("MessageCaptions", "CaptionButtonsImage");
    ASSERT_TRUE(grid);
    ASSERT_EQ(grid->width() % 4, 0);
    ASSERT_EQ(grid->height() % 4, 0);
    const int cw = grid->width() / 4, cellH = grid->height() / 4;
    EXPECT_LE(num("MessageCaptions", "ButtonsY") + cellH, ch) << "caption buttons taller than the caption";
    for (int col = 0; col < 4; ++col)
        for (int row = 0; row < 4; ++row) {
            bool drawn = false;
            for (int y = 0; y < cellH && !drawn; ++y)
                for (int x = 0; x < cw && !drawn; ++x)
                    drawn = grid->at(col * cw + x, row * cellH + y) != kMagenta;
            EXPECT_TRUE(drawn) << "empty caption button cell " << col << "," << row;
            for (int other = row + 1; other < 4; ++other)
                EXPECT_FALSE(grid->sameRegion(col * cw, row * cellH, cw, cellH, *grid, col * cw, other * cellH))
                    << "column " << col << " rows " << row << " and " << other;
        }
    // Page buttons: four equal frames; the clock: ClockSteps equal frames.
    for (const char* key : {"RootButtonNextImage", "RootButtonPreviousImage"}) {
        auto img = image("TreeControl", key);
        ASSERT_TRUE(img);
        ASSERT_EQ(img->height() % 4, 0) << key;
        const int fh = img->height() / 4;
        for (int a = 0; a < 4; ++a)
            for (int b = a + 1; b < 4; ++b)
                EXPECT_FALSE(img->sameRegion(0, a * fh, img->width(), fh, *img, 0, b * fh)) << key;
    }
    auto clock = image("MessagePanel", "ClockImage");
    ASSERT_TRUE(clock);
    const int steps = num("MessagePanel", "ClockSteps");
    ASSERT_GT(steps, 1);
    ASSERT_EQ(clock->height() % steps, 0);
    const int fh = clock->height() / steps;
    for (int f = 0; f < steps; ++f)
        EXPECT_FALSE(clock->sameRegion(0, f * fh, clock->width(), fh, *clock, 0, ((f + 1) % steps) * fh))
            << "clock frame " << f << " does not move";
}

TEST_P(ShippedSkin, MagentaOnlyWhereTransparencyIsMeantAndNoPinkFringes) {
    for (const skintest::KeySpec& spec : skintest::skinChecklist()) {
        if (spec.type != KeyType::File)
            continue;
        SCOPED_TRACE(spec.section + "." + spec.key);
        auto img = image(spec.section, spec.key);
        ASSERT_TRUE(img);
        int magenta = 0;
        for (int y = 0; y < img->height(); ++y)
            for (int x = 0; x < img->width(); ++x) {
                const Rgb c = img->at(x, y);
                if (c == kMagenta) {
                    ++magenta;
                    continue;
                }
                // A pixel beside the key must not be a blend towards magenta.
                bool besideKey = false;
                for (int dy = -1; dy <= 1; ++dy)
                    for (int dx = -1; dx <= 1; ++dx)
                        besideKey |= img->contains(x + dx, y + dy) && img->at(x + dx, y + dy) == kMagenta;
                if (besideKey) {
                    const int low = std::min(c.r, c.b);
                    EXPECT_FALSE(c.r > 0x90 && c.b > 0x90 && c.g + 40 < low)
                        << "pink fringe pixel " << c.iniText() << " at " << x << "," << y;
                }
            }
        if (magentaMeant(spec.section, spec.key)) {
            EXPECT_GT(magenta, 0) << "meant to be keyed, but nothing is transparent";
        } else {
            EXPECT_EQ(magenta, 0) << "magenta in a bitmap that is drawn opaque";
        }
    }
}

TEST_P(ShippedSkin, ControlsFitTheirPanels) {
    // Search panel: edit and button inside the room below the header.
    const std::string s = "OrvSearchCtrl";
    const int roomW = num(s, "Width") - num(s, "LeftBorderWidth") - num(s, "RightBorderWidth");
    const int roomH = num(s, "Height") - num(s, "HeaderWidth") - num(s, "TopBorderWidth") - num(s, "BottomBorderWidth");
    for (const char* p : {"EditSearch", "BtnSearch"}) {
        const std::string k = p;
        EXPECT_GE(num(s, k + "X"), 0);
        EXPECT_GE(num(s, k + "Y"), 0);
        EXPECT_LE(num(s, k + "X") + num(s, k + "Width"), roomW) << p;
        EXPECT_LE(num(s, k + "Y") + num(s, k + "Height"), roomH) << p;
    }
    EXPECT_LE(num(s, "EditSearchX") + num(s, "EditSearchWidth"), num(s, "BtnSearchX")) << "edit runs into the button";

    const std::string p = "OrvPathFinderCtrl";
    const int pathW = num(p, "Width") - num(p, "LeftBorderWidth") - num(p, "RightBorderWidth");
    const int pathH = num(p, "Height") - num(p, "HeaderWidth") - num(p, "TopBorderWidth") - num(p, "BottomBorderWidth");
    for (const char* part : {"LabelSource", "EditSource", "LabelDestination", "EditDestination", "LabelLink", "BtnSearch"}) {
        const std::string k = part;
        EXPECT_LE(num(p, k + "X") + num(p, k + "Width"), pathW) << part;
        EXPECT_LE(num(p, k + "Y") + num(p, k + "Height"), pathH) << part;
    }
    EXPECT_LE(num(p, "LabelSourceX") + num(p, "LabelSourceWidth"), num(p, "EditSourceX"));
    EXPECT_LE(num(p, "EditSourceY") + num(p, "EditSourceHeight"), num(p, "EditDestinationY"));

    // Toolbar: seven buttons side by side inside the toolbar's height, each
    // imaged 1:1 from the four corner cells of its own section.
    const char* buttons[][2] = {{"BtnNavBack", "ToolBtnNavBack"}, {"BtnNavForward", "ToolBtnNavForward"},
                                {"BtnNavHome", "ToolBtnNavHome"}, {"BtnAddSource", "ToolBtnAddSource"},
                                {"BtnAddDestination", "ToolBtnAddDestination"}, {"BtnChat", "ToolBtnChat"},
                                {"BtnEditPersonalInfo", "ToolBtnEditPersonalInfo"}};
    int lastRight = 0;
    for (auto& b : buttons) {
        const std::string place = b[0], section = b[1];
        const int x = num("OrvToolBarCtrl", place + "X"), y = num("OrvToolBarCtrl", place + "Y");
        const int w = num("OrvToolBarCtrl", place + "Width"), h = num("OrvToolBarCtrl", place + "Height");
        EXPECT_GE(x, lastRight) << place << " overlaps the button before it";
        lastRight = x + w;
        EXPECT_GE(y, 0);
        EXPECT_LE(y + h, num("OrvSearchCtrl", "Height")) << place << " taller than the toolbar";
        EXPECT_EQ(num(section, "LeftBorderWidth") + num(section, "RightBorderWidth"), w) << section;
        EXPECT_EQ(num(section, "TopBorderWidth") + num(section, "BottomBorderWidth"), h) << section;
        EXPECT_EQ(num(section, "InterationStep"), h) << section;
    }
    // The page buttons fit on the root node.
    auto page = image("TreeControl", "RootButtonNextImage");
    ASSERT_TRUE(page);
    EXPECT_LE(page->height() / 4 + 4, num("NodeRootUnselected", "Height"));
}

TEST_P(ShippedSkin, BitmapsAre24BitBottomUpFilesThatToolsRecognise) {
    for (const auto& entry : fs::directory_iterator(folder_)) {
        if (entry.path().extension() != ".bmp")
            continue;
        SCOPED_TRACE(entry.path().string());
        const std::string bytes = readBytes(entry.path());
        ASSERT_GE(bytes.size(), 54u);
        auto u16 = [&](size_t at) { return unsigned(uint8_t(bytes[at])) | unsigned(uint8_t(bytes[at + 1])) << 8; };
        auto s32 = [&](size_t at) { return int32_t(u16(at) | u16(at + 2) << 16); };
        EXPECT_EQ(bytes.substr(0, 2), "BM");
        EXPECT_EQ(size_t(s32(2)), bytes.size());
        EXPECT_EQ(s32(14), 40);
        EXPECT_GT(s32(22), 0) << "bottom-up rows";
        EXPECT_EQ(u16(28), 24u);
        EXPECT_EQ(s32(30), 0) << "uncompressed";
        const std::string kind = runTool("file -b '" + entry.path().string() + "'");
        const std::string dimensions = std::to_string(s32(18)) + " x " + std::to_string(s32(22)) + " x 24";
        EXPECT_EQ(kind.rfind("PC bitmap, Windows 3.x format, " + dimensions, 0), 0u) << kind;
        const std::string size = runTool("identify -format '%wx%h %[channels]' '" + entry.path().string() + "' 2>&1");
        EXPECT_EQ(size.substr(0, size.find(' ')), std::to_string(s32(18)) + "x" + std::to_string(s32(22))) << size;
    }
}

TEST_P(ShippedSkin, ContactSheetWasWritten) {
    const std::string png = readBytes(fs::path(ORV_SKINS_SHEETS) / (GetParam() + "-sheet.png"));
    ASSERT_GT(png.size(), 8u);
    EXPECT_EQ(png.substr(1, 3), "PNG");
}

INSTANTIATE_TEST_SUITE_P(Skins, ShippedSkin, ::testing::ValuesIn(skinFolders()),
                         [](const ::testing::TestParamInfo<std::string>& info) { return info.param; });

TEST(ShippedSkins, OneBaseSkinAndClearlyDifferentPalettes) {
    std::vector<IniReader> skins;
    for (const std::string& f : skinFolders()) {
        auto r = IniReader::fromFile((fs::path(ORV_SKINS_SOURCE) / f / "Skin.Ini").string());
        ASSERT_TRUE(r) << f;
        skins.push_back(*r);
    }
    ASSERT_GE(skins.size(), 2u);
    int baseSkins = 0;
    std::set<std::string> names;
    for (const IniReader& s : skins) {
        baseSkins += s.number("Main", "BaseSkin").value_or(0) == 1;
        names.insert(s.text("Main", "SkinName").value_or(""));
    }
    EXPECT_EQ(baseSkins, 1);
    EXPECT_EQ(names.size(), skins.size()) << "two skins of one name";
    // The surfaces of the two skins lie far apart in lightness.
    auto luma = [](uint32_t ref) { return 0.3 * (ref & 0xFF) + 0.59 * ((ref >> 8) & 0xFF) + 0.11 * (ref >> 16); };
    const double a = luma(skins[0].color("MessageBorders", "MessageBoxBgColor").value_or(0));
    const double b = luma(skins[1].color("MessageBorders", "MessageBoxBgColor").value_or(0));
    EXPECT_GT(std::abs(a - b), 120.0);
}

TEST(ShippedSkins, EveryCommittedSkinFolderIsBuilt) {
    const std::vector<std::string> folders = skinFolders();
    for (const auto& entry : fs::directory_iterator(ORV_SKINS_SOURCE))
        if (entry.is_directory()) {
            EXPECT_NE(std::find(folders.begin(), folders.end(), entry.path().filename().string()), folders.end())
                << entry.path() << " is not drawn by the generator";
        }
}

}  // namespace
