// The picture under the pointer while a contact is dragged, composed from
// each shipped skin's drag image: its size rule, the magenta key around the
// blue band, the image at the left and the name in white; a long name is
// cut at the maximum width; no skin image, no picture.
#include "COrvDragImage.h"
#include "CSkin.h"
#include "ChildProcess.h"
#include "ClsFont.h"
#include "SkinComponents.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>

namespace {
COLORREF PixelOf(ClsBitMap& bitmap, int x, int y) {
    ClsBitMap::ScopedLock locked(bitmap);
    CDC* dc = bitmap.Lock();
    return dc ? ::GetPixel(dc->GetSafeHdc(), x, y) : CLR_INVALID;
}

std::string SkinFile(const char* skin, const char* file) {
    return orvtest::ThisProgramFolder() + "Skins\\" + skin + "\\" + file;
}

SIZE TextSize(HFONT font, const char* text) {
    HDC dc = ::CreateCompatibleDC(nullptr);
    HGDIOBJ old = ::SelectObject(dc, font);
    SIZE size{};
    ::GetTextExtentPoint32A(dc, text, static_cast<int>(std::strlen(text)), &size);
    ::SelectObject(dc, old);
    ::DeleteDC(dc);
    return size;
}

class DragImageTest : public ::testing::TestWithParam<const char*> {};
}  // namespace

TEST_P(DragImageTest, TheNameSitsInWhiteOnTheBlueBandBesideTheSkinImage) {
    ClsBitMap image;
    ASSERT_TRUE(image.LoadFromFile(SkinFile(GetParam(), "DragContact.bmp").c_str())) << GetParam();
    ClsFont font;
    font.SetName("Arial");
    font.SetHeight(14);
    const char* name = "Ada Lovelace";
    ClsBitMap picture;
    ASSERT_TRUE(COrvDragImage::Compose(name, font.GetHandle(), image, picture));
    picture.SaveToFile(orvtest::ArtifactPath(std::string("drag-image-") + GetParam() + ".bmp").c_str());

    const SIZE text = TextSize(font.GetHandle(), name);
    const int width = std::min<int>(text.cx + image.GetWidth() + COrvDragImage::kPadding, COrvDragImage::kMaxWidth);
    const int height = std::max<int>(text.cy, image.GetHeight());
    ASSERT_EQ(picture.GetWidth(), width);
    ASSERT_EQ(picture.GetHeight(), height);

    const int bandHeight = std::min<int>(text.cy + 4, height);
    const int bandTop = (height - bandHeight) / 2;
    const int right = width - 1;
    EXPECT_EQ(PixelOf(picture, right, bandTop + bandHeight / 2), COrvDragImage::kBandColor) << "band, right end";
    if (bandTop > 0) {
        EXPECT_EQ(PixelOf(picture, right, bandTop - 1), COrvDragImage::kTransparent) << "above";
    }
    if (bandTop + bandHeight < height) {
        EXPECT_EQ(PixelOf(picture, right, bandTop + bandHeight), COrvDragImage::kTransparent) << "below";
    }

    // The skin image lies at the left, centred vertically, unchanged.
    const int imageTop = (height - image.GetHeight()) / 2;
    int differing = 0;
    for (int y = 0; y < image.GetHeight(); ++y)
        for (int x = 0; x < image.GetWidth(); ++x)
            if (PixelOf(picture, x, imageTop + y) != PixelOf(image, x, y)) ++differing;
    EXPECT_EQ(differing, 0);

    // The name: white pixels right of the image, inside the band.
    int white = 0;
    for (int y = 0; y < height; ++y)
        for (int x = image.GetWidth(); x < width; ++x)
            if (PixelOf(picture, x, y) == RGB(255, 255, 255)) {
                ++white;
                EXPECT_GE(y, bandTop);
                EXPECT_LT(y, bandTop + bandHeight);
            }
    EXPECT_GT(white, 20) << "the name is written";
}

TEST_P(DragImageTest, ALongNameIsCutAtTheMaximumWidth) {
    ClsBitMap image;
    ASSERT_TRUE(image.LoadFromFile(SkinFile(GetParam(), "DragContact.bmp").c_str()));
    ClsFont font;
    font.SetName("Arial");
    font.SetHeight(14);
    ClsBitMap picture;
    ASSERT_TRUE(COrvDragImage::Compose("Maximiliana Theodora Wilhelmina von Hohenzollern-Sigmaringen", font.GetHandle(),
                                       image, picture));
    picture.SaveToFile(orvtest::ArtifactPath(std::string("drag-image-long-") + GetParam() + ".bmp").c_str());
    EXPECT_EQ(picture.GetWidth(), COrvDragImage::kMaxWidth);
    // The ellipsis ends before the right edge: the band shows there.
    EXPECT_EQ(PixelOf(picture, picture.GetWidth() - 1, picture.GetHeight() / 2), COrvDragImage::kBandColor);
}

INSTANTIATE_TEST_SUITE_P(ShippedSkins, DragImageTest, ::testing::Values("Daylight", "Graphite"));

TEST(DragImage, ComesFromTheSkinComponentAndNeedsIt) {
    ClsFont font;
    ClsBitMap picture;
    CSkin::GetInstance()->DeleteComponent(COrvDragImage::kComponentName);
    EXPECT_FALSE(COrvDragImage::Compose("Ada", font.GetHandle(), picture)) << "no skin image, no picture";
    EXPECT_FALSE(picture.GetIsValid());

    auto* skin = new DragImageSkin;
    ASSERT_TRUE(skin->Image.LoadFromFile(SkinFile("Daylight", "DragContact.bmp").c_str()));
    CSkin::GetInstance()->AddComponent(COrvDragImage::kComponentName, skin);
    EXPECT_TRUE(COrvDragImage::Compose("Ada", font.GetHandle(), picture));
    EXPECT_EQ(picture.GetHeight(), std::max<int>(skin->Image.GetHeight(), TextSize(font.GetHandle(), "Ada").cy));
    CSkin::GetInstance()->DeleteComponent(COrvDragImage::kComponentName);

    ClsBitMap empty;
    EXPECT_FALSE(COrvDragImage::Compose("Ada", font.GetHandle(), empty, picture)) << "an image that did not load";
    EXPECT_FALSE(COrvDragImage::AttachToData(nullptr, picture));
}
