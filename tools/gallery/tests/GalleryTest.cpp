// OrvGallery.exe started as the member would start it, once per shipped
// skin: the window shows, a few controls show their skin's records on the
// screen, the Skin menu's command switches skins, and a picture of each skin
// is saved as gallery-<skin>.bmp.
#include "ChildProcess.h"
#include "BitmapFile.h"
#include "ClsBitMap.h"
#include "OrvSkinReader.h"
#include "TestSupport.h"

#include "../GalleryResources.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cstdio>
#include <memory>
#include <string>

namespace {

constexpr const char* kWindowClass = "OrvGalleryWindow";
constexpr int kListId = 1001, kSplitterId = 1002, kNormalButtonId = 1010;

std::string Describe(COLORREF color) {
    char text[32];
    std::snprintf(text, sizeof text, "RGB(%d, %d, %d)", GetRValue(color), GetGValue(color), GetBValue(color));
    return text;
}

COLORREF ImagePixel(const ClsBitMap& image, int x, int y) {
    ClsBitMap& bitmap = const_cast<ClsBitMap&>(image);
    CDC* dc = bitmap.Lock();
    const COLORREF color = dc ? ::GetPixel(dc->GetSafeHdc(), x, y) : CLR_INVALID;
    bitmap.Unlock();
    return color;
}

COLORREF ScreenPixel(POINT at) {
    HDC screen = ::GetDC(nullptr);
    const COLORREF color = ::GetPixel(screen, at.x, at.y);
    ::ReleaseDC(nullptr, screen);
    return color;
}

bool SaveScreen(const RECT& rect, const std::string& name) {
    const int width = rect.right - rect.left, height = rect.bottom - rect.top;
    HDC screen = ::GetDC(nullptr);
    HDC memory = ::CreateCompatibleDC(screen);
    HBITMAP shot = ::CreateCompatibleBitmap(screen, width, height);
    HGDIOBJ old = ::SelectObject(memory, shot);
    ::BitBlt(memory, 0, 0, width, height, screen, rect.left, rect.top, SRCCOPY);
    ::SelectObject(memory, old);
    ::DeleteDC(memory);
    ::ReleaseDC(nullptr, screen);
    const bool saved = orvtest::SaveBitmapFile(shot, orvtest::ArtifactPath(name));
    ::DeleteObject(shot);
    return saved;
}

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

    RECT rect{};
    ::GetWindowRect(window, &rect);
    std::string name = skin;
    for (char& c : name) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    EXPECT_TRUE(SaveScreen(rect, "gallery-" + name + ".bmp"));

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
