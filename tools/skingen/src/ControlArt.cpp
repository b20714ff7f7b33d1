#include "Glyphs.h"
#include "NineSlice.h"
#include "SkinArt.h"

namespace skingen {
namespace {

using namespace geometry;

// The accent push button of the search and path panels: normal, hovered,
// pressed, disabled. Its corners blend into the panel it stands on.
void pushButton(SkinOutput& out) {
    const Theme& t = out.theme();
    const int size = 24, border = 6;
    Canvas canvas(size, 4 * size);
    canvas.fillRect(0, 0, size, 4 * size, t.chrome);
    const Rgb faces[4] = {t.accent, t.accentHover, t.accentPressed, t.disabledFill};
    for (int band = 0; band < 4; ++band)
        canvas.fillRounded(0, band * size, size, size, kRadius, faces[band]);
    canvas.strokeRoundedInside(0, 3 * size, size, size, kRadius, t.hairline);
    out.addBitmap("Button.bmp", canvas.flatten(Flatten::opaqueOver(t.chrome)));

    out.ini().section("Buttons");
    NineSlice::of(0, 0, size, size, border, border, border, border).write(out.ini());
    out.imageRecordTail(t.accent, t.textOnAccent, t.textDisabled, kFontSize, size, "Button.bmp");
}

// Radio buttons: the glyph cell at the left of each band, a background cell
// beside it; unchecked normal, hovered, pressed, then the same checked.
void radioButton(SkinOutput& out) {
    const Theme& t = out.theme();
    const int glyph = 24, filler = 4, h = 20;
    Canvas canvas(glyph + filler, 6 * h);
    canvas.fillRect(0, 0, glyph + filler, 6 * h, t.chrome);
    cairo_t* cr = canvas.cr();
    for (int band = 0; band < 6; ++band) {
        const bool checked = band >= 3;
        const int state = band % 3;  // normal, hovered, pressed
        const double cx = 9, cy = band * h + h / 2.0, r = 7.5;
        Rgb fill = t.input, ring = state == 0 ? t.border : t.accent;
        if (checked)
            fill = ring = state == 0 ? t.accent : state == 1 ? t.accentHover : t.accentPressed;
        else if (state == 2)
            fill = t.accentSoft;
        cairo_arc(cr, cx, cy, r, 0, 2 * kPi);
        canvas.setColor(fill);
        cairo_fill(cr);
        cairo_arc(cr, cx, cy, r - 0.5, 0, 2 * kPi);
        canvas.setColor(ring);
        cairo_set_line_width(cr, 1.0);
        cairo_stroke(cr);
        if (checked) {
            cairo_arc(cr, cx, cy, 3, 0, 2 * kPi);
            canvas.setColor(t.textOnAccent);
            cairo_fill(cr);
        }
    }
    out.addBitmap("RadioButton.bmp", canvas.flatten(Flatten::opaqueOver(t.chrome)));

    out.ini().section("RadioButtons");
    NineSlice::of(0, 0, glyph + filler, h, glyph, 0, 0, 0).write(out.ini());
    out.imageRecordTail(t.chrome, t.text, t.textDisabled, kFontSize, h, "RadioButton.bmp");
}

// Edit fields: a hairline box with round corners; the left cell keeps the
// text clear of the outline.
void edit(SkinOutput& out) {
    const Theme& t = out.theme();
    const int w = 32, h = 24;
    Canvas canvas(w, h);
    canvas.fillRect(0, 0, w, h, t.chrome);
    canvas.fillRounded(0, 0, w, h, kRadius, t.input);
    canvas.strokeRoundedInside(0, 0, w, h, kRadius, t.border);
    out.addBitmap("Edit.bmp", canvas.flatten(Flatten::opaqueOver(t.chrome)));

    out.ini().section("Edits");
    NineSlice::of(0, 0, w, h, 8, 6, 4, 4).write(out.ini());
    out.imageRecordTail(t.input, t.text, t.textDisabled, kFontSize, 0, "Edit.bmp");
}

// Labels draw only text; their bitmap is a swatch of the panel they sit on.
void label(SkinOutput& out) {
    const Theme& t = out.theme();
    out.addBitmap("Label.bmp", RgbImage(8, 8, t.chrome));
    out.ini().section("Labels");
    NineSlice::of(0, 0, 8, 8, 0, 0, 0, 0).write(out.ini());
    out.imageRecordTail(t.chrome, t.text, t.textDisabled, kFontSize, 0, "Label.bmp");
}

// Column headers: a hairline along the bottom and a short divider at the right.
void listHeader(SkinOutput& out) {
    const Theme& t = out.theme();
    const int w = 16, h = 24, top = 5, bottom = 6;
    RgbImage image(w, h, t.chrome);
    for (int x = 0; x < w; ++x)
        image.set(x, h - 1, t.hairline);
    for (int y = top; y < h - bottom; ++y)
        image.set(w - 1, y, t.border);
    out.addBitmap("ListHeader.bmp", image);

    IniDocument& ini = out.ini();
    ini.section("ListHeaders");
    NineSlice::of(0, 0, w, h, 0, 1, top, bottom).write(ini);
    out.imageRecordTail(t.chrome, t.textMuted, t.textDisabled, kFontSize - 1, 0, "ListHeader.bmp");
    ini.number("LeftMargin", 8);
}

// Result lists: content colour under a hairline at the top.
void listView(SkinOutput& out) {
    const Theme& t = out.theme();
    RgbImage image(8, 9, t.content);
    for (int x = 0; x < 8; ++x)
        image.set(x, 0, t.hairline);
    out.addBitmap("ListView.bmp", image);

    IniDocument& ini = out.ini();
    ini.section("ListViews");
    NineSlice::of(0, 0, 8, 9, 0, 0, 1, 0).write(ini);
    out.frameRecordTail(t.content, 0, "ListView.bmp");
    out.fontKeys(kFontSize, t.text, false);
    ini.color("LinkColor", t.accentText);

    ini.section("OrvSearchResult");
    ini.text("OnLineIconImage", "Online.bmp");
    ini.color("BgColor2", t.contentAlt);
    ini.section("OrvPathFinderResult");
    ini.color("BgColor2", t.contentAlt);
}

// The bar between the result list and the tree: chrome between two hairlines.
void splitter(SkinOutput& out) {
    const Theme& t = out.theme();
    const int w = kSplitterWidth, h = 9;
    RgbImage image(w, h, t.chrome);
    for (int y = 0; y < h; ++y) {
        image.set(0, y, t.hairline);
        image.set(w - 1, y, t.hairline);
    }
    for (int x = 0; x < w; ++x)
        image.set(x, 0, t.hairline);
    out.addBitmap("Splitter.bmp", image);

    IniDocument& ini = out.ini();
    ini.section("VerticalSplitter");
    NineSlice::of(0, 0, w, h, 1, 1, 1, 0).write(ini);
    out.frameRecordTail(t.chrome, 0, "Splitter.bmp");
    ini.number("SplitterWidth", kSplitterWidth);
}

}  // namespace

void addControlArt(SkinOutput& out) {
    pushButton(out);
    radioButton(out);
    edit(out);
    label(out);
    listHeader(out);
    listView(out);
    splitter(out);
}

}  // namespace skingen
