// One line-icon family for every glyph of the skins: drawn on a 24-unit
// design grid with round caps and joins, scaled to the size asked for.
#pragma once

#include "Canvas.h"

namespace skingen {

enum class Glyph {
    Back, Forward, Home, AddSource, AddDestination, Chat, EditPersonalInfo,  // toolbar
    Minimise, Maximise, Restore, Close,                                      // window caption
    PagePrevious, PageNext,                                                  // tree root
    Person,
};

struct GlyphStyle {
    Rgb ink;
    Rgb knockout;         // the surface below, for the gap around badges
    double stroke = 2.0;  // in pixels at the drawn size
};

// Draws `glyph` into the square (x, y, size, size).
void drawGlyph(Canvas& canvas, Glyph glyph, double x, double y, double size, const GlyphStyle& style);

// A speech bubble, filled, with three dots knocked out: the "may chat" mark.
void drawChatBadge(Canvas& canvas, double x, double y, double size, Rgb fill, Rgb dots);

// A clock face whose minute hand stands at `minuteTurn` (0..1 of a turn).
void drawClock(Canvas& canvas, double x, double y, double size, Rgb ring, Rgb hands, double minuteTurn);

}  // namespace skingen
