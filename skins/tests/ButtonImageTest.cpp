// The composed button images, pixel by pixel: a synthetic skin image whose
// every pixel names its own place (red x, green y), so each pixel of a
// formed image shows which skin pixel was copied there. The expected images
// come from a plain painter over a pixel grid that follows the forming
// rules: pieces in their order, whole cells, later pieces over earlier ones.
#include "ReaderTestSupport.h"

#include "ClsBitMap.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

using skintest::SourceColor;

namespace {

constexpr COLORREF kBlank = 0;  // a fresh section is zero-filled

std::unique_ptr<ClsBitMap> CodedImage(int width, int height) {
    auto image = std::make_unique<ClsBitMap>();
    if (!image->AllocateBitMap(width, height, pf32bit)) return nullptr;
    CDC* dc = image->Lock();
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) ::SetPixelV(*dc, x, y, SourceColor(x, y));
    image->Unlock();
    return image;
}

std::unique_ptr<ClsBitMap> PlainImage(int width, int height, COLORREF color) {
    auto image = std::make_unique<ClsBitMap>();
    if (!image->AllocateBitMap(width, height, pf32bit)) return nullptr;
    CDC* dc = image->Lock();
    dc->FillSolidRect(0, 0, width, height, color);
    image->Unlock();
    return image;
}

std::vector<COLORREF> Pixels(const ClsBitMap& image) {
    std::vector<COLORREF> pixels;
    CDC* dc = const_cast<ClsBitMap&>(image).Lock();
    if (!dc) return pixels;
    for (int y = 0; y < image.GetHeight(); ++y)
        for (int x = 0; x < image.GetWidth(); ++x) pixels.push_back(::GetPixel(*dc, x, y));
    const_cast<ClsBitMap&>(image).Unlock();
    return pixels;
}

// The forming rules on a grid of colours, for a skin image of the given size.
class Painter {
public:
    Painter(int width, int height, int imageWidth, int imageHeight)
        : m_width(width), m_height(height), m_imageWidth(imageWidth), m_imageHeight(imageHeight),
          m_pixels(static_cast<size_t>(width * height), kBlank) {}

    void Cell(int x, int y, int cellWidth, int cellHeight, int sx, int sy) {
        for (int j = 0; j < cellHeight; ++j)
            for (int i = 0; i < cellWidth; ++i) {
                const int tx = x + i, ty = y + j, fx = sx + i, fy = sy + j;
                if (tx < 0 || ty < 0 || tx >= m_width || ty >= m_height) continue;
                if (fx < 0 || fy < 0 || fx >= m_imageWidth || fy >= m_imageHeight) continue;
                m_pixels[static_cast<size_t>(ty * m_width + tx)] = SourceColor(fx, fy);
            }
    }
    void Fill(int left, int top, int right, int bottom, COLORREF color) {
        for (int y = top; y < bottom && y < m_height; ++y)
            for (int x = left; x < right && x < m_width; ++x) m_pixels[static_cast<size_t>(y * m_width + x)] = color;
    }

    // One push-button band at y0 drawn from rows shifted by dy.
    void ButtonBand(const BorderGeometry_t& c, int width, int height, int y0, int dy) {
        const int L = c.LeftBorderWidth, R = c.RightBorderWidth, T = c.TopBorderWidth, B = c.BottomBorderWidth;
        if (c.ContentWidth && c.ContentHeight)
            for (int y = y0 + T; y < y0 + height - B; y += c.ContentHeight)
                for (int x = L; x < width - R; x += c.ContentWidth)
                    Cell(x, y, c.ContentWidth, c.ContentHeight, c.ContentX, c.ContentY + dy);
        if (c.TopBorderLength)
            for (int x = L; x < width - R; x += c.TopBorderLength)
                Cell(x, y0, c.TopBorderLength, T, c.TopBorderX, c.TopBorderY + dy);
        if (c.BottomBorderLength)
            for (int x = L; x < width - R; x += c.BottomBorderLength)
                Cell(x, y0 + height - B, c.BottomBorderLength, B, c.BottomBorderX, c.BottomBorderY + dy);
        if (c.LeftBorderLength)
            for (int y = y0 + T; y < y0 + height - B; y += c.LeftBorderLength)
                Cell(0, y, L, c.LeftBorderLength, c.LeftBorderX, c.LeftBorderY + dy);
        if (c.RightBorderLength)
            for (int y = y0 + T; y < y0 + height - B; y += c.RightBorderLength)
                Cell(width - R, y, R, c.RightBorderLength, c.RightBorderX, c.RightBorderY + dy);
        Cell(0, y0, L, T, c.LeftTopCornerX, c.LeftTopCornerY + dy);
        Cell(width - R, y0, R, T, c.RightTopCornerX, c.RightTopCornerY + dy);
        Cell(0, y0 + height - B, L, B, c.LeftBottomCornerX, c.LeftBottomCornerY + dy);
        Cell(width - R, y0 + height - B, R, B, c.RightBottomCornerX, c.RightBottomCornerY + dy);
    }

    const std::vector<COLORREF>& Pixels() const { return m_pixels; }

private:
    int m_width, m_height, m_imageWidth, m_imageHeight;
    std::vector<COLORREF> m_pixels;
};

std::string Where(COLORREF color) {
    std::ostringstream text;
    if (color == kBlank)
        text << "blank";
    else if (GetBValue(color) == 0x5A)
        text << "skin(" << int(GetRValue(color)) << "," << int(GetGValue(color)) << ")";
    else
        text << "#" << std::hex << color;
    return text.str();
}

// Every pixel equal, else the first few differences by place.
void ExpectSamePixels(const std::vector<COLORREF>& actual, const std::vector<COLORREF>& expected, int width) {
    ASSERT_EQ(actual.size(), expected.size());
    int shown = 0, differing = 0;
    for (size_t i = 0; i < actual.size(); ++i) {
        if (actual[i] == expected[i]) continue;
        ++differing;
        if (shown++ < 8)
            ADD_FAILURE() << "pixel (" << i % width << ", " << i / width << "): " << Where(actual[i]) << ", expected "
                          << Where(expected[i]);
    }
    EXPECT_EQ(differing, 0);
}

// The small skin of the push-button tests: borders 3, 4, 2, 5; edge cells
// of lengths 6, 7, 5, 4; content 7 x 3; state bands 20 rows apart in an
// image 64 x 80. Every cell has pixels of its own.
SkinBorderInfoPtr SmallButtonSkin(std::unique_ptr<ClsBitMap> image) {
    SkinBorderInfoPtr skin = NewSkinBorderInfo();
    SkinBorderInfo_t& s = *skin;
    s.LeftBorderWidth = 3, s.RightBorderWidth = 4, s.TopBorderWidth = 2, s.BottomBorderWidth = 5;
    s.LeftTopCornerX = 0, s.LeftTopCornerY = 0;
    s.RightTopCornerX = 3, s.RightTopCornerY = 0;
    s.LeftBottomCornerX = 0, s.LeftBottomCornerY = 2;
    s.RightBottomCornerX = 3, s.RightBottomCornerY = 2;
    s.LeftBorderX = 8, s.LeftBorderY = 0, s.LeftBorderLength = 6;
    s.RightBorderX = 12, s.RightBorderY = 0, s.RightBorderLength = 7;
    s.TopBorderX = 17, s.TopBorderY = 0, s.TopBorderLength = 5;
    s.BottomBorderX = 17, s.BottomBorderY = 3, s.BottomBorderLength = 4;
    s.ContentX = 24, s.ContentY = 0, s.ContentWidth = 7, s.ContentHeight = 3;
    s.BgColor = RGB(9, 9, 9);
    s.TextColor = RGB(255, 0, 0);
    s.DisabledTextColor = RGB(0, 0, 255);
    s.TextFont = "Arial";
    s.TextSize = 14;
    s.InterationStep = 20;
    s.MainImage = image.release();
    return skin;
}

std::vector<COLORREF> ExpectedButton(const SkinBorderInfo_t& skin, int width, int height) {
    Painter painter(width, 4 * height, skin.MainImage->GetWidth(), skin.MainImage->GetHeight());
    for (int state = 0; state < 4; ++state)
        painter.ButtonBand(skin, width, height, state * height, state * skin.InterationStep);
    return painter.Pixels();
}

void SaveEnlarged(const ClsBitMap& image, const std::string& name) {
    // Four times as large, so a person can see the cells.
    ClsBitMap large;
    if (!large.AllocateBitMap(image.GetWidth() * 4, image.GetHeight() * 4, pf32bit)) return;
    CDC* dc = large.Lock();
    image.Draw(*dc, 0, 0, large.GetWidth(), large.GetHeight(), 0, 0, image.GetWidth(), image.GetHeight());
    large.Unlock();
    large.SaveToFile(orvtest::ArtifactPath(name).c_str());
}

// Bounding box of the pixels where two images differ, in one band.
RECT ChangedBox(const std::vector<COLORREF>& a, const std::vector<COLORREF>& b, int width, int height, int band) {
    RECT box{width, height, -1, -1};
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const size_t i = static_cast<size_t>((band * height + y) * width + x);
            if (a[i] == b[i]) continue;
            box.left = std::min<LONG>(box.left, x);
            box.top = std::min<LONG>(box.top, y);
            box.right = std::max<LONG>(box.right, x + 1);
            box.bottom = std::max<LONG>(box.bottom, y + 1);
        }
    return box;
}

bool BandHas(const std::vector<COLORREF>& pixels, int width, int height, int band, COLORREF color) {
    for (int i = band * height * width; i < (band + 1) * height * width; ++i)
        if (pixels[static_cast<size_t>(i)] == color) return true;
    return false;
}

}  // namespace

TEST(ButtonImage, FourBandsPieceByPiece) {
    SkinBorderInfoPtr skin = SmallButtonSkin(CodedImage(64, 80));
    ButtonSkinInfo_t button;
    button.Width = 31;
    button.Height = 17;
    ASSERT_TRUE(OrvSkinReader::FormButtonImage(&button, skin.get(), ""));
    ASSERT_EQ(button.Image.GetSize(), CSize(31, 68));
    EXPECT_EQ(button.Image.GetPixelFormat(), pf32bit);
    const std::vector<COLORREF> pixels = Pixels(button.Image);
    SaveEnlarged(button.Image, "skins-button-bands.bmp");

    // A few places worked out by hand.
    auto at = [&](int x, int y) { return pixels[static_cast<size_t>(y * 31 + x)]; };
    EXPECT_EQ(Where(at(10, 5)), Where(SourceColor(24, 0)));     // band 0: content row 2, tile 2
    EXPECT_EQ(Where(at(0, 34)), Where(SourceColor(0, 40)));     // band 2: left-top corner
    EXPECT_EQ(Where(at(27, 34)), Where(SourceColor(3, 40)));    // band 2: right-top corner
    EXPECT_EQ(Where(at(30, 50)), Where(SourceColor(6, 46)));    // band 2: right-bottom corner, last pixel
    EXPECT_EQ(Where(at(3, 51)), Where(SourceColor(17, 60)));    // band 3: first top edge cell
    EXPECT_EQ(Where(at(26, 20)), Where(SourceColor(26, 21)));   // band 1: last content tile of row 1
    EXPECT_EQ(Where(at(26, 30)), Where(SourceColor(20, 24)));   // band 1: bottom edge over the last content row
    EXPECT_EQ(Where(at(2, 25)), Where(SourceColor(10, 20)));    // band 1: second left edge cell

    ExpectSamePixels(pixels, ExpectedButton(*skin, 31, 17), 31);
}

TEST(ButtonImage, MissingPiecesStayBlank) {
    SkinBorderInfoPtr skin = SmallButtonSkin(CodedImage(64, 80));
    // No content, no top or right edge: only what remains is drawn.
    skin->ContentWidth = 0;
    skin->TopBorderLength = 0;
    skin->RightBorderLength = 0;
    ButtonSkinInfo_t button;
    button.Width = 40;
    button.Height = 24;
    ASSERT_TRUE(OrvSkinReader::FormButtonImage(&button, skin.get(), nullptr));
    const std::vector<COLORREF> pixels = Pixels(button.Image);
    EXPECT_EQ(pixels[static_cast<size_t>(10 * 40 + 20)], kBlank);  // the inside
    EXPECT_EQ(pixels[static_cast<size_t>(0 * 40 + 20)], kBlank);   // the top edge
    ExpectSamePixels(pixels, ExpectedButton(*skin, 40, 24), 40);
}

TEST(ButtonImage, CaptionCentredPushedOffsetAndDisabledColour) {
    // One colour everywhere, so the caption is the only thing that differs.
    SkinBorderInfoPtr skin = SmallButtonSkin(PlainImage(64, 80, RGB(40, 40, 40)));
    ButtonSkinInfo_t plain, captioned;
    plain.Width = captioned.Width = 64;
    plain.Height = captioned.Height = 22;
    ASSERT_TRUE(OrvSkinReader::FormButtonImage(&plain, skin.get(), ""));
    ASSERT_TRUE(OrvSkinReader::FormButtonImage(&captioned, skin.get(), "Hg&x"));
    SaveEnlarged(captioned.Image, "skins-button-caption.bmp");
    const std::vector<COLORREF> a = Pixels(plain.Image), b = Pixels(captioned.Image);

    const RECT normal = ChangedBox(a, b, 64, 22, 0);
    ASSERT_LT(normal.left, normal.right) << "no caption drawn";
    // Centred in (0, 0, width, height - 1); "&" is drawn, not an underline.
    EXPECT_NEAR((normal.left + normal.right) / 2.0, 32, 2.0);
    EXPECT_NEAR((normal.top + normal.bottom) / 2.0, 10.5, 2.0);
    EXPECT_GT(normal.right - normal.left, 20);
    const RECT hovered = ChangedBox(a, b, 64, 22, 1);
    EXPECT_TRUE(::EqualRect(&hovered, &normal));
    const RECT pushed = ChangedBox(a, b, 64, 22, 2);
    RECT shifted = normal;
    ::OffsetRect(&shifted, 1, 1);
    EXPECT_TRUE(::EqualRect(&pushed, &shifted)) << pushed.left << "," << pushed.top << " vs " << normal.left << ","
                                                << normal.top;
    const RECT disabled = ChangedBox(a, b, 64, 22, 3);
    EXPECT_NEAR(disabled.left, normal.left, 1);
    EXPECT_NEAR(disabled.top, normal.top, 1);

    for (int band = 0; band < 3; ++band) {
        EXPECT_TRUE(BandHas(b, 64, 22, band, skin->TextColor)) << band;
        EXPECT_FALSE(BandHas(b, 64, 22, band, skin->DisabledTextColor)) << band;
    }
    EXPECT_TRUE(BandHas(b, 64, 22, 3, skin->DisabledTextColor));
    EXPECT_FALSE(BandHas(b, 64, 22, 3, skin->TextColor));
}

TEST(ButtonImage, WithoutImageObjectTheBandsStayBlank) {
    SkinBorderInfoPtr noImage = NewSkinBorderInfo();
    noImage->TextColor = RGB(255, 255, 255);
    noImage->TextSize = 14;
    ButtonSkinInfo_t button;
    button.Width = 50;
    button.Height = 20;
    ASSERT_TRUE(OrvSkinReader::FormButtonImage(&button, noImage.get(), "Search"));
    for (COLORREF pixel : Pixels(button.Image)) ASSERT_EQ(pixel, kBlank);

    // An image object that holds no bitmap: no pieces, but the caption.
    noImage->MainImage = new ClsBitMap;
    ASSERT_TRUE(OrvSkinReader::FormButtonImage(&button, noImage.get(), "Search"));
    EXPECT_TRUE(BandHas(Pixels(button.Image), 50, 20, 0, RGB(255, 255, 255)));
    ASSERT_TRUE(OrvSkinReader::FormButtonImage(&button, nullptr, "Search"));
    EXPECT_EQ(button.Image.GetSize(), CSize(50, 80));
}

TEST(ButtonImage, SizesOutOfRangeLeaveNoImage) {
    SkinBorderInfoPtr skin = SmallButtonSkin(CodedImage(64, 80));
    EXPECT_FALSE(OrvSkinReader::FormButtonImage(nullptr, skin.get(), "x"));
    for (const CSize size : {CSize(0, 10), CSize(10, 0), CSize(-5, 10), CSize(1025, 20), CSize(20, 257)}) {
        ButtonSkinInfo_t button;
        button.Width = 8;
        button.Height = 8;
        ASSERT_TRUE(OrvSkinReader::FormButtonImage(&button, skin.get(), ""));
        button.Width = size.cx;
        button.Height = size.cy;
        EXPECT_FALSE(OrvSkinReader::FormButtonImage(&button, skin.get(), "")) << size.cx << "x" << size.cy;
        EXPECT_FALSE(button.Image.GetIsValid());
        RadioButtonSkinInfo_t radio;
        radio.Width = size.cx;
        radio.Height = size.cy;
        EXPECT_FALSE(OrvSkinReader::FormRadioButtonImage(&radio, skin.get(), "")) << size.cx << "x" << size.cy;
    }
    ButtonSkinInfo_t largest;
    largest.Width = 1024;
    largest.Height = 256;
    EXPECT_TRUE(OrvSkinReader::FormButtonImage(&largest, skin.get(), "Largest"));
    EXPECT_EQ(largest.Image.GetSize(), CSize(1024, 1024));
}

TEST(ButtonImage, HostileCellsStayInsideTheButton) {
    SkinBorderInfoPtr skin = SmallButtonSkin(CodedImage(64, 80));
    skin->LeftBorderWidth = -100000;
    skin->TopBorderWidth = -2000000000;
    skin->BottomBorderWidth = 2147483647;
    skin->ContentWidth = 1;
    skin->ContentHeight = 1;
    skin->LeftBorderLength = -3;
    skin->InterationStep = 2147483647;
    skin->RightTopCornerX = -2147483647 - 1;
    ButtonSkinInfo_t button;
    button.Width = 300;
    button.Height = 200;
    EXPECT_TRUE(OrvSkinReader::FormButtonImage(&button, skin.get(), "Hostile"));
    EXPECT_EQ(button.Image.GetSize(), CSize(300, 800));
}

TEST(RadioButtonImage, SixBandsGlyphContentAndCaptionPlace) {
    // Glyph 12 x 14 at (0, 0); content 5 x 4 at (30, 0); bands 20 rows apart.
    SkinBorderInfoPtr skin = NewSkinBorderInfo();
    skin->LeftBorderWidth = 12;
    skin->LeftBorderX = 0, skin->LeftBorderY = 0, skin->LeftBorderLength = 14;
    skin->ContentX = 30, skin->ContentY = 0, skin->ContentWidth = 5, skin->ContentHeight = 4;
    skin->InterationStep = 20;
    skin->BgColor = RGB(1, 2, 3);
    skin->MainImage = CodedImage(64, 120).release();
    RadioButtonSkinInfo_t radio;
    radio.Width = 50;
    radio.Height = 20;
    ASSERT_TRUE(OrvSkinReader::FormRadioButtonImage(&radio, skin.get(), ""));
    ASSERT_EQ(radio.Image.GetSize(), CSize(50, 120));
    SaveEnlarged(radio.Image, "skins-radio-bands.bmp");

    Painter painter(50, 120, 64, 120);
    for (int band = 0; band < 6; ++band) {
        for (int y = band * 20; y < (band + 1) * 20; y += 4)
            for (int x = 12; x < 50; x += 5) painter.Cell(x, y, 5, 4, 30, band * 20);
        painter.Cell(0, band * 20, 12, 14, 0, band * 20);
    }
    const std::vector<COLORREF> pixels = Pixels(radio.Image);
    ExpectSamePixels(pixels, painter.Pixels(), 50);
    EXPECT_EQ(pixels[static_cast<size_t>(17 * 50 + 5)], kBlank);  // under the glyph

    // Without a content cell the band is the background colour, and the
    // caption stands left-aligned right of the glyph.
    skin->ContentWidth = 0;
    skin->TextColor = RGB(255, 255, 0);
    skin->TextSize = 14;
    skin->TextFont = "Arial";
    ASSERT_TRUE(OrvSkinReader::FormRadioButtonImage(&radio, skin.get(), "Radio"));
    SaveEnlarged(radio.Image, "skins-radio-caption.bmp");
    const std::vector<COLORREF> captioned = Pixels(radio.Image);
    for (int band = 0; band < 6; ++band) {
        EXPECT_EQ(captioned[static_cast<size_t>((band * 20 + 1) * 50 + 49)], RGB(1, 2, 3)) << band;
        EXPECT_EQ(Where(captioned[static_cast<size_t>((band * 20) * 50)]), Where(SourceColor(0, band * 20)));
        int leftmost = 50;
        for (int y = band * 20; y < (band + 1) * 20; ++y)
            for (int x = 12; x < 50; ++x)
                if (captioned[static_cast<size_t>(y * 50 + x)] != RGB(1, 2, 3)) leftmost = std::min(leftmost, x);
        EXPECT_GE(leftmost, 12) << band;
        EXPECT_LE(leftmost, 15) << band;
        EXPECT_TRUE(BandHas(captioned, 50, 20, band, RGB(255, 255, 0))) << band;
    }

    // Without an image object: background only, no glyph.
    ClsBitMap* image = skin->MainImage;
    skin->MainImage = nullptr;
    ASSERT_TRUE(OrvSkinReader::FormRadioButtonImage(&radio, skin.get(), ""));
    skin->MainImage = image;
    const std::vector<COLORREF> bare = Pixels(radio.Image);
    EXPECT_EQ(bare[static_cast<size_t>(3 * 50 + 3)], kBlank);
    EXPECT_EQ(bare[static_cast<size_t>(3 * 50 + 30)], RGB(1, 2, 3));
    EXPECT_FALSE(OrvSkinReader::FormRadioButtonImage(nullptr, skin.get(), ""));
}
