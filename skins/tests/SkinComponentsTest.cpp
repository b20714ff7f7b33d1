// The shared records of windows and dialogs that a skin change registers in
// CSkin: one record under each of its names, its values and defaults, and
// the previous skin's records let go.
#include "ReaderTestSupport.h"

#include "CSkin.h"
#include "SkinComponents.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using skintest::ApplyIni;
using skintest::Problems;

namespace {

// The record registered under name, with one reference held for the test.
template <class T>
class Component {
public:
    explicit Component(const char* name) : m_ref(CSkin::GetInstance()->GetComponent(name)) {}
    T* Get() const { return dynamic_cast<T*>(m_ref.Get()); }
    S_STD_SKININFO* Raw() const { return m_ref.Get(); }

private:
    CSkinRecordRef<S_STD_SKININFO> m_ref;
};

const char* const kButtonNames[] = {"MainFrame\\button", "ChatDialog\\button", "dialog\\button", "msbdialog\\button"};
const char* const kCaptionNames[] = {"MainFrame\\caption", "dialog\\caption", "msbdialog\\caption"};
const char* const kFrameNames[] = {"MainFrame\\border", "dialog\\border", "msbdialog\\border"};
const char* const kBackgroundNames[] = {"dialog", "MainFrame"};

template <class T, size_t N>
T* SameRecordUnderAll(const char* const (&names)[N]) {
    Component<T> first(names[0]);
    EXPECT_NE(first.Get(), nullptr) << names[0];
    for (const char* name : names) {
        Component<T> other(name);
        EXPECT_EQ(other.Get(), first.Get()) << name;
    }
    // The registry holds one reference per name; the test held one more.
    if (first.Raw()) {
        EXPECT_EQ(first.Raw()->GetRef(), static_cast<int32_t>(N) + 1);
    }
    return first.Get();
}

class SkinComponents : public ::testing::Test {
protected:
    void SetUp() override { CSkin::GetInstance()->Reset(); }
    void TearDown() override { CSkin::GetInstance()->Reset(); }
    SkinRoot m_root;
};

}  // namespace

TEST_F(SkinComponents, EachRecordIsRegisteredUnderAllItsNames) {
    auto reader = ApplyIni(m_root, "Named", "");
    SameRecordUnderAll<ButtonSkin>(kButtonNames);
    SameRecordUnderAll<CaptionSkin>(kCaptionNames);
    SameRecordUnderAll<FrameSkin>(kFrameNames);
    SameRecordUnderAll<BackgroundSkin>(kBackgroundNames);
    EXPECT_EQ(CSkin::GetInstance()->GetCount(), 12);
    // The drag image goes with the tree: there is none here.
    EXPECT_EQ(Component<DragImageSkin>("OrvNavigateTreeControl").Get(), nullptr);
}

TEST_F(SkinComponents, MissingSectionsGiveTheDefaults) {
    auto reader = ApplyIni(m_root, "Bare", "");
    Component<ButtonSkin> button("dialog\\button");
    ASSERT_NE(button.Get(), nullptr);
    EXPECT_EQ(button.Get()->DisabledTextColor, 0x969696u);
    EXPECT_STREQ(button.Get()->Font.GetName(), "Arial");
    EXPECT_EQ(button.Get()->Font.GetHeight(), 14);
    EXPECT_EQ(button.Get()->Font.GetColor(), 0xFFFFFFu);
    EXPECT_EQ(button.Get()->Font.GetStyle(), 0u);
    EXPECT_EQ(button.Get()->Border.BgColor, 0u);
    EXPECT_EQ(button.Get()->Border.MainImage, &button.Get()->Image);
    EXPECT_FALSE(button.Get()->Image.GetIsValid());

    Component<CaptionSkin> caption("msbdialog\\caption");
    ASSERT_NE(caption.Get(), nullptr);
    const CaptionSkin& c = *caption.Get();
    EXPECT_EQ(c.Border.MainImage, nullptr);
    EXPECT_EQ(c.Border.InterationStep, 0);
    EXPECT_FALSE(c.CaptionImage.GetIsValid());
    EXPECT_FALSE(c.ButtonsImage.GetIsValid());
    EXPECT_EQ(c.ButtonWidth, 0);
    EXPECT_EQ(c.ButtonHeight, 0);
    EXPECT_EQ(c.IconX, 10);
    EXPECT_EQ(c.IconY, 0);
    EXPECT_EQ(c.ButtonsX, 7);
    EXPECT_EQ(c.ButtonsY, 0);
    EXPECT_EQ(c.TextX, 5);
    EXPECT_EQ(c.TextY, 2);
    EXPECT_EQ(c.FrameWidth, 4);
    EXPECT_EQ(c.FrameHeight, 4);
    EXPECT_STREQ(c.Font.GetName(), "Arial");

    Component<BackgroundSkin> background("MainFrame");
    ASSERT_NE(background.Get(), nullptr);
    EXPECT_EQ(background.Get()->Color, 0xC8D0D4u);
}

TEST_F(SkinComponents, ValuesComeFromTheirSections) {
    m_root.WriteBitmap("Full\\Caption.bmp", 24, 64, [](int x, int y) { return RGB(x, y, 3); });
    m_root.WriteBitmap("Full\\CaptionButtons.bmp", 176, 120, [](int x, int y) { return RGB(x, y, 4); });
    m_root.WriteBitmap("Full\\Button.bmp", 24, 144, [](int x, int y) { return RGB(x, y, 5); });
    m_root.WriteBitmap("Full\\Left.bmp", 4, 16, [](int, int) { return RGB(1, 2, 3); });
    m_root.WriteBitmap("Full\\Right.bmp", 5, 16, [](int, int) { return RGB(4, 5, 6); });
    m_root.WriteBitmap("Full\\Bottom.bmp", 20, 8, [](int, int) { return RGB(7, 8, 9); });
    auto reader = ApplyIni(m_root, "Full",
                           "[MessageButtons]\nLeftBorderWidth = 6\nContentWidth = 12\nBgColor = #FFFFFF\n"
                           "InterationStep = 24\nMainImage = Button.bmp\nFontName = \"Times New Roman\"\n"
                           "FontSize = 17\nTextColor = #112233\nTextBold = 1\nTextUnderline = 5\n"
                           "TextItalic = 0\nTextStrikeOut = \"1\"\nDisabledTextColor = #A3ADBA\n"
                           "[MessageCaptions]\nTopBorderWidth = 6\nRightBorderLength = 32\nInterationStep = 32\n"
                           "MainImage = Caption.bmp\nCaptionButtonsImage = CaptionButtons.bmp\nIconX = 12\n"
                           "IconY = 3\nButtonsX = 1\nButtonsY = 2\nFontName = Tahoma\nFontSize = 15\n"
                           "[MessageBorders]\nLeftBorderWidth = 4\nBottomBorderLength = 8\nMainImage = Bottom.bmp\n"
                           "LeftFrameImage = Left.bmp\nRightFrameImage = Right.bmp\nBottomFrameImage = Bottom.bmp\n"
                           "MessageBoxBgColor = #F4F6F9\n");

    Component<ButtonSkin> button("ChatDialog\\button");
    ASSERT_NE(button.Get(), nullptr);
    const ButtonSkin& b = *button.Get();
    EXPECT_EQ(b.Border.LeftBorderWidth, 6);
    EXPECT_EQ(b.Border.ContentWidth, 12);
    EXPECT_EQ(b.Border.BgColor, 0xFFFFFFu);
    EXPECT_EQ(b.Border.InterationStep, 24);
    EXPECT_EQ(b.Border.MainImage, &b.Image);
    EXPECT_EQ(b.Image.GetSize(), CSize(24, 144));
    EXPECT_STREQ(b.Font.GetName(), "Times New Roman");
    EXPECT_EQ(b.Font.GetHeight(), 17);
    EXPECT_EQ(b.Font.GetColor(), RGB(0x11, 0x22, 0x33));
    EXPECT_EQ(b.Font.GetStyle(), fsBold | fsUnderline);
    EXPECT_EQ(b.DisabledTextColor, RGB(0xA3, 0xAD, 0xBA));

    Component<CaptionSkin> caption("MainFrame\\caption");
    ASSERT_NE(caption.Get(), nullptr);
    const CaptionSkin& c = *caption.Get();
    EXPECT_EQ(c.Border.TopBorderWidth, 6);
    EXPECT_EQ(c.Border.RightBorderLength, 32);
    EXPECT_EQ(c.Border.InterationStep, 32);
    EXPECT_EQ(c.Border.MainImage, nullptr);
    EXPECT_EQ(c.CaptionImage.GetSize(), CSize(24, 64));
    EXPECT_EQ(c.ButtonsImage.GetSize(), CSize(176, 120));
    EXPECT_EQ(c.ButtonWidth, 44);
    EXPECT_EQ(c.ButtonHeight, 30);
    EXPECT_EQ(c.IconX, 12);
    EXPECT_EQ(c.IconY, 3);
    EXPECT_EQ(c.ButtonsX, 1);
    EXPECT_EQ(c.ButtonsY, 2);
    EXPECT_EQ(c.FrameWidth, 6);
    EXPECT_EQ(c.FrameHeight, 6);
    EXPECT_STREQ(c.Font.GetName(), "Tahoma");
    EXPECT_EQ(c.Font.GetHeight(), 15);
    EXPECT_EQ(c.Font.GetColor(), 0xFFFFFFu);

    Component<FrameSkin> frame("dialog\\border");
    ASSERT_NE(frame.Get(), nullptr);
    EXPECT_EQ(frame.Get()->Border.LeftBorderWidth, 4);
    EXPECT_EQ(frame.Get()->Border.BottomBorderLength, 8);
    EXPECT_EQ(frame.Get()->Border.MainImage, nullptr);
    EXPECT_EQ(frame.Get()->LeftFrameImage.GetSize(), CSize(4, 16));
    EXPECT_EQ(frame.Get()->RightFrameImage.GetSize(), CSize(5, 16));
    EXPECT_EQ(frame.Get()->BottomFrameImage.GetSize(), CSize(20, 8));

    Component<BackgroundSkin> background("dialog");
    ASSERT_NE(background.Get(), nullptr);
    EXPECT_EQ(background.Get()->Color, RGB(0xF4, 0xF6, 0xF9));
    EXPECT_TRUE(skintest::HasProblem(*reader, "MessageButtons", "TextStrikeOut")) << Problems(*reader);
}

TEST_F(SkinComponents, TheNextChangeLetsThePreviousRecordsGo) {
    m_root.WriteIni("Next", "[Main]\nSkinName = Next\n[MessageBorders]\nMessageBoxBgColor = #010203\n");
    auto reader = ApplyIni(m_root, "First", "");
    Component<BackgroundSkin> before("dialog");
    ASSERT_NE(before.Get(), nullptr);
    EXPECT_EQ(before.Raw()->GetRef(), 3);

    reader->SetSkinByDirectory("Next\\");
    // Only the test's reference keeps the old record alive now.
    EXPECT_EQ(before.Raw()->GetRef(), 1);
    Component<BackgroundSkin> after("MainFrame");
    ASSERT_NE(after.Get(), nullptr);
    EXPECT_NE(after.Get(), before.Get());
    EXPECT_EQ(after.Get()->Color, RGB(1, 2, 3));
    EXPECT_EQ(CSkin::GetInstance()->GetCount(), 12);
}
