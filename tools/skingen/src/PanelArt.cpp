#include "Glyphs.h"
#include "NineSlice.h"
#include "SkinArt.h"

#include <string>

namespace skingen {
namespace {

using namespace geometry;

struct Place { int x, y, w, h; };

void placeKeys(IniDocument& ini, const std::string& prefix, Place p) {
    ini.number(prefix + "X", p.x);
    ini.number(prefix + "Y", p.y);
    ini.number(prefix + "Width", p.w);
    ini.number(prefix + "Height", p.h);
}

// A plain chrome tile for panels whose frame is their background only.
void panelTile(SkinOutput& out) { out.addBitmap("Panel.bmp", RgbImage(8, 8, out.theme().chrome)); }

void paneHeader(SkinOutput& out, const char* section) {
    const Theme& t = out.theme();
    out.ini().section(section);
    NineSlice::of(0, 0, 16, kPaneHeaderHeight, 4, 4, 0, 0).write(out.ini());
    out.frameRecordTail(t.chrome, 0, "PaneHeader.bmp");
    out.fontKeys(kSmallFontSize, t.textMuted, true);
}

void searchPanel(SkinOutput& out) {
    const Theme& t = out.theme();
    IniDocument& ini = out.ini();
    ini.section("OrvSearchCtrl");
    NineSlice::of(0, 0, 8, 8, 0, 0, 0, 0).write(ini);
    out.frameRecordTail(t.chrome, 0, "Panel.bmp");
    ini.number("Width", kSearchWidth);
    ini.number("Height", kSearchHeight);
    ini.number("HeaderWidth", kPaneHeaderHeight);
    // Below the header: 34 px of room for one row of edit and button.
    placeKeys(ini, "EditSearch", {8, 4, 120, 24});
    placeKeys(ini, "BtnSearch", {132, 4, 56, 24});
}

void pathPanel(SkinOutput& out) {
    const Theme& t = out.theme();
    RgbImage image(9, 9, t.chrome);
    for (int i = 0; i < 9; ++i) {
        image.set(i, 0, t.hairline);
        image.set(8, i, t.hairline);
    }
    out.addBitmap("PathPanel.bmp", image);

    IniDocument& ini = out.ini();
    ini.section("OrvPathFinderCtrl");
    NineSlice::of(0, 0, 9, 9, 0, 1, 1, 0).write(ini);
    out.frameRecordTail(t.chrome, 0, "PathPanel.bmp");
    ini.number("Width", kPathWidth);
    ini.number("Height", kPathHeight);
    ini.number("HeaderWidth", kPaneHeaderHeight);
    // Below the header and inside the hairlines: 299 x 105 px.
    placeKeys(ini, "LabelSource", {8, 12, 86, 16});
    ini.flag("LabelSourceWWrap", false);
    placeKeys(ini, "EditSource", {98, 8, 193, 24});
    placeKeys(ini, "LabelDestination", {8, 44, 86, 16});
    ini.flag("LabelDestinationWWrap", false);
    placeKeys(ini, "EditDestination", {98, 40, 193, 24});
    placeKeys(ini, "LabelLink", {98, 76, 120, 16});
    placeKeys(ini, "BtnSearch", {227, 72, 64, 24});
}

struct ToolButton {
    const char* section;
    const char* placeKey;
    const char* file;
    Glyph glyph;
    int x;
};

// Back, forward and home; the two path ends; chat; personal information.
const ToolButton kToolButtons[] = {
    {"ToolBtnNavBack", "BtnNavBack", "ToolBack.bmp", Glyph::Back, 8},
    {"ToolBtnNavForward", "BtnNavForward", "ToolForward.bmp", Glyph::Forward, 60},
    {"ToolBtnNavHome", "BtnNavHome", "ToolHome.bmp", Glyph::Home, 112},
    {"ToolBtnAddSource", "BtnAddSource", "ToolAddSource.bmp", Glyph::AddSource, 180},
    {"ToolBtnAddDestination", "BtnAddDestination", "ToolAddDestination.bmp", Glyph::AddDestination, 232},
    {"ToolBtnChat", "BtnChat", "ToolChat.bmp", Glyph::Chat, 300},
    {"ToolBtnEditPersonalInfo", "BtnEditPersonalInfo", "ToolEditPersonalInfo.bmp", Glyph::EditPersonalInfo, 368},
};

// One toolbar button, four bands: normal, hovered, pressed, disabled. The
// four corner cells together are the whole button, so it is formed 1:1.
RgbImage toolButtonBands(const Theme& t, Glyph glyph) {
    const int s = kToolButton, glyphSize = 24;
    Canvas canvas(s, 4 * s);
    canvas.fillRect(0, 0, s, 4 * s, t.chrome);
    for (int band = 0; band < 4; ++band) {
        const double y0 = band * s;
        Rgb surface = t.chrome, ink = t.text;
        if (band == 1 || band == 2) {
            surface = band == 1 ? t.accentSoft : t.accentSoftStrong;
            ink = t.accentText;
            canvas.fillRounded(2, y0 + 2, s - 4, s - 4, kRadius + 2, surface);
        } else if (band == 3) {
            ink = t.textDisabled;
        }
        const double nudge = band == 2 ? 1.0 : 0.0;
        const double at = (s - glyphSize) / 2.0 + nudge;
        drawGlyph(canvas, glyph, at, y0 + at, glyphSize, {ink, surface, 2.0});
    }
    return canvas.flatten(Flatten::opaqueOver(t.chrome));
}

void toolbar(SkinOutput& out) {
    const Theme& t = out.theme();
    IniDocument& ini = out.ini();
    ini.section("OrvToolBarCtrl");
    NineSlice::of(0, 0, 8, 8, 0, 0, 0, 0).write(ini);
    out.frameRecordTail(t.chrome, 0, "Panel.bmp");
    const int top = (kSearchHeight - kToolButton) / 2;
    for (const ToolButton& b : kToolButtons)
        placeKeys(ini, b.placeKey, {b.x, top, kToolButton, kToolButton});

    const int half = kToolButton / 2;
    for (const ToolButton& b : kToolButtons) {
        out.addBitmap(b.file, toolButtonBands(t, b.glyph));
        ini.section(b.section);
        NineSlice::of(0, 0, kToolButton, kToolButton, half, half, half, half).write(ini);
        out.imageRecordTail(t.chrome, t.text, t.textDisabled, kFontSize, kToolButton, b.file);
    }
}

// Greeting panel with the busy clock: twelve frames, one turn of the minute hand.
void messagePanel(SkinOutput& out) {
    const Theme& t = out.theme();
    RgbImage image(9, 8, t.chrome);
    for (int y = 0; y < 8; ++y)
        image.set(0, y, t.hairline);
    out.addBitmap("MessagePanel.bmp", image);

    Canvas clock(kClockSize, kClockSize * kClockFrames);
    for (int frame = 0; frame < kClockFrames; ++frame)
        drawClock(clock, 0, frame * kClockSize, kClockSize, t.border, t.accent, double(frame) / kClockFrames);
    out.addBitmap("Clock.bmp", clock.flatten(Flatten::keyedOver(t.chrome)));

    IniDocument& ini = out.ini();
    ini.section("MessagePanel");
    NineSlice::of(0, 0, 9, 8, 1, 0, 0, 0).write(ini);
    out.frameRecordTail(t.chrome, 0, "MessagePanel.bmp");
    ini.text("ClockImage", "Clock.bmp");
    ini.number("ClockSteps", kClockFrames);
    out.fontKeys(kGreetingFontSize, t.text, false);
}

}  // namespace

void addPanelArt(SkinOutput& out) {
    panelTile(out);
    out.addBitmap("PaneHeader.bmp", RgbImage(16, kPaneHeaderHeight, out.theme().chrome));
    toolbar(out);
    messagePanel(out);
    paneHeader(out, "OrvSearchCtrlHeader");
    paneHeader(out, "OrvPathFinderCtrlHeader");
    searchPanel(out);
    pathPanel(out);
}

}  // namespace skingen
