#include "RgbImage.h"

#include <stdexcept>

namespace skingen {

RgbImage::RgbImage(int width, int height, Rgb fill) : width_(width), height_(height) {
    if (width < 0 || height < 0)
        throw std::invalid_argument("negative image size");
    pixels_.assign(size_t(width) * size_t(height), fill);
}

void RgbImage::blit(const RgbImage& source, int sx, int sy, int w, int h, int dx, int dy) {
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            if (source.contains(sx + x, sy + y) && contains(dx + x, dy + y))
                set(dx + x, dy + y, source.at(sx + x, sy + y));
}

void RgbImage::blitKeyed(const RgbImage& source, int sx, int sy, int w, int h, int dx, int dy) {
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            if (source.contains(sx + x, sy + y) && contains(dx + x, dy + y)) {
                Rgb c = source.at(sx + x, sy + y);
                if (c != kMagenta)
                    set(dx + x, dy + y, c);
            }
}

bool RgbImage::sameRegion(int x, int y, int w, int h, const RgbImage& other, int ox, int oy) const {
    for (int j = 0; j < h; ++j)
        for (int i = 0; i < w; ++i)
            if (at(x + i, y + j) != other.at(ox + i, oy + j))
                return false;
    return true;
}

}  // namespace skingen
