#include "ContactSheet.h"

#include "Canvas.h"

#include <algorithm>
#include <string>

namespace skingen {
namespace {

constexpr int kPageWidth = 1280, kMargin = 24, kGap = 28, kLabelHeight = 18;

// Small pieces large enough to see their pixels; tall state strips by their width.
int scaleFor(const RgbImage& image) {
    const int side = std::max(image.width(), image.height() / 6);
    return side <= 64 ? 4 : side <= 200 ? 2 : 1;
}

bool isDark(Rgb c) { return c.r + c.g + c.b < 3 * 128; }

void label(cairo_t* cr, double x, double y, const std::string& text, double size, bool bold) {
    cairo_select_font_face(cr, "Liberation Sans", CAIRO_FONT_SLANT_NORMAL,
                           bold ? CAIRO_FONT_WEIGHT_BOLD : CAIRO_FONT_WEIGHT_NORMAL);
    cairo_set_font_size(cr, size);
    cairo_move_to(cr, x, y);
    cairo_show_text(cr, text.c_str());
}

// Lays the bitmaps out in rows and draws them on `page`; without a page it only measures.
int layout(const SkinOutput& skin, Canvas* page) {
    // The checkerboard that stands for magenta follows the skin's lightness.
    const bool dark = isDark(skin.theme().chrome);
    int x = kMargin, y = kMargin + 40, rowHeight = 0;
    for (const SkinBitmap& b : skin.bitmaps()) {
        const int s = scaleFor(b.image);
        const int w = std::max(b.image.width() * s, 160), h = b.image.height() * s + kLabelHeight;
        if (x + w > kPageWidth - kMargin && x > kMargin) {
            x = kMargin;
            y += rowHeight + kGap;
            rowHeight = 0;
        }
        if (page) {
            cairo_t* cr = page->cr();
            for (int py = 0; py < b.image.height(); ++py)
                for (int px = 0; px < b.image.width(); ++px) {
                    Rgb c = b.image.at(px, py);
                    for (int sy = 0; sy < s; ++sy)
                        for (int sx = 0; sx < s; ++sx) {
                            Rgb shown = c;
                            if (c == kMagenta) {
                                const bool odd = ((px * s + sx) / 4 + (py * s + sy) / 4) % 2;
                                shown = dark ? (odd ? Rgb(70, 70, 74) : Rgb(90, 90, 94))
                                             : (odd ? Rgb(236, 236, 236) : Rgb(250, 250, 250));
                            }
                            page->fillRect(x + px * s + sx, y + kLabelHeight + py * s + sy, 1, 1, shown);
                        }
                }
            page->setColor(Rgb(60, 64, 72));
            label(cr, x, y + 12, b.file + "  " + std::to_string(b.image.width()) + "x" +
                                     std::to_string(b.image.height()), 11, false);
        }
        x += w + kGap;
        rowHeight = std::max(rowHeight, h);
    }
    return y + rowHeight + kMargin;
}

}  // namespace

bool writeContactSheet(const SkinOutput& skin, const std::string& pngPath) {
    Canvas page(kPageWidth, layout(skin, nullptr));
    page.fillRect(0, 0, page.width(), page.height(), Rgb(255, 255, 255));
    page.setColor(Rgb(30, 34, 40));
    label(page.cr(), kMargin, kMargin + 16, "Skin \"" + skin.theme().name + "\" - every bitmap, enlarged", 18, true);
    layout(skin, &page);
    return cairo_surface_write_to_png(page.surface(), pngPath.c_str()) == CAIRO_STATUS_SUCCESS;
}

}  // namespace skingen
