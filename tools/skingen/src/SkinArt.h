// The artwork and Skin.Ini sections of a skin, by area. Each function draws
// the bitmaps of its area and writes the sections that name them, taking all
// cell positions from the same numbers it draws with.
#pragma once

#include "SkinOutput.h"

namespace skingen {

void addControlArt(SkinOutput& out);  // buttons, radio buttons, edits, labels, list headers and views, splitter
void addMenuArt(SkinOutput& out);     // menu bar, drop-down items, separators, menu fonts
void addPanelArt(SkinOutput& out);    // search and path finder panels, toolbar, message panel
void addTreeArt(SkinOutput& out);     // contact-tree background, nodes, page buttons, icons, drag image
void addWindowArt(SkinOutput& out);   // captions, caption buttons, window frames, dialog buttons

// The whole skin of a theme, Skin.Ini sections in the order the reader meets them.
SkinOutput generateSkin(const Theme& theme);

}  // namespace skingen
