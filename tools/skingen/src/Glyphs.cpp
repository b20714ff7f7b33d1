#include "Glyphs.h"

#include <cmath>

namespace skingen {
namespace {

// Maps the 24-unit design grid onto the target square for the drawing calls
// made while it lives, and restores the context afterwards.
class GridScope {
public:
    GridScope(cairo_t* cr, double x, double y, double size) : cr_(cr) {
        cairo_save(cr_);
        cairo_translate(cr_, x, y);
        cairo_scale(cr_, size / 24.0, size / 24.0);
    }
    ~GridScope() { cairo_restore(cr_); }
    GridScope(const GridScope&) = delete;
    GridScope& operator=(const GridScope&) = delete;

private:
    cairo_t* cr_;
};

void strokeIn(Canvas& c, Rgb ink, double strokeUnits) {
    cairo_t* cr = c.cr();
    c.setColor(ink);
    cairo_set_line_width(cr, strokeUnits);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_stroke(cr);
}

void line(cairo_t* cr, double x0, double y0, double x1, double y1) {
    cairo_move_to(cr, x0, y0);
    cairo_line_to(cr, x1, y1);
}

// A small "+" badge at the lower right, cut free from the glyph behind it.
void plusBadge(Canvas& c, const GlyphStyle& s, double units) {
    cairo_t* cr = c.cr();
    cairo_arc(cr, 18.5, 18.5, 5.6, 0, 2 * kPi);
    c.setColor(s.knockout);
    cairo_fill(cr);
    line(cr, 18.5, 15.3, 18.5, 21.7);
    line(cr, 15.3, 18.5, 21.7, 18.5);
    strokeIn(c, s.ink, units);
}

void arrow(cairo_t* cr, bool left) {
    const double d = left ? 1 : -1;
    auto X = [d](double x) { return d > 0 ? x : 24 - x; };
    line(cr, X(19), 12, X(5), 12);
    cairo_move_to(cr, X(11), 6);
    cairo_line_to(cr, X(5), 12);
    cairo_line_to(cr, X(11), 18);
}

void home(cairo_t* cr) {
    cairo_move_to(cr, 3.5, 11);
    cairo_line_to(cr, 12, 3.8);
    cairo_line_to(cr, 20.5, 11);
    cairo_move_to(cr, 6, 9.2);
    cairo_line_to(cr, 6, 20);
    cairo_line_to(cr, 18, 20);
    cairo_line_to(cr, 18, 9.2);
    cairo_move_to(cr, 10, 20);
    cairo_line_to(cr, 10, 14.5);
    cairo_line_to(cr, 14, 14.5);
    cairo_line_to(cr, 14, 20);
}

// A map pin: where a path starts.
void pin(cairo_t* cr) {
    const double cx = 10.5, cy = 9.5, r = 6.2, tipY = 21;
    const double spread = std::acos(r / (tipY - cy));
    cairo_move_to(cr, cx, tipY);
    cairo_arc(cr, cx, cy, r, kPi / 2 + spread, kPi / 2 - spread + 2 * kPi);
    cairo_close_path(cr);
    cairo_new_sub_path(cr);
    cairo_arc(cr, cx, cy, 2.1, 0, 2 * kPi);
}

// A pennant on a pole: where a path ends.
void flag(cairo_t* cr) {
    line(cr, 5.5, 21, 5.5, 3.5);
    cairo_move_to(cr, 5.5, 4.2);
    cairo_line_to(cr, 17.5, 4.2);
    cairo_line_to(cr, 14.5, 8.4);
    cairo_line_to(cr, 17.5, 12.6);
    cairo_line_to(cr, 5.5, 12.6);
}

void bubblePath(cairo_t* cr) {
    const double x0 = 3.5, y0 = 4.5, x1 = 20.5, y1 = 16.5, r = 3.5;
    cairo_move_to(cr, x0 + r, y0);
    cairo_arc(cr, x1 - r, y0 + r, r, -kPi / 2, 0);
    cairo_arc(cr, x1 - r, y1 - r, r, 0, kPi / 2);
    cairo_line_to(cr, 12, y1);
    cairo_line_to(cr, 7.2, 20.5);
    cairo_line_to(cr, 8, y1);
    cairo_arc(cr, x0 + r, y1 - r, r, kPi / 2, kPi);
    cairo_arc(cr, x0 + r, y0 + r, r, kPi, 3 * kPi / 2);
    cairo_close_path(cr);
}

void personPath(cairo_t* cr, double cx) {
    cairo_new_sub_path(cr);
    cairo_arc(cr, cx, 8, 3.8, 0, 2 * kPi);
    cairo_new_sub_path(cr);
    cairo_arc(cr, cx, 20.5, 7, kPi, 2 * kPi);
}

void pencil(Canvas& c, const GlyphStyle& s, double units) {
    cairo_t* cr = c.cr();
    auto path = [cr] {
        cairo_move_to(cr, 13.6, 21.2);
        cairo_line_to(cr, 14.3, 17.9);
        cairo_line_to(cr, 19.6, 12.6);
        cairo_line_to(cr, 22.2, 15.2);
        cairo_line_to(cr, 16.9, 20.5);
        cairo_close_path(cr);
    };
    path();
    c.setColor(s.knockout);
    cairo_fill_preserve(cr);
    strokeIn(c, s.knockout, units * 2.6);
    path();
    strokeIn(c, s.ink, units);
}

}  // namespace

void drawGlyph(Canvas& c, Glyph glyph, double x, double y, double size, const GlyphStyle& s) {
    cairo_t* cr = c.cr();
    GridScope grid(cr, x, y, size);
    const double units = s.stroke * 24.0 / size;
    switch (glyph) {
    case Glyph::Back:
    case Glyph::Forward:
        arrow(cr, glyph == Glyph::Back);
        strokeIn(c, s.ink, units);
        break;
    case Glyph::Home:
        home(cr);
        strokeIn(c, s.ink, units);
        break;
    case Glyph::AddSource:
        pin(cr);
        strokeIn(c, s.ink, units);
        plusBadge(c, s, units);
        break;
    case Glyph::AddDestination:
        flag(cr);
        strokeIn(c, s.ink, units);
        plusBadge(c, s, units);
        break;
    case Glyph::Chat:
        bubblePath(cr);
        strokeIn(c, s.ink, units);
        for (double dx : {8.0, 12.0, 16.0}) {
            cairo_arc(cr, dx, 10.5, 1.25, 0, 2 * kPi);
            c.setColor(s.ink);
            cairo_fill(cr);
        }
        break;
    case Glyph::EditPersonalInfo:
        personPath(cr, 10);
        strokeIn(c, s.ink, units);
        pencil(c, s, units);
        break;
    case Glyph::Person:
        personPath(cr, 12);
        strokeIn(c, s.ink, units);
        break;
    // Caption glyphs keep to a 10-unit box in the middle of the grid, as thin
    // strokes on whole pixels read crisper at that size.
    case Glyph::Minimise:
        line(cr, 7, 12, 17, 12);
        strokeIn(c, s.ink, units);
        break;
    case Glyph::Maximise:
        cairo_rectangle(cr, 7, 7, 10, 10);
        strokeIn(c, s.ink, units);
        break;
    case Glyph::Restore:
        cairo_rectangle(cr, 7, 9.5, 7.5, 7.5);
        cairo_move_to(cr, 9.5, 9.5);
        cairo_line_to(cr, 9.5, 7);
        cairo_line_to(cr, 17, 7);
        cairo_line_to(cr, 17, 14.5);
        cairo_line_to(cr, 14.5, 14.5);
        strokeIn(c, s.ink, units);
        break;
    case Glyph::Close:
        line(cr, 7, 7, 17, 17);
        line(cr, 17, 7, 7, 17);
        strokeIn(c, s.ink, units);
        break;
    case Glyph::PagePrevious:
    case Glyph::PageNext: {
        const bool left = glyph == Glyph::PagePrevious;
        auto X = [left](double v) { return left ? v : 24 - v; };
        cairo_move_to(cr, X(14), 6.5);
        cairo_line_to(cr, X(8.5), 12);
        cairo_line_to(cr, X(14), 17.5);
        strokeIn(c, s.ink, units);
        break;
    }
    }
}

void drawChatBadge(Canvas& c, double x, double y, double size, Rgb fill, Rgb dots) {
    cairo_t* cr = c.cr();
    GridScope grid(cr, x, y, size);
    cairo_save(cr);
    // The bubble a little larger than the outline glyph's, as it is filled.
    cairo_translate(cr, 12, 12);
    cairo_scale(cr, 1.16, 1.16);
    cairo_translate(cr, -12, -12.6);
    bubblePath(cr);
    cairo_restore(cr);
    c.setColor(fill);
    cairo_fill(cr);
    for (double dx : {7.6, 12.0, 16.4}) {
        cairo_arc(cr, dx, 10.4, 1.7, 0, 2 * kPi);
        c.setColor(dots);
        cairo_fill(cr);
    }
}

void drawClock(Canvas& c, double x, double y, double size, Rgb ring, Rgb hands, double minuteTurn) {
    cairo_t* cr = c.cr();
    GridScope grid(cr, x, y, size);
    cairo_arc(cr, 12, 12, 9.5, 0, 2 * kPi);
    strokeIn(c, ring, 2.0);
    // Hour ticks at 12, 3, 6 and 9.
    for (int q = 0; q < 4; ++q) {
        const double a = q * kPi / 2;
        line(cr, 12 + 7.2 * std::sin(a), 12 - 7.2 * std::cos(a), 12 + 6.3 * std::sin(a), 12 - 6.3 * std::cos(a));
    }
    strokeIn(c, ring, 1.2);
    const double minute = minuteTurn * 2 * kPi;
    const double hour = (minuteTurn / 12.0 + 10.0 / 12.0) * 2 * kPi;
    line(cr, 12, 12, 12 + 6.4 * std::sin(minute), 12 - 6.4 * std::cos(minute));
    line(cr, 12, 12, 12 + 4.2 * std::sin(hour), 12 - 4.2 * std::cos(hour));
    strokeIn(c, hands, 1.8);
    cairo_arc(cr, 12, 12, 1.3, 0, 2 * kPi);
    c.setColor(hands);
    cairo_fill(cr);
}

}  // namespace skingen
