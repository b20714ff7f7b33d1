// Windows bitmap files as the skins ship them: 24 bits per pixel, bottom-up
// rows padded to 4 bytes, 14-byte file header and 40-byte information header.
#pragma once

#include "RgbImage.h"

#include <optional>
#include <string>
#include <vector>

namespace skingen {

std::vector<uint8_t> encodeBmp(const RgbImage& image);
// Reads uncompressed 24-bit files, bottom-up or top-down; anything else, and
// any file whose headers disagree with its size, gives nothing.
std::optional<RgbImage> decodeBmp(const std::vector<uint8_t>& bytes);

bool writeBmpFile(const std::string& path, const RgbImage& image);
std::optional<RgbImage> readBmpFile(const std::string& path);

}  // namespace skingen
