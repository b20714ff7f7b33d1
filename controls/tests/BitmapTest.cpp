// ClsBitMap: the drawing primitive, transparent drawing, window shapes from
// run lists, cropping, copying, capture and bitmap files, all checked pixel
// by pixel on real DIB sections. Pictures go under the test artifacts.
#include "ClsBitMap.h"
#include "ClsFont.h"
#include "ControlsTestSupport.h"

#include "CBrush.h"
#include "CRgn.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <climits>
#include <fstream>
#include <thread>
#include <vector>

using namespace ctltest;

namespace {
const COLORREF kRed = RGB(255, 0, 0);
const COLORREF kBlue = RGB(0, 0, 255);

// A 4 x 3 image whose every pixel differs: (x, y) -> RGB(40 + 50x, 60y, 7).
COLORREF Gradient(int x, int y) { return RGB(40 + 50 * x, 60 * y, 7); }

std::unique_ptr<ClsBitMap> GradientImage() { return MakeImage(4, 3, Gradient); }

// A 12 x 10 sprite: a red disc on blue, magenta outside the disc and in a
// 2 x 2 hole in its middle.
COLORREF Sprite(int x, int y) {
    const int dx = 2 * x - 11, dy = 2 * y - 9;
    if (dx * dx + dy * dy > 100) return kMagenta;
    if ((x == 5 || x == 6) && (y == 4 || y == 5)) return kMagenta;
    return (x + y) % 3 == 0 ? kBlue : kRed;
}

// The background the sprite is drawn over: 3 x 3 checks of two greens.
COLORREF Pattern(int x, int y) { return ((x / 3 + y / 3) % 2) ? RGB(0, 160, 0) : RGB(0, 80, 0); }

void PaintPattern(Canvas& canvas) {
    for (int y = 0; y < canvas.Height(); ++y)
        for (int x = 0; x < canvas.Width(); ++x) ::SetPixelV(canvas.Hdc(), x, y, Pattern(x, y));
}

// An 8-bit section whose colour table holds magenta at index 1.
std::unique_ptr<ClsBitMap> PaletteImage(int width, int height, const std::vector<BYTE>& indices) {
    struct {
        BITMAPINFOHEADER header;
        RGBQUAD colors[4];
    } info{};
    info.header.biSize = sizeof info.header;
    info.header.biWidth = width;
    info.header.biHeight = height;
    info.header.biPlanes = 1;
    info.header.biBitCount = 8;
    info.header.biClrUsed = 4;
    info.colors[0] = RGBQUAD{0, 0, 255, 0};    // red
    info.colors[1] = RGBQUAD{255, 0, 255, 0};  // magenta
    info.colors[2] = RGBQUAD{255, 0, 0, 0};    // blue
    info.colors[3] = RGBQUAD{0, 255, 0, 0};    // green
    void* bits = nullptr;
    HBITMAP section = ::CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS,
                                         &bits, nullptr, 0);
    if (!section) return nullptr;
    const int stride = (width + 3) & ~3;
    auto* rows = static_cast<BYTE*>(bits);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            rows[(height - 1 - y) * stride + x] = indices[static_cast<size_t>(y) * width + x];
    auto image = std::make_unique<ClsBitMap>();
    image->Attach(section);
    return image;
}

// Each pixel of the bitmap inside the region exactly when it is not magenta.
void ExpectShapeFollowsMagenta(const CRgn& region, int width, int height,
                               const std::function<bool(int, int)>& isMagenta) {
    ASSERT_NE(region.GetSafeHandle(), nullptr);
    RECT box{};
    region.GetRgnBox(&box);
    EXPECT_GE(box.left, 0);
    EXPECT_GE(box.top, 0);
    EXPECT_LE(box.right, width);
    EXPECT_LE(box.bottom, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            ASSERT_EQ(region.PtInRegion(x, y), !isMagenta(x, y)) << "pixel (" << x << ", " << y << ")";
}

std::vector<unsigned char> ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<unsigned char>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

uint32_t LE32(const std::vector<unsigned char>& bytes, size_t at) {
    return bytes[at] | (bytes[at + 1] << 8) | (bytes[at + 2] << 16) | (static_cast<uint32_t>(bytes[at + 3]) << 24);
}
}  // namespace

TEST(BitmapAllocation, SectionsOfEveryDepthAreBottomUpAndReportTheirFormat) {
    const struct {
        PixelFormat_e asked;
        int bits;
        PixelFormat_e read;
    } cases[] = {{pf1bit, 1, pf1bit},        {pf4bit, 4, pf4bit},   {pf8bit, 8, pf8bit},
                 {pf16bit555, 16, pf16bit565}, {pf16bit565, 16, pf16bit565},
                 {pf24bit, 24, pf24bit},     {pf32bit, 32, pf32bit}};
    for (const auto& c : cases) {
        ClsBitMap bitmap;
        ASSERT_TRUE(bitmap.AllocateBitMap(7, 5, c.asked)) << "format " << c.asked;
        DIBSECTION section{};
        ASSERT_EQ(::GetObjectA(bitmap.GetHandle(), sizeof section, &section), static_cast<int>(sizeof section));
        EXPECT_GT(section.dsBmih.biHeight, 0) << "bottom-up";
        EXPECT_EQ(section.dsBmih.biBitCount, c.bits);
        EXPECT_EQ(bitmap.GetPixelFormat(), c.read);
        EXPECT_EQ(bitmap.GetSize(), CSize(7, 5));
        EXPECT_TRUE(bitmap.GetIsValid());
        EXPECT_EQ(bitmap.GetPalette()->GetSafeHandle() != nullptr, c.bits <= 8)
            << "a palette exactly for bitmaps with a colour table";
    }
}

TEST(BitmapAllocation, OddSizesFailCleanlyAndCreateBitmapTakesAbsoluteSizes) {
    ClsBitMap bitmap;
    EXPECT_FALSE(bitmap.AllocateBitMap(0, 5, pf32bit));
    EXPECT_FALSE(bitmap.AllocateBitMap(-3, 5, pf32bit));
    EXPECT_FALSE(bitmap.AllocateBitMap(60000, 60000, pf32bit)) << "far beyond any skin image";
    EXPECT_FALSE(bitmap.AllocateBitMap(4, 4, static_cast<PixelFormat_e>(9)));
    EXPECT_FALSE(bitmap.AllocateBitMap(4, 4, static_cast<PixelFormat_e>(-1)));
    EXPECT_FALSE(bitmap.GetIsValid());
    EXPECT_EQ(bitmap.GetSize(), CSize(0, 0));

    ASSERT_TRUE(bitmap.CreateBitmap(-6, -2, pf24bit));
    EXPECT_EQ(bitmap.GetSize(), CSize(6, 2));
    EXPECT_FALSE(bitmap.CreateBitmap(INT_MIN, 2, pf24bit));
    EXPECT_FALSE(bitmap.GetIsValid()) << "a failed allocation leaves no bitmap";
}

TEST(BitmapDraw, WholeBitmapAndOffsetSourcesAreCopiedPixelForPixel) {
    auto image = GradientImage();
    ASSERT_TRUE(image);
    Canvas canvas(12, 8);
    image->Draw(canvas.Hdc(), 2, 1);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 4; ++x) EXPECT_EQ(canvas.Pixel(2 + x, 1 + y), Gradient(x, y));
    EXPECT_EQ(canvas.Pixel(1, 1), kWhite);
    EXPECT_EQ(canvas.Pixel(6, 1), kWhite);

    // A bitmap-sized area from source (1, 1): only the part inside the bitmap.
    canvas.Fill(kWhite);
    image->DrawInDC_XY(canvas.Hdc(), 0, 0, 1, 1);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x) EXPECT_EQ(canvas.Pixel(x, y), Gradient(x + 1, y + 1));
    EXPECT_EQ(canvas.Pixel(3, 0), kWhite) << "nothing beyond the bitmap's right edge";
    EXPECT_EQ(canvas.Pixel(0, 2), kWhite) << "nothing below its last row";

    // A sized part, unscaled.
    canvas.Fill(kWhite);
    image->DrawInDC_XY_Sized(canvas.Hdc(), 5, 5, 2, 1, 2, 2);
    EXPECT_EQ(canvas.Pixel(5, 5), Gradient(2, 2));
    EXPECT_EQ(canvas.Pixel(6, 5), Gradient(3, 2));
    EXPECT_EQ(canvas.Pixel(7, 5), kWhite);
    EXPECT_EQ(canvas.Pixel(5, 6), kWhite);
    canvas.Save("bitmap-draw-part.bmp");
}

TEST(BitmapDraw, SourceLargerThanTheBitmapDrawsOnlyTheInsideUnscaledWhenSizesWereEqual) {
    auto image = GradientImage();
    Canvas canvas(20, 20);
    // Source and destination both 10 x 10 from (-2, -1): the bitmap lands at
    // its own size where its pixels fall.
    image->Draw(canvas.Hdc(), 5, 5, 10, 10, -2, -1, 10, 10);
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 20; ++x) {
            const bool inside = x >= 7 && x < 11 && y >= 6 && y < 9;
            EXPECT_EQ(canvas.Pixel(x, y), inside ? Gradient(x - 7, y - 6) : kWhite)
                << "(" << x << ", " << y << ")";
        }
    // Enormous equal sizes: still the bitmap at its own size, no overflow.
    canvas.Fill(kWhite);
    image->Draw(canvas.Hdc(), 1, 1, INT_MAX, INT_MAX, 0, 0, INT_MAX, INT_MAX);
    EXPECT_EQ(canvas.Pixel(1, 1), Gradient(0, 0));
    EXPECT_EQ(canvas.Pixel(4, 3), Gradient(3, 2));
    EXPECT_EQ(canvas.Pixel(5, 1), kWhite);
    image->Draw(canvas.Hdc(), INT_MAX - 1, INT_MIN + 1, 4, 3, INT_MIN, INT_MIN, 4, 3);
    canvas.Save("bitmap-draw-clamped.bmp");
}

TEST(BitmapDraw, DifferentSizesStretchByDroppingOrRepeatingPixelsWithoutBlending) {
    auto image = GradientImage();
    Canvas canvas(16, 12);
    // Twice the size: each pixel becomes a 2 x 2 block.
    image->Draw(canvas.Hdc(), 0, 0, 8, 6, 0, 0, 4, 3);
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 8; ++x) EXPECT_EQ(canvas.Pixel(x, y), Gradient(x / 2, y / 2));
    // Half the size: every pixel drawn is one of the source's, never a mix.
    canvas.Fill(kWhite);
    image->Draw(canvas.Hdc(), 10, 0, 2, 2, 0, 0, 4, 3);
    for (int y = 0; y < 2; ++y)
        for (int x = 10; x < 12; ++x) {
            bool found = false;
            for (int sy = 0; sy < 3; ++sy)
                for (int sx = 0; sx < 4; ++sx) found = found || canvas.Pixel(x, y) == Gradient(sx, sy);
            EXPECT_TRUE(found) << Describe(canvas.Pixel(x, y)) << " is no source pixel";
        }
    // A source reaching past the bitmap with a different destination size:
    // the inside part is stretched over the whole destination.
    canvas.Fill(kWhite);
    image->Draw(canvas.Hdc(), 0, 6, 8, 6, 2, 0, 4, 3);  // inside part: 2 x 3
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 8; ++x) EXPECT_EQ(canvas.Pixel(x, 6 + y), Gradient(2 + x / 4, y / 2));
    canvas.Save("bitmap-draw-stretched.bmp");
}

TEST(BitmapDraw, NothingIsDrawnWithoutTargetBitmapOrArea) {
    auto image = GradientImage();
    Canvas canvas(8, 8);
    image->Draw(nullptr, 0, 0);
    image->Draw(static_cast<CDC*>(nullptr));
    image->Draw(canvas.Hdc(), 0, 0, 0, 3, 0, 0, 0, 3);
    image->Draw(canvas.Hdc(), 0, 0, 4, 3, 0, 0, -4, 3);
    image->Draw(canvas.Hdc(), 0, 0, -4, -3, 0, 0, 4, 3);
    image->Draw(canvas.Hdc(), 0, 0, 4, 3, 10, 10, 4, 3);  // source outside
    ClsBitMap empty;
    empty.Draw(canvas.Hdc(), 0, 0);
    empty.Draw(&canvas.DC());
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x) ASSERT_EQ(canvas.Pixel(x, y), kWhite);
}

TEST(BitmapDraw, RectangleFormDefaultsToTheWholeBitmapAndItsOwnPlace) {
    auto image = GradientImage();
    Canvas canvas(10, 10);
    image->Draw(&canvas.DC());
    EXPECT_EQ(canvas.Pixel(0, 0), Gradient(0, 0));
    EXPECT_EQ(canvas.Pixel(3, 2), Gradient(3, 2));
    canvas.Fill(kWhite);
    const RECT source{1, 1, 3, 3};
    image->Draw(&canvas.DC(), nullptr, &source);
    EXPECT_EQ(canvas.Pixel(1, 1), Gradient(1, 1)) << "the destination defaults to the source";
    EXPECT_EQ(canvas.Pixel(0, 0), kWhite);
    const RECT dest{4, 4, 8, 8};
    image->Draw(&canvas.DC(), &dest, &source);
    EXPECT_EQ(canvas.Pixel(4, 4), Gradient(1, 1));
    EXPECT_EQ(canvas.Pixel(7, 7), Gradient(2, 2));
}

TEST(BitmapTransparent, MagentaStaysInvisibleOverAPattern) {
    auto sprite = MakeImage(12, 10, Sprite);
    ASSERT_TRUE(sprite);
    Canvas canvas(20, 16);
    PaintPattern(canvas);
    const RECT dest{4, 3, 16, 13};
    ASSERT_TRUE(sprite->DrawTransparent(&canvas.DC(), &dest, nullptr));
    canvas.Save("transparent-sprite.bmp");
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 20; ++x) {
            const bool onSprite = x >= 4 && x < 16 && y >= 3 && y < 13;
            const COLORREF want =
                onSprite && Sprite(x - 4, y - 3) != kMagenta ? Sprite(x - 4, y - 3) : Pattern(x, y);
            ASSERT_EQ(canvas.Pixel(x, y), want) << "(" << x << ", " << y << ")";
        }
}

TEST(BitmapTransparent, ScaledAndCutSourcesAndOtherDepths) {
    // A 24-bit sprite, doubled: the 32-bit copy is stretched first.
    auto sprite32 = MakeImage(12, 10, Sprite);
    ClsBitMap sprite24;
    ASSERT_TRUE(sprite24.AllocateBitMap(12, 10, pf24bit));
    sprite32->Draw(sprite24.Lock()->GetSafeHdc(), 0, 0);
    sprite24.Unlock();
    Canvas canvas(30, 24);
    PaintPattern(canvas);
    const RECT dest{0, 0, 24, 20};
    ASSERT_TRUE(sprite24.DrawTransparent(&canvas.DC(), &dest, nullptr));
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 24; ++x) {
            const COLORREF s = Sprite(x / 2, y / 2);
            ASSERT_EQ(canvas.Pixel(x, y), s == kMagenta ? Pattern(x, y) : s) << "(" << x << ", " << y << ")";
        }
    canvas.Save("transparent-sprite-doubled.bmp");

    // A source reaching past the bitmap is cut to it; the destination
    // defaults to that cut source.
    PaintPattern(canvas);
    const RECT source{8, 6, 40, 40};
    ASSERT_TRUE(sprite32->DrawTransparent(&canvas.DC(), nullptr, &source));
    for (int y = 6; y < 10; ++y)
        for (int x = 8; x < 12; ++x) {
            const COLORREF s = Sprite(x, y);
            EXPECT_EQ(canvas.Pixel(x, y), s == kMagenta ? Pattern(x, y) : s);
        }
    EXPECT_EQ(canvas.Pixel(12, 6), Pattern(12, 6));

    const RECT outside{50, 50, 60, 60};
    EXPECT_FALSE(sprite32->DrawTransparent(&canvas.DC(), nullptr, &outside));
    ClsBitMap empty;
    EXPECT_FALSE(empty.DrawTransparent(&canvas.DC()));
    EXPECT_FALSE(sprite32->DrawTransparent(nullptr));
    const RECT inverted{10, 10, 0, 0};
    EXPECT_FALSE(sprite32->DrawTransparent(&canvas.DC(), &inverted, nullptr)) << "no negative destination";
}

TEST(BitmapTransparent, AlphaBlendsEveryChannelAndKeysAreColourReferences) {
    auto solid = MakeImage(4, 4, [](int x, int) { return x == 0 ? kMagenta : RGB(200, 100, 50); });
    Canvas canvas(4, 4, RGB(10, 20, 250));
    ASSERT_TRUE(solid->DrawTransparent(&canvas.DC(), nullptr, nullptr, kMagenta, 128));
    // (background * 127 + source * 128) / 256, channel by channel.
    const COLORREF blended = RGB((10 * 127 + 200 * 128) / 256, (20 * 127 + 100 * 128) / 256,
                                 (250 * 127 + 50 * 128) / 256);
    EXPECT_EQ(canvas.Pixel(1, 1), blended) << Describe(canvas.Pixel(1, 1));
    EXPECT_EQ(canvas.Pixel(0, 1), RGB(10, 20, 250)) << "the key stays out of blending too";

    canvas.Fill(RGB(10, 20, 250));
    ASSERT_TRUE(solid->DrawTransparent(&canvas.DC(), nullptr, nullptr, kMagenta, 0));
    EXPECT_EQ(canvas.Pixel(1, 1), RGB(10 * 255 / 256, 20 * 255 / 256, 250 * 255 / 256));

    // A key that is not symmetric in red and blue: red pixels vanish, the
    // blue ones (same bytes in the other order) stay.
    auto redBlue = MakeImage(2, 1, [](int x, int) { return x == 0 ? kRed : kBlue; });
    canvas.Fill(kWhite);
    ASSERT_TRUE(redBlue->DrawTransparent(&canvas.DC(), nullptr, nullptr, kRed, 255));
    EXPECT_EQ(canvas.Pixel(0, 0), kWhite);
    EXPECT_EQ(canvas.Pixel(1, 0), kBlue);
}

TEST(BitmapDrawDIB, VideoForWindowsDrawsPartsAndStretchesLikeThePlainCopy) {
    auto image = MakeImage(8, 6, [](int x, int y) { return RGB(30 * x, 40 * y, x < 4 ? 200 : 20); });
    Canvas viaVfw(20, 20), viaCopy(20, 20);
    const RECT source{2, 1, 6, 4};
    const RECT dest{3, 5, 11, 11};  // twice the source
    ASSERT_TRUE(image->DrawDIB(&viaVfw.DC(), &dest, &source, true));
    ASSERT_TRUE(image->DrawDIB(&viaCopy.DC(), &dest, &source, false));
    viaVfw.Save("drawdib-vfw.bmp");
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 20; ++x) {
            const bool inside = x >= 3 && x < 11 && y >= 5 && y < 11;
            const COLORREF want = inside ? RGB(30 * (2 + (x - 3) / 2), 40 * (1 + (y - 5) / 2),
                                               2 + (x - 3) / 2 < 4 ? 200 : 20)
                                         : kWhite;
            ASSERT_EQ(viaVfw.Pixel(x, y), want) << "video for Windows at (" << x << ", " << y << ")";
            ASSERT_EQ(viaCopy.Pixel(x, y), want) << "plain copy at (" << x << ", " << y << ")";
        }
}

TEST(BitmapRegion, MagentaHolesAreCutOutOfTheShapeInEveryDepth) {
    auto sprite = MakeImage(12, 10, Sprite);
    const auto isHole = [](int x, int y) { return Sprite(x, y) == kMagenta; };
    ExpectShapeFollowsMagenta(sprite->CreateRgn(), 12, 10, isHole);

    for (PixelFormat_e format : {pf24bit, pf16bit565, pf16bit555, pf4bit}) {
        ClsBitMap copy;
        ASSERT_TRUE(copy.AllocateBitMap(12, 10, format));
        if (format == pf4bit) {
            // A grey ramp cannot hold magenta: put it into the colour table.
            CDC* dc = copy.Lock();
            RGBQUAD table[16];
            ASSERT_EQ(::GetDIBColorTable(*dc, 0, 16, table), 16u);
            table[15] = RGBQUAD{255, 0, 255, 0};
            table[14] = RGBQUAD{0, 0, 255, 0};
            table[13] = RGBQUAD{255, 0, 0, 0};
            ::SetDIBColorTable(*dc, 0, 16, table);
            copy.Unlock();
        }
        sprite->Draw(copy.Lock()->GetSafeHdc(), 0, 0);
        copy.Unlock();
        ExpectShapeFollowsMagenta(copy.CreateRgn(kMagenta), 12, 10, isHole);
    }

    // 8 bits: the colour table entry of each pixel is compared.
    std::vector<BYTE> indices(6 * 4, 0);
    indices[1] = indices[7] = indices[8] = indices[23] = 1;
    indices[2] = 2;
    auto palette = PaletteImage(6, 4, indices);
    ASSERT_TRUE(palette);
    EXPECT_EQ(palette->GetPixelFormat(), pf8bit);
    ExpectShapeFollowsMagenta(palette->CreateRgn(), 6, 4,
                              [&](int x, int y) { return indices[static_cast<size_t>(y) * 6 + x] == 1; });
}

TEST(BitmapRegion, ARectangleShapesThatPartInItsOwnCoordinates) {
    auto sprite = MakeImage(12, 10, Sprite);
    const RECT part{9, 8, 3, 2};  // inverted on purpose: normalised to (3, 2)-(9, 8)
    CRgn region = sprite->CreateRgn(kMagenta, &part);
    ExpectShapeFollowsMagenta(region, 6, 6, [](int x, int y) { return Sprite(x + 3, y + 2) == kMagenta; });

    const RECT outside{20, 20, 30, 30};
    EXPECT_EQ(sprite->CreateRgn(kMagenta, &outside).GetSafeHandle(), nullptr);
    ClsBitMap empty;
    EXPECT_EQ(empty.CreateRgn().GetSafeHandle(), nullptr);

    auto allMagenta = MakeImage(5, 5, [](int, int) { return kMagenta; });
    CRgn none = allMagenta->CreateRgn();
    ASSERT_NE(none.GetSafeHandle(), nullptr);
    RECT box{};
    EXPECT_EQ(none.GetRgnBox(&box), NULLREGION) << "an all-transparent image has an empty shape";
}

TEST(BitmapRegion, AWindowShapedByTheRegionShowsOnlyItsSolidPixels) {
    auto sprite = MakeImage(12, 10, Sprite);
    ClsBitMap big;
    ASSERT_TRUE(big.AllocateBitMap(120, 100, pf32bit));
    sprite->Draw(big.Lock()->GetSafeHdc(), 0, 0, 120, 100, 0, 0, 12, 10);
    big.Unlock();

    WNDCLASSA shapedClass{};
    shapedClass.lpfnWndProc = ::DefWindowProcA;
    shapedClass.hInstance = ::GetModuleHandleA(nullptr);
    CBrush red(kRed);
    shapedClass.hbrBackground = red;
    shapedClass.lpszClassName = "OrvTestShaped";
    ::RegisterClassA(&shapedClass);
    HWND window = ::CreateWindowExA(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, "OrvTestShaped", "", WS_POPUP, 40, 40,
                                    120, 100, nullptr, nullptr, shapedClass.hInstance, nullptr);
    ASSERT_NE(window, nullptr);
    CRgn shape = big.CreateRgn();
    ASSERT_NE(shape.GetSafeHandle(), nullptr);
    CRgn expected;
    expected.CopyRgn(&shape);
    ASSERT_NE(::SetWindowRgn(window, static_cast<HRGN>(shape.Detach()), TRUE), 0);
    ::ShowWindow(window, SW_SHOWNOACTIVATE);
    ::UpdateWindow(window);
    orvtest::PumpPending();

    CRgn applied;
    applied.CreateRectRgn(0, 0, 0, 0);
    ASSERT_NE(::GetWindowRgn(window, applied), ERROR);
    EXPECT_TRUE(applied.EqualRgn(&expected));
    // Every 10 x 10 block of the window is one sprite pixel: its centre is in
    // the window exactly when that pixel is solid.
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 12; ++x)
            EXPECT_EQ(applied.PtInRegion(10 * x + 5, 10 * y + 5), Sprite(x, y) != kMagenta);
    // What the window hit-tests follows the shape too.
    POINT solid{40 + 35, 40 + 45}, hole{40 + 55, 40 + 45};
    EXPECT_EQ(::WindowFromPoint(solid), window);
    EXPECT_NE(::WindowFromPoint(hole), window);

    // On the screen the window shows red where the sprite is solid, and
    // what lies behind it in the holes.
    Canvas shot(200, 180);
    const auto capture = [&] {
        HDC screen = ::GetDC(nullptr);
        ::BitBlt(shot.Hdc(), 0, 0, 200, 180, screen, 0, 0, SRCCOPY);
        ::ReleaseDC(nullptr, screen);
        return shot.Pixel(40 + 35, 40 + 45) == kRed;
    };
    EXPECT_TRUE(orvtest::PumpUntil(capture, 10000)) << "the window never showed on the screen";
    shot.Save("region-shaped-window-screen.bmp");
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 12; ++x)
            EXPECT_EQ(shot.Pixel(40 + 10 * x + 5, 40 + 10 * y + 5) == kRed, Sprite(x, y) != kMagenta)
                << "screen block (" << x << ", " << y << ")";
    ::DestroyWindow(window);
    ::UnregisterClassA("OrvTestShaped", shapedClass.hInstance);
}

TEST(BitmapCopies, CloneCropAndCopyGive32BitPixelsOfTheSameColours) {
    std::vector<BYTE> indices = {0, 1, 2, 3, 3, 2, 1, 0};
    auto palette = PaletteImage(4, 2, indices);
    ASSERT_TRUE(palette);
    const COLORREF table[] = {kRed, kMagenta, kBlue, RGB(0, 255, 0)};

    ClsBitMap copy = *palette;  // ClsBitMap a = b; with b 8 bits deep
    EXPECT_EQ(copy.GetPixelFormat(), pf32bit);
    EXPECT_NE(copy.GetHandle(), palette->GetHandle());
    Canvas canvas(4, 2);
    copy.Draw(canvas.Hdc(), 0, 0);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 4; ++x) EXPECT_EQ(canvas.Pixel(x, y), table[indices[static_cast<size_t>(y) * 4 + x]]);

    // The fourth byte of every copied pixel is 0.
    DIBSECTION section{};
    ASSERT_EQ(::GetObjectA(copy.GetHandle(), sizeof section, &section), static_cast<int>(sizeof section));
    ::GdiFlush();
    const auto* pixels = static_cast<const uint32_t*>(section.dsBm.bmBits);
    for (int i = 0; i < 8; ++i) EXPECT_EQ(pixels[i] >> 24, 0u);

    const RECT part{3, 2, 1, 0};
    auto cropped = ClsBitMap::CreateImageFromBitmap(palette->GetHandle(), &part);
    ASSERT_TRUE(cropped);
    EXPECT_EQ(cropped->GetSize(), CSize(2, 2));
    Canvas small(2, 2);
    cropped->Draw(small.Hdc(), 0, 0);
    EXPECT_EQ(small.Pixel(0, 0), table[1]);
    EXPECT_EQ(small.Pixel(1, 1), table[1]);
    EXPECT_EQ(small.Pixel(1, 0), table[2]);

    const RECT away{10, 10, 12, 12};
    EXPECT_FALSE(ClsBitMap::CreateImageFromBitmap(palette->GetHandle(), &away));
    EXPECT_FALSE(ClsBitMap::CreateImageFromBitmap(nullptr, nullptr));

    // Assigning from an object without a bitmap leaves the target as it was.
    const HBITMAP before = copy.GetHandle();
    ClsBitMap empty;
    copy = empty;
    EXPECT_EQ(copy.GetHandle(), before);
    ClsBitMap fromEmpty(empty);
    EXPECT_FALSE(fromEmpty.GetIsValid());
    copy = copy;
    EXPECT_EQ(copy.GetHandle(), before);
}

TEST(BitmapCapture, GetFromDCCopiesABitmapSizedAreaAlsoWhileLocked) {
    Canvas source(10, 10);
    PaintPattern(source);
    ClsBitMap bitmap;
    ASSERT_TRUE(bitmap.AllocateBitMap(4, 4, pf32bit));
    ASSERT_TRUE(bitmap.GetFromDC(source.Hdc(), 2, 5));
    Canvas check(4, 4);
    bitmap.Draw(check.Hdc(), 0, 0);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x) EXPECT_EQ(check.Pixel(x, y), Pattern(x + 2, y + 5));

    CDC* locked = bitmap.Lock();
    ASSERT_NE(locked, nullptr);
    ASSERT_TRUE(bitmap.GetFromDC(source.Hdc(), 0, 0));
    EXPECT_EQ(::GetPixel(*locked, 3, 3), Pattern(3, 3)) << "captured into the locked context";
    bitmap.Unlock();
    EXPECT_FALSE(ClsBitMap().GetFromDC(source.Hdc(), 0, 0));
}

TEST(BitmapLock, OneContextPerLockOnAThreadAndOtherThreadsWait) {
    ClsBitMap bitmap;
    EXPECT_EQ(bitmap.Lock(), nullptr) << "no bitmap, no context";
    bitmap.Unlock();
    ASSERT_TRUE(bitmap.AllocateBitMap(8, 8, pf32bit));
    CDC* first = bitmap.Lock();
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(bitmap.Lock(), first) << "a second Lock on the same thread keeps the context";
    EXPECT_EQ(::GetCurrentObject(*first, OBJ_BITMAP), bitmap.GetHandle());
    first->FillSolidRect(0, 0, 8, 8, kBlue);

    // Another thread: its Unlock leaves our lock alone, its Lock waits.
    HANDLE started = ::CreateEventA(nullptr, TRUE, FALSE, nullptr);
    HANDLE locked = ::CreateEventA(nullptr, TRUE, FALSE, nullptr);
    COLORREF seen = 0;
    std::thread other([&] {
        bitmap.Unlock();
        ::SetEvent(started);
        CDC* dc = bitmap.Lock();
        seen = dc ? ::GetPixel(*dc, 1, 1) : CLR_INVALID;
        ::SetEvent(locked);
        bitmap.Unlock();
    });
    ASSERT_EQ(::WaitForSingleObject(started, 10000), WAIT_OBJECT_0);
    EXPECT_EQ(::GetCurrentObject(*first, OBJ_BITMAP), bitmap.GetHandle()) << "our lock survived";
    EXPECT_EQ(::WaitForSingleObject(locked, 200), static_cast<DWORD>(WAIT_TIMEOUT))
        << "the other thread must wait while we hold the bitmap";
    first->FillSolidRect(0, 0, 8, 8, kRed);
    bitmap.Unlock();
    EXPECT_EQ(::WaitForSingleObject(locked, 10000), WAIT_OBJECT_0);
    other.join();
    EXPECT_EQ(seen, kRed) << "the other thread saw what we drew before unlocking";
    ::CloseHandle(started);
    ::CloseHandle(locked);

    // A scoped lock leaves a lock the thread held before in place...
    CDC* held = bitmap.Lock();
    { ClsBitMap::ScopedLock scope(bitmap); }
    EXPECT_EQ(::GetCurrentObject(*held, OBJ_BITMAP), bitmap.GetHandle());
    bitmap.Unlock();
    // ...and ends its own: another thread can lock at once afterwards.
    {
        ClsBitMap::ScopedLock scope(bitmap);
        Canvas target(8, 8);
        bitmap.Draw(target.Hdc(), 0, 0);
        EXPECT_EQ(target.Pixel(0, 0), kRed) << "drawing from the scope's context";
    }
    bool lockedElsewhere = false;
    std::thread([&] {
        lockedElsewhere = bitmap.Lock() != nullptr;
        bitmap.Unlock();
    }).join();
    EXPECT_TRUE(lockedElsewhere);

    // Dropping the bitmap ends our own lock.
    ASSERT_NE(bitmap.Lock(), nullptr);
    bitmap.DeleteObject();
    EXPECT_FALSE(bitmap.GetIsValid());
    EXPECT_EQ(bitmap.Lock(), nullptr);
}

TEST(BitmapFile, SavedFilesHaveTheFixedHeaderAndReadBackThroughTheSystem) {
    // 5 pixels wide: rows of 15 bytes padded to 16.
    auto image = MakeImage(5, 3, [](int x, int y) { return RGB(50 * x, 80 * y, 255 - 40 * x); });
    const std::string path = orvtest::ArtifactPath("bitmap-saved-5x3.bmp");
    ASSERT_TRUE(image->SaveToFile(path.c_str()));
    const std::vector<unsigned char> file = ReadBytes(path);
    ASSERT_EQ(file.size(), 58u + 16 * 3);
    EXPECT_EQ(file[0], 'B');
    EXPECT_EQ(file[1], 'M');
    EXPECT_EQ(LE32(file, 2), file.size());
    EXPECT_EQ(LE32(file, 6), 0u) << "two zero reserved words";
    EXPECT_EQ(LE32(file, 10), 58u);
    EXPECT_EQ(LE32(file, 14), 40u);
    EXPECT_EQ(LE32(file, 18), 5u);
    EXPECT_EQ(LE32(file, 22), 3u);
    EXPECT_EQ(file[26] | (file[27] << 8), 1);
    EXPECT_EQ(file[28] | (file[29] << 8), 24);
    EXPECT_EQ(LE32(file, 30), 0u);
    EXPECT_EQ(LE32(file, 34), 48u) << "image size counts the padded rows";
    EXPECT_EQ(LE32(file, 54), 0u) << "four zero bytes before the pixels";
    // Bottom-up: the file's first row is the image's last.
    EXPECT_EQ(file[58 + 0], 255) << "blue of (0, 2)";
    EXPECT_EQ(file[58 + 1], 160) << "green of (0, 2)";
    EXPECT_EQ(file[58 + 2], 0) << "red of (0, 2)";

    ClsBitMap loaded;
    ASSERT_TRUE(loaded.LoadFromFile(path.c_str()));
    EXPECT_EQ(loaded.GetSize(), CSize(5, 3));
    EXPECT_EQ(loaded.GetPixelFormat(), pf24bit);
    Canvas canvas(5, 3);
    loaded.Draw(canvas.Hdc(), 0, 0);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x) EXPECT_EQ(canvas.Pixel(x, y), RGB(50 * x, 80 * y, 255 - 40 * x));
}

TEST(BitmapFile, FailuresAnswerFalseAndLeaveNoBitmapBehind) {
    auto image = GradientImage();
    EXPECT_FALSE(image->SaveToFile(nullptr));
    EXPECT_FALSE(image->SaveToFile(""));
    EXPECT_FALSE(image->SaveToFile("Z:\\no\\such\\folder\\x.bmp"));
    EXPECT_FALSE(ClsBitMap().SaveToFile(orvtest::ArtifactPath("never.bmp").c_str()));

    ClsBitMap bitmap;
    ASSERT_TRUE(bitmap.AllocateBitMap(3, 3, pf32bit));
    EXPECT_FALSE(bitmap.LoadFromFile("Z:\\no\\such\\file.bmp"));
    EXPECT_FALSE(bitmap.GetIsValid()) << "loading drops the bitmap first";
    const std::string notBitmap = orvtest::ArtifactPath("not-a-bitmap.bmp");
    std::ofstream(notBitmap, std::ios::binary) << "BM but not really a bitmap";
    EXPECT_FALSE(bitmap.LoadFromFile(notBitmap.c_str()));
    EXPECT_FALSE(bitmap.LoadFromFile(nullptr));
    EXPECT_FALSE(bitmap.LoadBitmapA("NO_SUCH_BITMAP"));
    EXPECT_FALSE(bitmap.LoadBitmapA(nullptr));
}

TEST(BitmapFile, ResourcesLoadByNumberOrNameFromTheModuleThatHoldsThem) {
    // TestSprite.bmp: 6 x 4, magenta where (x + y) % 4 == 0, else
    // RGB(40x, 60y, 200).
    const auto spritePixel = [](int x, int y) { return (x + y) % 4 == 0 ? kMagenta : RGB(40 * x, 60 * y, 200); };
    for (const char* resource : {static_cast<const char*>(MAKEINTRESOURCEA(101)), "TESTSPRITE"}) {
        ClsBitMap bitmap;
        ASSERT_TRUE(bitmap.LoadBitmapA(resource));
        EXPECT_EQ(bitmap.GetSize(), CSize(6, 4));
        Canvas canvas(6, 4);
        bitmap.Draw(canvas.Hdc(), 0, 0);
        for (int y = 0; y < 4; ++y)
            for (int x = 0; x < 6; ++x) EXPECT_EQ(canvas.Pixel(x, y), spritePixel(x, y));
        ExpectShapeFollowsMagenta(bitmap.CreateRgn(), 6, 4,
                                  [&](int x, int y) { return spritePixel(x, y) == kMagenta; });
    }
}

TEST(BitmapResources, RepeatedDrawingShapingAndCopyingLeaveNoGdiObjectBehind) {
    auto sprite = MakeImage(12, 10, Sprite);
    ClsBitMap sprite24;
    ASSERT_TRUE(sprite24.AllocateBitMap(12, 10, pf24bit));
    Canvas canvas(40, 40);
    const RECT doubled{0, 0, 24, 20};
    const auto once = [&] {
        sprite->DrawTransparent(&canvas.DC(), &doubled, nullptr);
        sprite24.DrawTransparent(&canvas.DC(), nullptr, nullptr, kMagenta, 100);
        sprite->DrawDIB(&canvas.DC(), &doubled, nullptr, true);
        CRgn shape = sprite->CreateRgn();
        ClsBitMap copy = *sprite;
        copy.Draw(canvas.Hdc(), 10, 10);
        ClsFont font;
        font.GetHandle();
    };
    once();
    const int before = CountGdiObjects();
    for (int i = 0; i < 1000; ++i) once();
    EXPECT_EQ(CountGdiObjects(), before);
}

TEST(BitmapPalette, ColourTablesAndPalettesOfPaletteBitmaps) {
    std::vector<BYTE> indices(4, 0);
    auto palette = PaletteImage(2, 2, indices);
    RGBQUAD entries[8] = {};
    // The system may report the whole table of the depth; the four set come first.
    ASSERT_GE(palette->GetColorTable(entries, 8), 4);
    EXPECT_EQ(entries[0].rgbRed, 255);
    EXPECT_EQ(entries[0].rgbBlue, 0);
    EXPECT_EQ(entries[1].rgbRed, 255);
    EXPECT_EQ(entries[1].rgbGreen, 0);
    EXPECT_EQ(entries[1].rgbBlue, 255);
    EXPECT_EQ(palette->GetColorTable(entries, 2), 2);
    EXPECT_EQ(palette->GetColorTable(nullptr, 2), 0);
    EXPECT_GE(palette->GetPalette()->GetEntryCount(), 4);
    CPalette built;
    EXPECT_TRUE(palette->CreatePalette(&built));
    EXPECT_EQ(built.GetEntryCount(), palette->GetPalette()->GetEntryCount());
    PALETTEENTRY magenta{};
    ASSERT_EQ(built.GetPaletteEntries(1, 1, &magenta), 1u);
    EXPECT_EQ(RGB(magenta.peRed, magenta.peGreen, magenta.peBlue), kMagenta);

    auto trueColour = GradientImage();
    EXPECT_EQ(trueColour->GetColorTable(entries, 8), 0);
    EXPECT_FALSE(trueColour->CreatePalette(&built));
    EXPECT_EQ(ClsBitMap::DoRealizePalette(trueColour.get(), ::GetDesktopWindow(), true), 0u);
    EXPECT_EQ(ClsBitMap::DoRealizePalette(nullptr, nullptr, false), 0u);
}
