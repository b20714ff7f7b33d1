#include "Glyphs.h"
#include "NineSlice.h"
#include "SkinArt.h"

namespace skingen {
namespace {

using namespace geometry;

constexpr int kPageButton = 16, kOnlineIcon = 16, kDragImage = 20;

void nodeSection(SkinOutput& out, const char* section, const NodeStyle& style) {
    IniDocument& ini = out.ini();
    ini.section(section);
    ini.color("TextColor", style.text);
    ini.color("BgColor", style.fill);
    ini.number("Width", style.width);
    ini.number("Height", style.height);
    ini.text("FontName", kFont);
    ini.number("FontSize", style.fontSize);
    ini.flag("FontBold", style.bold);
}

// Page buttons sit on the root node: a soft disc with a chevron; enabled,
// hovered, pressed, disabled from top to bottom. Outside the disc is magenta,
// which is also what makes the button's hit region round.
RgbImage pageButton(const Theme& t, Glyph chevron) {
    const int s = kPageButton;
    const Rgb root = t.nodeRoot.fill, ink = t.nodeRoot.text;
    Canvas canvas(s, 4 * s);
    cairo_t* cr = canvas.cr();
    const double discAlpha[4] = {0.18, 0.32, 0.44, 0.0};
    for (int frame = 0; frame < 4; ++frame) {
        const double y0 = frame * s;
        if (discAlpha[frame] > 0) {
            cairo_arc(cr, s / 2.0, y0 + s / 2.0, s / 2.0 - 0.5, 0, 2 * kPi);
            canvas.setColor(ink, discAlpha[frame]);
            cairo_fill(cr);
        }
        const double nudge = frame == 2 ? 0.5 : 0.0;
        cairo_push_group(cr);
        drawGlyph(canvas, chevron, nudge, y0 + nudge, s, {ink, root, 1.75});
        cairo_pop_group_to_source(cr);
        cairo_paint_with_alpha(cr, frame == 3 ? 0.45 : 1.0);
    }
    return canvas.flatten(Flatten::keyedOver(root));
}

void treeBackground(SkinOutput& out) {
    const Theme& t = out.theme();
    RgbImage image(8, 9, t.content);
    for (int x = 0; x < 8; ++x)
        image.set(x, 0, t.hairline);
    out.addBitmap("TreeFrame.bmp", image);

    out.addBitmap("PageNext.bmp", pageButton(t, Glyph::PageNext));
    out.addBitmap("PagePrevious.bmp", pageButton(t, Glyph::PagePrevious));

    // The chat mark stands beside nodes on the tree's background and in the
    // first column of result rows: both are the content colour.
    Canvas online(kOnlineIcon, kOnlineIcon);
    drawChatBadge(online, 0, 0, kOnlineIcon, t.online, t.content);
    out.addBitmap("Online.bmp", online.flatten(Flatten::keyedOver(t.content)));

    // Drawn by the program at the left of a blue band of its own colour, under the name.
    Canvas drag(kDragImage, kDragImage);
    drag.fillRect(0, 0, kDragImage, kDragImage, t.dragBand);
    drawGlyph(drag, Glyph::Person, 0, 0, kDragImage, {Rgb::hex(0xFFFFFF), t.dragBand, 1.75});
    out.addBitmap("DragContact.bmp", drag.flatten(Flatten::opaqueOver(t.dragBand)));

    IniDocument& ini = out.ini();
    ini.section("TreeControl");
    NineSlice::of(0, 0, 8, 9, 0, 0, 1, 0).write(ini);
    out.imageRecordTail(t.content, t.text, t.textDisabled, kFontSize, 0, "TreeFrame.bmp");
    ini.color("RowsColor", t.treeLines);
    ini.color("NodeRootFrmColor", t.rootFrame);
    ini.color("NodeRegFrmColor", t.registeredFrame);
    ini.color("NodeUnregFrmColor", t.unregisteredFrame);
    ini.color("NodeUnregPassiveFrmColor", t.passiveFrame);
    ini.text("RootButtonNextImage", "PageNext.bmp");
    ini.text("RootButtonPreviousImage", "PagePrevious.bmp");
    ini.text("OnlineIconImage", "Online.bmp");
    ini.text("DragDropImage", "DragContact.bmp");
}

}  // namespace

void addTreeArt(SkinOutput& out) {
    const Theme& t = out.theme();
    treeBackground(out);
    nodeSection(out, "NodeRootSelected", t.nodeRootSelected);
    nodeSection(out, "NodeRootUnselected", t.nodeRoot);
    nodeSection(out, "NodeRegisteredSelected", t.nodeRegisteredSelected);
    nodeSection(out, "NodeRegisteredUnselected", t.nodeRegistered);
    nodeSection(out, "NodeUnregisteredSelected", t.nodeUnregisteredSelected);
    nodeSection(out, "NodeUnregisteredUnselected", t.nodeUnregistered);
    nodeSection(out, "NodeUnregisteredPassiveSelected", t.nodePassiveSelected);
    nodeSection(out, "NodeUnregisteredPassiveUnselected", t.nodePassive);
}

}  // namespace skingen
