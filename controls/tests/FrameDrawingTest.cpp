// The nine-part frame drawn from the synthetic test skin onto DIB sections:
// edge tiling, corners drawn last, the content cell tiled from the client
// origin, the source offset of a second state, and records without image.
#include "ClsFrameDrawer.h"
#include "ControlsTestSupport.h"

#include <gtest/gtest.h>

using namespace ctltest;

namespace {
void ExpectCanvasIs(const Canvas& canvas, const std::vector<COLORREF>& expected) {
    for (int y = 0; y < canvas.Height(); ++y)
        for (int x = 0; x < canvas.Width(); ++x) {
            const COLORREF want = expected[static_cast<size_t>(y) * canvas.Width() + x];
            ASSERT_EQ(canvas.Pixel(x, y), want)
                << "(" << x << ", " << y << ") is " << Describe(canvas.Pixel(x, y)) << ", want " << Describe(want);
        }
}
}  // namespace

TEST(FrameDrawing, EdgesTileByTheirLengthsAndTheCornersAreDrawnLast) {
    NinePartSkin skin = MakeNinePartSkin();
    const ControlBorderInfo_t& f = *skin.frame;
    // Sizes that leave a partial last cell on every edge.
    for (const CSize size : {CSize(53, 37), CSize(10, 8), CSize(11, 9), CSize(200, 23)}) {
        Canvas canvas(size.cx, size.cy);
        ClsFrameDrawer::DrawFrame(canvas.Hdc(), skin.frame.get(), size.cx, size.cy);
        ExpectCanvasIs(canvas, ExpectedFrame(f, size.cx, size.cy, kWhite));
        if (size == CSize(53, 37)) canvas.Save("frame-nine-part-53x37.bmp");
    }

    // Hand-picked pixels of the 53 x 37 frame.
    Canvas canvas(53, 37);
    ClsFrameDrawer::DrawFrame(canvas.Hdc(), skin.frame.get(), 53, 37);
    EXPECT_EQ(canvas.Pixel(0, 0), RGB(200, 0, 0)) << "left-top corner";
    EXPECT_EQ(canvas.Pixel(52, 0), RGB(0, 200, 0)) << "right-top corner";
    EXPECT_EQ(canvas.Pixel(0, 36), RGB(0, 0, 200)) << "left-bottom corner";
    EXPECT_EQ(canvas.Pixel(52, 36), RGB(200, 200, 0)) << "right-bottom corner";
    EXPECT_EQ(canvas.Pixel(4, 0), RGB(0, 200, 200)) << "top edge starts after the left border";
    EXPECT_EQ(canvas.Pixel(11, 1), RGB(0, 200, 200)) << "and repeats every 7 pixels";
    EXPECT_EQ(canvas.Pixel(12, 1), RGB(0, 100, 100));
    EXPECT_EQ(canvas.Pixel(46, 2), RGB(0, 200, 200)) << "the last top cell starts at 4 + 6 * 7";
    EXPECT_EQ(canvas.Pixel(47, 2), RGB(0, 200, 0)) << "and runs under the right-top corner";
    EXPECT_EQ(canvas.Pixel(0, 3), RGB(255, 128, 0)) << "left edge starts under the top border";
    EXPECT_EQ(canvas.Pixel(3, 9), RGB(255, 128, 0)) << "and repeats every 6 rows";
    EXPECT_EQ(canvas.Pixel(47, 3), RGB(0, 128, 255)) << "right edge at width - 6";
    EXPECT_EQ(canvas.Pixel(9, 32), RGB(150, 0, 150)) << "bottom edge cells every 5 pixels";
    EXPECT_EQ(canvas.Pixel(20, 20), kWhite) << "the inside is left alone";
}

TEST(FrameDrawing, TheSecondStateComesFromOneStateStepLower) {
    NinePartSkin skin = MakeNinePartSkin();
    const ControlBorderInfo_t& f = *skin.frame;
    Canvas canvas(30, 20);
    ClsFrameDrawer::DrawEdgesAndCorners(canvas.Hdc(), f, *f.MainImage, RECT{0, 0, 30, 20}, f.InterationStep);
    std::vector<COLORREF> expected = ExpectedFrame(f, 30, 20, kWhite);
    for (COLORREF& c : expected)
        if (c != kWhite) c = RGB(GetRValue(c) / 2, GetGValue(c) / 2, GetBValue(c) / 2);
    ExpectCanvasIs(canvas, expected);

    // An area away from the origin keeps its offset.
    Canvas offset(40, 30);
    ClsFrameDrawer::DrawEdgesAndCorners(offset.Hdc(), f, *f.MainImage, RECT{5, 7, 35, 27});
    EXPECT_EQ(offset.Pixel(5, 7), RGB(200, 0, 0));
    EXPECT_EQ(offset.Pixel(34, 26), RGB(200, 200, 0));
    EXPECT_EQ(offset.Pixel(4, 7), kWhite);
    EXPECT_EQ(offset.Pixel(35, 26), kWhite);
}

TEST(FrameDrawing, ContentTilesFromTheClientOriginUntilTheSizeIsCovered) {
    NinePartSkin skin = MakeNinePartSkin();
    Canvas canvas(21, 15);
    ASSERT_TRUE(ClsFrameDrawer::FillContent(canvas.Hdc(), skin.frame.get(), 21, 15));
    for (int y = 0; y < 15; ++y)
        for (int x = 0; x < 21; ++x)
            ASSERT_EQ(canvas.Pixel(x, y), SkinImagePixel(32 + x % 8, y % 6)) << "(" << x << ", " << y << ")";
    canvas.Save("frame-content-21x15.bmp");

    // A fill area that does not start at a tile boundary starts a tile there.
    Canvas inside(20, 20);
    ASSERT_TRUE(ClsFrameDrawer::TileContent(inside.Hdc(), *skin.frame, *skin.frame->MainImage, RECT{3, 4, 12, 11}));
    EXPECT_EQ(inside.Pixel(3, 4), SkinImagePixel(32, 0));
    EXPECT_EQ(inside.Pixel(11, 4), SkinImagePixel(32, 0)) << "second tile at 3 + 8";
    EXPECT_EQ(inside.Pixel(18, 4), SkinImagePixel(39, 0)) << "tiles are drawn whole";
    EXPECT_EQ(inside.Pixel(3, 10), SkinImagePixel(32, 0)) << "second row at 4 + 6";
    EXPECT_EQ(inside.Pixel(3, 15), SkinImagePixel(32, 5)) << "drawn whole past the fill area";
    EXPECT_EQ(inside.Pixel(3, 16), kWhite) << "no third row";
    EXPECT_EQ(inside.Pixel(2, 4), kWhite);
    EXPECT_EQ(inside.Pixel(3, 3), kWhite);
}

TEST(FrameDrawing, ContentUnderAClipRegionIsTheUnclippedTilingThereAndNothingElsewhere) {
    NinePartSkin skin = MakeNinePartSkin();
    const int width = 61, height = 47;
    Canvas whole(width, height);
    ASSERT_TRUE(ClsFrameDrawer::FillContent(whole.Hdc(), skin.frame.get(), width, height));
    // Clips that start and end inside tiles, at tile edges, past the area,
    // and with the device origin moved (the clip box is in logical units).
    const struct {
        RECT clip;
        POINT origin;
    } cases[] = {
        {{13, 9, 30, 22}, {0, 0}}, {{0, 0, 8, 6}, {0, 0}},   {{40, 30, 90, 90}, {0, 0}},
        {{5, 5, 6, 6}, {0, 0}},    {{10, 7, 27, 19}, {-5, -3}}, {{-20, -20, 3, 70}, {0, 0}},
    };
    for (const auto& c : cases) {
        Canvas clipped(width, height);
        // Regions are in device units: logical + origin.
        HRGN region = ::CreateRectRgn(c.clip.left + c.origin.x, c.clip.top + c.origin.y, c.clip.right + c.origin.x,
                                      c.clip.bottom + c.origin.y);
        ::SelectClipRgn(clipped.Hdc(), region);
        ::DeleteObject(region);
        ::SetViewportOrgEx(clipped.Hdc(), c.origin.x, c.origin.y, nullptr);
        ASSERT_TRUE(ClsFrameDrawer::FillContent(clipped.Hdc(), skin.frame.get(), width, height));
        ::SetViewportOrgEx(clipped.Hdc(), 0, 0, nullptr);
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) {
                // Device pixel (x, y) is logical (x - origin).
                const int lx = x - c.origin.x, ly = y - c.origin.y;
                const bool inside = lx >= c.clip.left && lx < c.clip.right && ly >= c.clip.top && ly < c.clip.bottom &&
                                    lx >= 0 && ly >= 0 && lx < width && ly < height;
                const COLORREF want = inside ? whole.Pixel(lx, ly) : kWhite;
                ASSERT_EQ(clipped.Pixel(x, y), want) << "clip (" << c.clip.left << ", " << c.clip.top << ", "
                                                     << c.clip.right << ", " << c.clip.bottom << ") pixel (" << x
                                                     << ", " << y << ")";
            }
    }

    // An empty clip region draws nothing and still counts as filled.
    Canvas empty(width, height);
    HRGN none = ::CreateRectRgn(0, 0, 0, 0);
    ::SelectClipRgn(empty.Hdc(), none);
    ::DeleteObject(none);
    EXPECT_TRUE(ClsFrameDrawer::FillContent(empty.Hdc(), skin.frame.get(), width, height));
    ::SelectClipRgn(empty.Hdc(), nullptr);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) ASSERT_EQ(empty.Pixel(x, y), kWhite) << "(" << x << ", " << y << ")";
}

TEST(FrameDrawing, WithoutRecordImageOrContentCellNothingIsDrawn) {
    NinePartSkin skin = MakeNinePartSkin();
    Canvas canvas(30, 30);
    ClsFrameDrawer::DrawFrame(canvas.Hdc(), nullptr, 30, 30);
    ControlBorderInfo_t noImage = *skin.frame;
    noImage.MainImage = nullptr;
    ClsFrameDrawer::DrawFrame(canvas.Hdc(), &noImage, 30, 30);
    EXPECT_FALSE(ClsFrameDrawer::FillContent(canvas.Hdc(), &noImage, 30, 30));
    ControlBorderInfo_t noContent = *skin.frame;
    noContent.ContentWidth = 0;
    EXPECT_FALSE(ClsFrameDrawer::FillContent(canvas.Hdc(), &noContent, 30, 30));
    noContent.ContentWidth = 8;
    noContent.ContentHeight = -6;
    EXPECT_FALSE(ClsFrameDrawer::FillContent(canvas.Hdc(), &noContent, 30, 30));
    ClsFrameDrawer::DrawFrame(canvas.Hdc(), skin.frame.get(), 0, 30);
    ClsFrameDrawer::DrawFrame(canvas.Hdc(), skin.frame.get(), -5, -5);
    // Edge lengths of 0 leave their edges out instead of looping for ever.
    ControlBorderInfo_t noEdges = *skin.frame;
    noEdges.TopBorderLength = noEdges.BottomBorderLength = 0;
    noEdges.LeftBorderLength = noEdges.RightBorderLength = -3;
    ClsFrameDrawer::DrawFrame(nullptr, &noEdges, 30, 30);
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 30; ++x) ASSERT_EQ(canvas.Pixel(x, y), kWhite);
    ClsFrameDrawer::DrawFrame(canvas.Hdc(), &noEdges, 30, 30);
    EXPECT_EQ(canvas.Pixel(10, 1), kWhite) << "no top edge";
    EXPECT_EQ(canvas.Pixel(0, 0), RGB(200, 0, 0)) << "corners still";
}
