// Everything one skin consists of while it is being generated: its Skin.Ini
// text and its bitmaps, written to a folder in one go.
#pragma once

#include "IniDocument.h"
#include "RgbImage.h"
#include "Theme.h"

#include <string>
#include <vector>

namespace skingen {

struct SkinBitmap {
    std::string file;
    RgbImage image;
};

class SkinOutput {
public:
    explicit SkinOutput(const Theme& theme) : theme_(theme) {}

    const Theme& theme() const { return theme_; }
    IniDocument& ini() { return ini_; }
    const IniDocument& ini() const { return ini_; }

    // Adds a bitmap under a file name; the same name twice is a generator fault.
    void addBitmap(const std::string& file, RgbImage image);
    const std::vector<SkinBitmap>& bitmaps() const { return bitmaps_; }

    // The keys that follow the cells in a composed-image record.
    void imageRecordTail(Rgb background, Rgb text, Rgb disabledText, int textSize, int stateStep,
                         const std::string& image);
    // The keys that follow the cells in a control frame record.
    void frameRecordTail(Rgb background, int stateStep, const std::string& image);
    void fontKeys(int size, Rgb color, bool bold);

    // Writes every bitmap into `folder` (which must exist).
    bool writeBitmaps(const std::string& folder) const;
    // Writes the Skin.Ini text to `path`, byte for byte.
    bool writeIni(const std::string& path) const;

private:
    Theme theme_;
    IniDocument ini_;
    std::vector<SkinBitmap> bitmaps_;
};

}  // namespace skingen
