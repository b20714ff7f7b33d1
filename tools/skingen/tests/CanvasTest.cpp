// Where transparency is decided: no drawn pixel may turn magenta, and no
// antialiased edge may be blended with it.
#include "Canvas.h"

#include <gtest/gtest.h>

#include <cstdlib>

using namespace skingen;

namespace {

// A disc with a soft edge, drawn in `ink` on a transparent surface.
void disc(Canvas& c, Rgb ink) {
    cairo_arc(c.cr(), 8, 8, 5.3, 0, 2 * kPi);
    c.setColor(ink);
    cairo_fill(c.cr());
}

TEST(Canvas, KeyedEdgesBlendIntoTheUnderlayNeverIntoMagenta) {
    const Rgb ink(0, 0, 0), under(255, 255, 255);
    Canvas c(16, 16);
    disc(c, ink);
    const RgbImage out = c.flatten(Flatten::keyedOver(under));
    EXPECT_EQ(out.at(0, 0), kMagenta) << "untouched pixels are transparent";
    EXPECT_EQ(out.at(8, 8), ink);
    int edges = 0;
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) {
            const Rgb p = out.at(x, y);
            if (p == kMagenta || p == ink)
                continue;
            ++edges;
            EXPECT_TRUE(p.r == p.g && p.g == p.b) << "edge pixel " << p.iniText() << " is not grey ink over white";
        }
    EXPECT_GT(edges, 0) << "the disc has an antialiased rim";
}

TEST(Canvas, ShapesCutAtHalfCoverage) {
    Canvas c(16, 16);
    disc(c, Rgb(10, 20, 30));
    const RgbImage hard = c.flatten(Flatten::shapeOver(std::nullopt));
    // Inside the shape every pixel is the ink at full strength (give or take
    // the rounding of Cairo's premultiplied pixels), outside it is the key.
    auto near = [](Rgb a, Rgb b) { return std::abs(a.r - b.r) <= 2 && std::abs(a.g - b.g) <= 2 && std::abs(a.b - b.b) <= 2; };
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) {
            const Rgb p = hard.at(x, y);
            EXPECT_TRUE(p == kMagenta || near(p, Rgb(10, 20, 30))) << x << "," << y << " " << p.iniText();
        }
    // The rim runs through row 2 (y = 2.7) at less than half coverage.
    EXPECT_EQ(hard.at(8, 3), Rgb(10, 20, 30));
    EXPECT_EQ(hard.at(8, 2), kMagenta);
}

TEST(Canvas, OpaqueDrawingsNeverContainTheKey) {
    Canvas c(4, 1);
    c.fillRect(0, 0, 4, 1, kMagenta);  // a designer's mistake: the key colour itself
    const RgbImage out = c.flatten(Flatten::opaqueOver(Rgb()));
    for (int x = 0; x < 4; ++x)
        EXPECT_NE(out.at(x, 0), kMagenta);
}

}  // namespace
