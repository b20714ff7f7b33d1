#include "Glyphs.h"
#include "NineSlice.h"
#include "SkinArt.h"

#include <cmath>

namespace skingen {
namespace {

using namespace geometry;

// Caption: left end, stretchable middle and right end side by side; the
// active caption above the inactive one (the caption height apart).
void caption(SkinOutput& out) {
    const Theme& t = out.theme();
    const int end = 8, middle = 8, width = end * 2 + middle, h = kCaptionHeight;
    Canvas canvas(width, 2 * h);
    cairo_t* cr = canvas.cr();
    for (int band = 0; band < 2; ++band) {
        const double y0 = band * h;
        cairo_save(cr);
        cairo_rectangle(cr, 0, y0, width, h);
        cairo_clip(cr);
        // Only the top corners are round: the frame below continues the sides.
        canvas.fillRounded(0, y0, width, h + 2 * kWindowRadius, kWindowRadius, t.chrome);
        canvas.strokeRoundedInside(0, y0, width, h + 2 * kWindowRadius, kWindowRadius,
                                   band == 0 ? t.frameActive : t.frameInactive);
        cairo_restore(cr);
    }
    // The ends shape the window: a hard edge, nothing for the desktop to show through.
    out.addBitmap("Caption.bmp", canvas.flatten(Flatten::shapeOver(std::nullopt)));

    IniDocument& ini = out.ini();
    ini.section("MessageCaptions");
    NineSlice cells = NineSlice::of(0, 0, width, h, end, end, 0, 0);
    cells.top = 4;  // the strip along the top edge that sizes the window
    cells.write(ini);
    out.frameRecordTail(t.chrome, h, "Caption.bmp");
    ini.text("CaptionButtonsImage", "CaptionButtons.bmp");
    ini.number("IconX", 12);
    ini.number("IconY", 0);
    ini.number("ButtonsX", 1);
    ini.number("ButtonsY", 1);
    out.fontKeys(kCaptionFontSize, t.text, false);
}

// The 4 x 4 grid of caption buttons: columns minimise, restore, maximise,
// close; rows normal, hovered, pressed, disabled.
void captionButtons(SkinOutput& out) {
    const Theme& t = out.theme();
    const int w = kCaptionButtonWidth, h = kCaptionButtonHeight;
    const Glyph columns[4] = {Glyph::Minimise, Glyph::Restore, Glyph::Maximise, Glyph::Close};
    Canvas canvas(4 * w, 4 * h);
    cairo_t* cr = canvas.cr();
    for (int col = 0; col < 4; ++col) {
        const bool close = col == 3;
        for (int row = 0; row < 4; ++row) {
            const double x0 = col * w, y0 = row * h;
            Rgb surface = t.chrome, ink = t.text;
            if (row == 1) {
                surface = close ? t.danger : t.accentSoft;
                ink = close ? Rgb::hex(0xFFFFFF) : t.accentText;
            } else if (row == 2) {
                surface = close ? t.dangerPressed : t.accentSoftStrong;
                ink = close ? Rgb::hex(0xFFFFFF) : t.accentText;
            } else if (row == 3) {
                ink = t.textDisabled;
            }
            if (surface != t.chrome) {
                if (close) {
                    // The close button sits in the window's round top-right corner.
                    const double r = kWindowRadius - 1;
                    cairo_new_sub_path(cr);
                    cairo_move_to(cr, x0, y0);
                    cairo_arc(cr, x0 + w - r, y0 + r, r, -kPi / 2, 0);
                    cairo_line_to(cr, x0 + w, y0 + h);
                    cairo_line_to(cr, x0, y0 + h);
                    cairo_close_path(cr);
                    canvas.setColor(surface);
                    cairo_fill(cr);
                } else {
                    canvas.fillRect(x0, y0, w, h, surface);
                }
            }
            const double nudge = row == 2 ? 1.0 : 0.0;
            // Half-pixel origin: the 1 px strokes fall on whole pixels.
            drawGlyph(canvas, columns[col], x0 + (w - 24) / 2.0 + 0.5 + nudge, y0 + (h - 24) / 2.0 + 0.5 + nudge, 24,
                      {ink, surface, 1.0});
        }
    }
    out.addBitmap("CaptionButtons.bmp", canvas.flatten(Flatten::keyedOver(t.chrome)));
}

// Left, right and bottom frame: outline outside, chrome inside; active cells
// first, the inactive ones one cell lower.
void frames(SkinOutput& out) {
    const Theme& t = out.theme();
    const int fw = kFrameWidth, length = 8;
    RgbImage left(fw, 2 * length, t.chrome), right(fw, 2 * length, t.chrome), bottom(2 * fw + length, 2 * fw, t.chrome);
    for (int band = 0; band < 2; ++band) {
        const Rgb outline = band == 0 ? t.frameActive : t.frameInactive;
        for (int y = 0; y < length; ++y) {
            left.set(0, band * length + y, outline);
            right.set(fw - 1, band * length + y, outline);
        }
        const int rowTop = band * fw;
        for (int x = 0; x < bottom.width(); ++x)
            bottom.set(x, rowTop + fw - 1, outline);
        for (int y = 0; y < fw; ++y) {
            bottom.set(0, rowTop + y, outline);
            bottom.set(bottom.width() - 1, rowTop + y, outline);
        }
    }
    out.addBitmap("FrameLeft.bmp", left);
    out.addBitmap("FrameRight.bmp", right);
    out.addBitmap("FrameBottom.bmp", bottom);

    IniDocument& ini = out.ini();
    ini.section("MessageBorders");
    NineSlice cells;
    cells.left = fw;
    cells.right = fw;
    cells.bottom = fw;
    cells.leftLength = length;   // in FrameLeft.bmp
    cells.rightLength = length;  // in FrameRight.bmp
    // In FrameBottom.bmp: corner, bottom cell, corner.
    cells.bottomX = fw;
    cells.bottomLength = length;
    cells.rightBottomX = fw + length;
    cells.write(ini);
    out.frameRecordTail(t.chrome, 0, "FrameBottom.bmp");
    ini.text("LeftFrameImage", "FrameLeft.bmp");
    ini.text("RightFrameImage", "FrameRight.bmp");
    ini.text("BottomFrameImage", "FrameBottom.bmp");
    ini.color("MessageBoxBgColor", t.chrome);
}

// Push buttons of dialogs and message boxes, six bands: normal, hovered,
// pressed, disabled, default, focused. Their corners shape the button window.
void dialogButtons(SkinOutput& out) {
    const Theme& t = out.theme();
    const int size = 24, border = 6, bands = 6;
    Canvas canvas(size, size * bands);
    struct Look { Rgb fill, outline; double ring; };
    const Look looks[bands] = {
        {t.secondary, t.border, 0},                // normal
        {t.accentSoft, t.accent, 0},               // hovered
        {t.accentSoftStrong, t.accentPressed, 0},  // pressed
        {t.chrome, t.hairline, 0},                 // disabled
        {t.secondary, t.accent, 0},                // default
        {t.secondary, t.accent, 0.45},             // focused: a second, softer ring inside
    };
    for (int band = 0; band < bands; ++band) {
        const double y0 = band * size;
        const Look& look = looks[band];
        canvas.fillRounded(0, y0, size, size, kRadius, look.fill);
        canvas.strokeRoundedInside(0, y0, size, size, kRadius, look.outline);
        if (look.ring > 0)
            canvas.strokeRoundedInside(1, y0 + 1, size - 2, size - 2, kRadius - 1, look.outline, look.ring);
    }
    out.addBitmap("DialogButton.bmp", canvas.flatten(Flatten::shapeOver(t.chrome)));

    IniDocument& ini = out.ini();
    ini.section("MessageButtons");
    NineSlice::of(0, 0, size, size, border, border, border, border).write(ini);
    out.frameRecordTail(t.secondary, size, "DialogButton.bmp");
    out.fontKeys(kFontSize, t.text, false);
    ini.color("DisabledTextColor", t.textDisabled);
}

}  // namespace

void addWindowArt(SkinOutput& out) {
    dialogButtons(out);
    caption(out);
    captionButtons(out);
    frames(out);
}

}  // namespace skingen
