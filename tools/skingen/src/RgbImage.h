// An opaque 24-bit picture in top-down rows: what a skin bitmap holds once
// transparency has been resolved to the magenta key.
#pragma once

#include "Rgb.h"

#include <vector>

namespace skingen {

class RgbImage {
public:
    RgbImage() = default;
    RgbImage(int width, int height, Rgb fill = Rgb());

    int width() const { return width_; }
    int height() const { return height_; }
    bool empty() const { return width_ == 0 || height_ == 0; }

    Rgb at(int x, int y) const { return pixels_[size_t(y) * size_t(width_) + size_t(x)]; }
    void set(int x, int y, Rgb c) { pixels_[size_t(y) * size_t(width_) + size_t(x)] = c; }
    bool contains(int x, int y) const { return x >= 0 && y >= 0 && x < width_ && y < height_; }

    // Copies w x h pixels from (sx, sy) of `source` to (dx, dy); parts outside
    // either picture are skipped.
    void blit(const RgbImage& source, int sx, int sy, int w, int h, int dx, int dy);
    // Same, but magenta pixels of the source leave the target as it was.
    void blitKeyed(const RgbImage& source, int sx, int sy, int w, int h, int dx, int dy);

    bool sameRegion(int x, int y, int w, int h, const RgbImage& other, int ox, int oy) const;

private:
    int width_ = 0, height_ = 0;
    std::vector<Rgb> pixels_;
};

}  // namespace skingen
