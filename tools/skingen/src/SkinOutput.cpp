#include "SkinOutput.h"

#include "BmpFile.h"

#include <fstream>
#include <stdexcept>

namespace skingen {

void SkinOutput::addBitmap(const std::string& file, RgbImage image) {
    for (const SkinBitmap& b : bitmaps_)
        if (b.file == file)
            throw std::logic_error("bitmap drawn twice: " + file);
    bitmaps_.push_back({file, std::move(image)});
}

void SkinOutput::imageRecordTail(Rgb background, Rgb text, Rgb disabledText, int textSize, int stateStep,
                                 const std::string& image) {
    ini_.color("BgColor", background);
    ini_.color("TextColor", text);
    ini_.color("DisabledTextColor", disabledText);
    ini_.text("TextFont", geometry::kFont);
    ini_.number("TextSize", textSize);
    ini_.number("InterationStep", stateStep);
    ini_.text("MainImage", image);
}

void SkinOutput::frameRecordTail(Rgb background, int stateStep, const std::string& image) {
    ini_.color("BgColor", background);
    ini_.number("InterationStep", stateStep);
    ini_.text("MainImage", image);
}

void SkinOutput::fontKeys(int size, Rgb color, bool bold) {
    ini_.text("FontName", geometry::kFont);
    ini_.number("FontSize", size);
    ini_.color("TextColor", color);
    ini_.flag("TextBold", bold);
    ini_.flag("TextItalic", false);
    ini_.flag("TextUnderline", false);
    ini_.flag("TextStrikeOut", false);
}

bool SkinOutput::writeBitmaps(const std::string& folder) const {
    for (const SkinBitmap& b : bitmaps_)
        if (!writeBmpFile(folder + "/" + b.file, b.image))
            return false;
    return true;
}

bool SkinOutput::writeIni(const std::string& path) const {
    std::ofstream ini(path, std::ios::binary | std::ios::trunc);
    const std::string text = ini_.str();
    ini.write(text.data(), std::streamsize(text.size()));
    return bool(ini);
}

}  // namespace skingen
