// Skin bitmaps read by the reader's own loader come out pixel for pixel as
// the system's loader makes them, for every depth and layout a skin may use;
// colour tables that do not fit are refused.
#include "SkinBitmapLoader.h"
#include "SkinRoot.h"

#include "ClsBitMap.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

std::string Le16(uint32_t v) { return std::string{char(v & 0xFF), char((v >> 8) & 0xFF)}; }
std::string Le32(uint32_t v) { return Le16(v & 0xFFFF) + Le16(v >> 16); }

// A bitmap file: information header (40 bytes, or the 12-byte core header),
// the table, then rows of bytes from pixelByte(x, y, byteInRow).
struct BitmapSpec {
    int width = 13;
    int height = 9;  // negative: top-down
    int bits = 24;
    uint32_t compression = BI_RGB;
    bool coreHeader = false;
    uint32_t colorsUsed = 0;
    std::string table;
};

std::string RowBytes(const BitmapSpec& spec, int y) {
    const int stride = (spec.width * spec.bits + 31) / 32 * 4;
    std::string row(static_cast<size_t>(stride), '\0');
    for (int i = 0; i < stride; ++i) row[static_cast<size_t>(i)] = char((i * 37 + y * 11 + 5) & 0xFF);
    return row;
}

std::string Build(const BitmapSpec& spec, const std::string& pixels) {
    std::string info;
    if (spec.coreHeader)
        info = Le32(12) + Le16(uint32_t(spec.width)) + Le16(uint32_t(spec.height)) + Le16(1) + Le16(uint32_t(spec.bits));
    else
        info = Le32(40) + Le32(uint32_t(spec.width)) + Le32(uint32_t(spec.height)) + Le16(1) + Le16(uint32_t(spec.bits)) +
               Le32(spec.compression) + Le32(uint32_t(pixels.size())) + Le32(2835) + Le32(2835) + Le32(spec.colorsUsed) +
               Le32(0);
    const uint32_t offset = uint32_t(14 + info.size() + spec.table.size());
    return "BM" + Le32(uint32_t(offset + pixels.size())) + Le32(0) + Le32(offset) + info + spec.table + pixels;
}

std::string Uncompressed(const BitmapSpec& spec) {
    std::string pixels;
    for (int y = 0; y < (spec.height < 0 ? -spec.height : spec.height); ++y) pixels += RowBytes(spec, y);
    return Build(spec, pixels);
}

std::string GreyTable(int entries, bool core) {
    std::string table;
    for (int i = 0; i < entries; ++i) {
        const char level = char(i * 255 / (entries > 1 ? entries - 1 : 1));
        table += std::string{level, char(255 - level), char(i * 7)};
        if (!core) table += '\0';
    }
    return table;
}

std::vector<COLORREF> Pixels(HBITMAP bitmap, int width, int height) {
    std::vector<COLORREF> pixels;
    HDC dc = ::CreateCompatibleDC(nullptr);
    HGDIOBJ old = ::SelectObject(dc, bitmap);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) pixels.push_back(::GetPixel(dc, x, y));
    ::SelectObject(dc, old);
    ::DeleteDC(dc);
    return pixels;
}

class BitmapLoader : public ::testing::Test {
protected:
    // Loads bytes with the reader's loader and reference (the same picture)
    // with the system's, and compares every pixel; greenSlack allows for the
    // system keeping 5 bits of green where the file has 6.
    void ExpectAsTheSystemLoads(const std::string& name, const std::string& bytes, int width, int height,
                                const std::string& reference = "", int greenSlack = 0) {
        SCOPED_TRACE(name);
        const std::string path = m_root.WriteFile(name + ".bmp", bytes);
        const std::string referencePath =
            reference.empty() ? path : m_root.WriteFile(name + "-reference.bmp", reference);
        ClsBitMap ours;
        const char* refused = SkinBitmapLoader::Load(path.c_str(), ours);
        ASSERT_EQ(refused, nullptr) << refused;
        ASSERT_EQ(ours.GetSize(), CSize(width, height));
        HBITMAP system = static_cast<HBITMAP>(
            ::LoadImageA(nullptr, referencePath.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION));
        ASSERT_NE(system, nullptr);
        const std::vector<COLORREF> expected = Pixels(system, width, height);
        ::DeleteObject(system);
        const std::vector<COLORREF> actual = Pixels(ours.GetHandle(), width, height);
        int differing = 0;
        for (size_t i = 0; i < actual.size(); ++i) {
            const bool same = GetRValue(actual[i]) == GetRValue(expected[i]) &&
                              GetBValue(actual[i]) == GetBValue(expected[i]) &&
                              std::abs(GetGValue(actual[i]) - GetGValue(expected[i])) <= greenSlack;
            if (!same && differing++ < 4)
                ADD_FAILURE() << "pixel (" << i % width << ", " << i / width << "): " << std::hex << actual[i]
                              << " instead of " << expected[i];
        }
        EXPECT_EQ(differing, 0);
    }

    SkinRoot m_root;
};

}  // namespace

TEST_F(BitmapLoader, EveryDepthAndLayoutAsTheSystemLoadsIt) {
    BitmapSpec spec;
    ExpectAsTheSystemLoads("rgb24", Uncompressed(spec), 13, 9);
    // Rows stored from the top; the system's loader leaves such a file
    // black here, so the reference is the same rows stored from the bottom.
    std::string upward;
    for (int y = 8; y >= 0; --y) upward += RowBytes(spec, y);
    spec.height = -9;
    ExpectAsTheSystemLoads("rgb24-top-down", Uncompressed(spec), 13, 9, Build(BitmapSpec{}, upward));
    spec.height = 9;
    spec.bits = 32;
    ExpectAsTheSystemLoads("rgb32", Uncompressed(spec), 13, 9);
    for (int bits : {1, 4, 8}) {
        BitmapSpec palette;
        palette.bits = bits;
        palette.table = GreyTable(1 << bits, false);
        ExpectAsTheSystemLoads("palette" + std::to_string(bits), Uncompressed(palette), 13, 9);
    }
    BitmapSpec shortTable;
    shortTable.bits = 8;
    shortTable.colorsUsed = 5;
    shortTable.table = GreyTable(5, false);
    ExpectAsTheSystemLoads("palette8-five-colours", Uncompressed(shortTable), 13, 9);
    BitmapSpec fields;
    fields.bits = 16;
    fields.compression = BI_BITFIELDS;
    fields.table = Le32(0xF800) + Le32(0x07E0) + Le32(0x001F);
    ExpectAsTheSystemLoads("bitfields565", Uncompressed(fields), 13, 9, "", 4);
    BitmapSpec rgb555;
    rgb555.bits = 16;
    ExpectAsTheSystemLoads("rgb555", Uncompressed(rgb555), 13, 9);
    // Left to the system's loader once the headers passed.
    BitmapSpec core;
    core.coreHeader = true;
    ExpectAsTheSystemLoads("core24", Uncompressed(core), 13, 9);
    BitmapSpec rle;
    rle.bits = 8;
    rle.compression = BI_RLE8;
    rle.table = GreyTable(256, false);
    std::string runs;
    for (int y = 0; y < 9; ++y) runs += std::string{char(13), char(y * 20)} + std::string(2, '\0');
    runs += std::string{'\0', '\1'};
    ExpectAsTheSystemLoads("rle8", Build(rle, runs), 13, 9);
}

TEST_F(BitmapLoader, TablesThatDoNotFitAreRefused) {
    BitmapSpec tooMany;
    tooMany.bits = 4;
    tooMany.colorsUsed = 300;
    tooMany.table = GreyTable(16, false);
    ClsBitMap image;
    image.AllocateBitMap(4, 4, pf32bit);
    const std::string many = m_root.WriteFile("many.bmp", Uncompressed(tooMany));
    EXPECT_STREQ(SkinBitmapLoader::Load(many.c_str(), image), "colour table too long");
    EXPECT_FALSE(image.GetIsValid());

    BitmapSpec missing;
    missing.bits = 8;  // 256 entries expected, none there
    const std::string none = m_root.WriteFile("none.bmp", Uncompressed(missing));
    EXPECT_STREQ(SkinBitmapLoader::Load(none.c_str(), image), "colour table truncated");

    BitmapSpec noMasks;
    noMasks.bits = 32;
    noMasks.compression = BI_BITFIELDS;
    const std::string masks = m_root.WriteFile("masks.bmp", Uncompressed(noMasks));
    EXPECT_STREQ(SkinBitmapLoader::Load(masks.c_str(), image), "colour table truncated");
    EXPECT_STREQ(SkinBitmapLoader::Load(nullptr, image), "no file name");
    EXPECT_STREQ(SkinBitmapLoader::Load((m_root.Path() + "\\absent.bmp").c_str(), image),
                 "file not found or not readable");
}
