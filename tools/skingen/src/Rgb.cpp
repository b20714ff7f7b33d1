#include "Rgb.h"

#include <cmath>
#include <cstdio>

namespace skingen {

std::string Rgb::iniText() const {
    char text[8];
    std::snprintf(text, sizeof text, "#%02X%02X%02X", r, g, b);
    return text;
}

Rgb Rgb::mix(Rgb other, double t) const {
    auto channel = [t](uint8_t a, uint8_t b) {
        return uint8_t(std::lround(a + (double(b) - a) * t));
    };
    return Rgb(channel(r, other.r), channel(g, other.g), channel(b, other.b));
}

}  // namespace skingen
