// A 24-bit colour as the skin files store it, with the few operations the
// artwork needs (mixing, Windows colour reference, #RRGGBB text).
#pragma once

#include <cstdint>
#include <string>

namespace skingen {

struct Rgb {
    uint8_t r = 0, g = 0, b = 0;

    constexpr Rgb() = default;
    constexpr Rgb(uint8_t red, uint8_t green, uint8_t blue) : r(red), g(green), b(blue) {}

    // From 0xRRGGBB, the way designers write colours.
    static constexpr Rgb hex(uint32_t rrggbb) {
        return Rgb(uint8_t(rrggbb >> 16), uint8_t(rrggbb >> 8), uint8_t(rrggbb));
    }

    // The Windows colour reference: red in the low byte.
    constexpr uint32_t colorRef() const { return uint32_t(r) | uint32_t(g) << 8 | uint32_t(b) << 16; }

    std::string iniText() const;  // "#RRGGBB"

    // This colour moved towards `other` by t (0 keeps this colour, 1 gives `other`).
    Rgb mix(Rgb other, double t) const;

    constexpr bool operator==(const Rgb& o) const { return r == o.r && g == o.g && b == o.b; }
    constexpr bool operator!=(const Rgb& o) const { return !(*this == o); }
};

// The transparent colour of every skin bitmap.
constexpr Rgb kMagenta{255, 0, 255};

}  // namespace skingen
