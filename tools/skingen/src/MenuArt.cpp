#include "Canvas.h"
#include "NineSlice.h"
#include "SkinArt.h"

namespace skingen {
namespace {

using namespace geometry;

constexpr int kItemSide = 6, kItemTopBottom = 4, kItemTemplate = 24;

// Menu items: normal, hovered, pressed (sub-menu open), disabled; the
// highlight is a rounded plate inset from the item's edges.
RgbImage itemBands(Rgb surface, Rgb hover, Rgb pressed) {
    const int s = kItemTemplate;
    Canvas canvas(s, 4 * s);
    canvas.fillRect(0, 0, s, 4 * s, surface);
    canvas.fillRounded(2, 1 * s + 1, s - 4, s - 2, kRadius - 1, hover);
    canvas.fillRounded(2, 2 * s + 1, s - 4, s - 2, kRadius - 1, pressed);
    return canvas.flatten(Flatten::opaqueOver(surface));
}

void itemSection(SkinOutput& out, const char* section, Rgb surface, const char* image) {
    out.ini().section(section);
    NineSlice::of(0, 0, kItemTemplate, kItemTemplate, kItemSide, kItemSide, kItemTopBottom, kItemTopBottom)
        .write(out.ini());
    out.frameRecordTail(surface, kItemTemplate, image);
}

void fontSection(SkinOutput& out, const char* section, Rgb color) {
    out.ini().section(section);
    out.fontKeys(kFontSize, color, false);
}

}  // namespace

void addMenuArt(SkinOutput& out) {
    const Theme& t = out.theme();

    out.addBitmap("MenuBarItem.bmp", itemBands(t.chrome, t.accentSoft, t.accentSoftStrong));
    itemSection(out, "OrvTopMenuItem", t.chrome, "MenuBarItem.bmp");
    out.addBitmap("MenuItem.bmp", itemBands(t.menu, t.menu.mix(t.accent, 0.12), t.menu.mix(t.accent, 0.22)));
    itemSection(out, "OrvMenuItem", t.menu, "MenuItem.bmp");

    // Drop-down window: a hairline outline and a little room inside it.
    const int frame = 16, border = 4;
    RgbImage window(frame, frame, t.menu);
    for (int i = 0; i < frame; ++i) {
        window.set(i, 0, t.border);
        window.set(i, frame - 1, t.border);
        window.set(0, i, t.border);
        window.set(frame - 1, i, t.border);
    }
    out.addBitmap("MenuFrame.bmp", window);
    out.ini().section("OrvSubMenuBorders");
    NineSlice::of(0, 0, frame, frame, border, border, border, border).write(out.ini());
    out.frameRecordTail(t.menu, 0, "MenuFrame.bmp");

    // Separator: a hairline row between two plain cells, drawn the left cell's
    // length below the top of a band as tall as both side lengths plus the line.
    const int inset = 8, line = 8, above = 4, below = 4;
    RgbImage separator(2 * inset + line, above + 1 + below, t.menu);
    for (int x = inset; x < inset + line; ++x)
        separator.set(x, above, t.hairline);
    out.addBitmap("MenuSeparator.bmp", separator);
    out.ini().section("MenuSeparators");
    NineSlice cells;
    cells.left = inset;
    cells.right = inset;
    cells.top = 1;
    cells.leftTopY = above;
    cells.rightTopX = inset + line;
    cells.rightTopY = above;
    cells.leftBottomY = above + 1;
    cells.rightBottomX = inset + line;
    cells.rightBottomY = above + 1;
    cells.leftLength = above;
    cells.rightX = inset + line;
    cells.rightLength = below;
    cells.topX = inset;
    cells.topY = above;
    cells.topLength = line;
    cells.bottomX = inset;
    cells.bottomY = above + 1;
    cells.contentX = inset;
    cells.contentWidth = line;
    cells.contentHeight = above;
    cells.write(out.ini());
    out.frameRecordTail(t.menu, 0, "MenuSeparator.bmp");

    fontSection(out, "OrvMenuFont", t.text);
    fontSection(out, "OrvMenuDisabledFont", t.textDisabled);
    fontSection(out, "OrvMenuPressedFont", t.accentText);
}

}  // namespace skingen
