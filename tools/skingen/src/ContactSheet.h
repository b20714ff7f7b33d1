// A PNG page showing every bitmap of a skin, enlarged, with its file name:
// for people to look at. Magenta shows as a light checkerboard.
#pragma once

#include "SkinOutput.h"

#include <string>

namespace skingen {

bool writeContactSheet(const SkinOutput& skin, const std::string& pngPath);

}  // namespace skingen
