// A picture of the main window as the program composes it from a skin: the
// skin's own Skin.Ini numbers applied to its bitmaps with the program's
// drawing rules (tiled frames, formed button bands, keyed glyphs). For people
// to judge the look before and beside the real program.
#pragma once

#include "SkinOutput.h"

#include <string>

namespace skingen {

bool writePreview(const SkinOutput& skin, const std::string& pngPath);

}  // namespace skingen
