#include "BmpFile.h"

#include <gtest/gtest.h>

using namespace skingen;

namespace {

RgbImage pattern(int w, int h) {
    RgbImage image(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            image.set(x, y, Rgb(uint8_t(x * 37 + y), uint8_t(y * 11), uint8_t(x ^ y)));
    return image;
}

TEST(BmpFile, RoundTripsEveryRowPadding) {
    for (int w : {1, 2, 3, 4, 5, 17}) {
        const RgbImage image = pattern(w, 3);
        const std::vector<uint8_t> bytes = encodeBmp(image);
        const size_t stride = (size_t(w) * 3 + 3) / 4 * 4;
        EXPECT_EQ(bytes.size(), 54 + stride * 3) << w;
        auto back = decodeBmp(bytes);
        ASSERT_TRUE(back) << w;
        ASSERT_EQ(back->width(), w);
        EXPECT_TRUE(back->sameRegion(0, 0, w, 3, image, 0, 0)) << w;
    }
}

TEST(BmpFile, WritesTheBottomRowFirst) {
    RgbImage image(1, 2);
    image.set(0, 0, Rgb(1, 2, 3));  // top
    image.set(0, 1, Rgb(4, 5, 6));  // bottom
    const std::vector<uint8_t> bytes = encodeBmp(image);
    EXPECT_EQ(bytes[54], 6);  // blue, green, red of the bottom row
    EXPECT_EQ(bytes[55], 5);
    EXPECT_EQ(bytes[56], 4);
}

TEST(BmpFile, ReadsTopDownFiles) {
    RgbImage image = pattern(3, 4);
    std::vector<uint8_t> bytes = encodeBmp(image);
    // Negative height: the same rows, read from the top.
    const int32_t negative = -4;
    for (int i = 0; i < 4; ++i)
        bytes[22 + size_t(i)] = uint8_t(uint32_t(negative) >> (8 * i));
    auto back = decodeBmp(bytes);
    ASSERT_TRUE(back);
    EXPECT_EQ(back->at(0, 0), image.at(0, 3));
}

TEST(BmpFile, RejectsBrokenFilesWithoutReadingPastThem) {
    const std::vector<uint8_t> good = encodeBmp(pattern(5, 5));
    auto broken = [&](size_t at, uint8_t value) {
        std::vector<uint8_t> b = good;
        b[at] = value;
        return b;
    };
    EXPECT_FALSE(decodeBmp({}));
    EXPECT_FALSE(decodeBmp(std::vector<uint8_t>(good.begin(), good.begin() + 53)));
    EXPECT_FALSE(decodeBmp(std::vector<uint8_t>(good.begin(), good.end() - 1))) << "short pixel data";
    EXPECT_FALSE(decodeBmp(broken(0, 'X'))) << "signature";
    EXPECT_FALSE(decodeBmp(broken(28, 32))) << "32 bits";
    EXPECT_FALSE(decodeBmp(broken(30, 1))) << "compressed";
    EXPECT_FALSE(decodeBmp(broken(21, 0x7F))) << "huge width";
    EXPECT_FALSE(decodeBmp(broken(13, 0x40))) << "pixels past the end";
    EXPECT_FALSE(decodeBmp(broken(10, 0))) << "pixels inside the headers";
    std::vector<uint8_t> zeroWidth = good;
    for (int i = 18; i < 22; ++i)
        zeroWidth[size_t(i)] = 0;
    EXPECT_FALSE(decodeBmp(zeroWidth));
    EXPECT_FALSE(readBmpFile("/nonexistent/skin.bmp"));
}

}  // namespace
