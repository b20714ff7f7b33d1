// OrvGallery.exe started as the member would start it, once per shipped
// skin: the window shows, a few controls show their skin's records on the
// screen, the Skin menu's command switches skins, and a picture of each skin
// is saved as gallery-<skin>.bmp.
#include "ChildProcess.h"
#include "BitmapFile.h"
#include "ButtonSkinInfo.h"
#include "ClsBitMap.h"
#include "ControlsTestSupport.h"
#include "OrvSkinReader.h"
#include "TestSupport.h"

#include "../GalleryResources.h"

#include <gtest/gtest.h>

#include <cctype>
#include <memory>
#include <string>

namespace {

constexpr const char* kWindowClass = "OrvGalleryWindow";
constexpr int kListId = 1001, kSplitterId = 1002, kNormalButtonId = 1010;

using ctltest::ImagePixel;
using orvtest::Describe;
using orvtest::SaveScreen;
using orvtest::ScreenPixel;

// The records the gallery draws from, read here the same way.
struct Records {
    explicit Records(const char* skin) {
        reader = std::make_unique<OrvSkinReader>((orvtest::ThisProgramFolder() + "Skins").c_str(), nullptr);
        reader->SetSkinByDirectory((std::string(skin) + "\\").c_str());
    }
    std::unique_ptr<OrvSkinReader> reader;
};

// Where the first column's header shows the ListHeaders content cell, and
// the colour it must have there.
struct Probe {
    POINT at;
    COLORREF expected;
};

Probe HeaderProbe(HWND list, const SkinBorderInfo_t& record) {
    HWND header = reinterpret_cast<HWND>(::SendMessageA(list, 0x101F /* LVM_GETHEADER */, 0, 0));
    RECT rect{};
    ::GetWindowRect(header, &rect);
    return Probe{POINT{rect.left + record.LeftBorderWidth + 2, rect.top + record.TopBorderWidth},
                 ImagePixel(*record.MainImage, record.ContentX + 2, record.ContentY)};
}

Probe SplitterProbe(HWND bar, const ControlBorderInfo_t& frame) {
    RECT rect{};
    ::GetWindowRect(bar, &rect);
    return Probe{POINT{rect.left, rect.top + 80}, ImagePixel(*frame.MainImage, frame.LeftBorderX, frame.LeftBorderY)};
}

bool ShowsOnScreen(const Probe& probe) {
    return orvtest::WaitUntil([&] { return ScreenPixel(probe.at) == probe.expected; }, 20000);
}

class Gallery : public ::testing::TestWithParam<const char*> {};

}  // namespace

TEST_P(Gallery, ItShowsEveryControlInTheChosenSkin) {
    const std::string skin = GetParam();
    Records records(skin.c_str());
    ASSERT_NE(records.reader->GetCurrentSkin(), nullptr);
    orvtest::ChildProcess gallery;
    ASSERT_TRUE(gallery.Start("\"" + orvtest::ThisProgramFolder() + "OrvGallery.exe\" --skin " + skin));
    HWND window = gallery.WaitForWindow(kWindowClass, nullptr);
    ASSERT_NE(window, nullptr);
    HWND list = nullptr, bar = nullptr;
    ASSERT_TRUE(orvtest::WaitUntil([&] {
        list = ::GetDlgItem(window, kListId);
        bar = ::GetDlgItem(window, kSplitterId);
        return list && bar && ::IsWindowVisible(window);
    }));
    EXPECT_NE(::GetDlgItem(window, kNormalButtonId), nullptr);

    const SkinBorderInfo_t* headers = records.reader->GetSkinBorderInfo(srListHeaders);
    const ControlBorderInfo_t* splitter = records.reader->GetControlBorderInfo(crVerticalSplitter);
    ASSERT_TRUE(headers && headers->MainImage && headers->MainImage->GetIsValid());
    ASSERT_TRUE(splitter && splitter->MainImage && splitter->MainImage->GetIsValid());
    const Probe header = HeaderProbe(list, *headers);
    EXPECT_TRUE(ShowsOnScreen(header)) << Describe(ScreenPixel(header.at)) << " " << Describe(header.expected);
    const Probe bars = SplitterProbe(bar, *splitter);
    EXPECT_TRUE(ShowsOnScreen(bars)) << Describe(ScreenPixel(bars.at)) << " " << Describe(bars.expected);

    // The live button shows band 0 of the image the reader forms for it.
    ButtonSkinInfo_t normal;
    normal.Width = 70;
    normal.Height = 24;
    ASSERT_TRUE(OrvSkinReader::FormButtonImage(&normal, records.reader->GetSkinBorderInfo(srButtons), "Normal"));
    RECT button{};
    ::GetWindowRect(::GetDlgItem(window, kNormalButtonId), &button);
    const Probe face{POINT{button.left + 6, button.top + 12}, ImagePixel(normal.Image, 6, 12)};
    EXPECT_TRUE(ShowsOnScreen(face)) << Describe(ScreenPixel(face.at)) << " " << Describe(face.expected);

    RECT rect{};
    ::GetWindowRect(window, &rect);
    std::string name = skin;
    for (char& c : name) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    EXPECT_TRUE(SaveScreen(rect, "gallery-" + name + ".bmp"));

    // The message box of the File menu, owned by the gallery and skinned.
    ::PostMessageA(window, WM_COMMAND, ID_GALLERY_MESSAGE_BOX, 0);
    HWND box = gallery.WaitForWindow("#32770", "Orvane gallery", 20000);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(::GetWindow(box, GW_OWNER), window);
    ASSERT_TRUE(orvtest::WaitUntil([&] { return ::IsWindowVisible(box) != FALSE; }, 20000));
    // Painted now: the box's thread answers the paint messages before this
    // returns.
    ::RedrawWindow(box, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    RECT boxRect{};
    ::GetWindowRect(box, &boxRect);
    EXPECT_TRUE(SaveScreen(boxRect, "gallery-messagebox-" + name + ".bmp"));
    ::PostMessageA(box, WM_COMMAND, IDOK, 0);
    EXPECT_TRUE(orvtest::WaitUntil([&] { return !::IsWindow(box); }, 20000));

    ::PostMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_TRUE(gallery.WaitForExit(30000));
    EXPECT_EQ(gallery.ExitCode(), 0u);
}

TEST(GallerySkinMenu, TheSkinMenuSwitchesTheWholeWindow) {
    Records graphite("Graphite");
    orvtest::ChildProcess gallery;
    ASSERT_TRUE(gallery.Start("\"" + orvtest::ThisProgramFolder() + "OrvGallery.exe\" --skin Daylight"));
    HWND window = gallery.WaitForWindow(kWindowClass, nullptr);
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(orvtest::WaitUntil([&] { return ::GetDlgItem(window, kListId) != nullptr; }));
    ::PostMessageA(window, WM_COMMAND, ID_GALLERY_SKIN_GRAPHITE, 0);
    const SkinBorderInfo_t* headers = graphite.reader->GetSkinBorderInfo(srListHeaders);
    // The controls are made again: look for the new list each time.
    EXPECT_TRUE(orvtest::WaitUntil(
        [&] {
            HWND list = ::GetDlgItem(window, kListId);
            return list && ScreenPixel(HeaderProbe(list, *headers).at) == HeaderProbe(list, *headers).expected;
        },
        20000));
    ::PostMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_TRUE(gallery.WaitForExit(30000));
}

INSTANTIATE_TEST_SUITE_P(ShippedSkins, Gallery, ::testing::Values("Daylight", "Graphite"));
