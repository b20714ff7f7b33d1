// A Cairo drawing surface with alpha, and the one place where alpha becomes
// the skins' magenta key. Antialiased edges are composited over the colour
// that lies beneath the bitmap at run time (the underlay), so no edge pixel is
// ever blended with magenta; only pixels whose coverage is below a threshold
// turn magenta.
#pragma once

#include "RgbImage.h"

#include <cairo.h>

#include <optional>

namespace skingen {

constexpr double kPi = 3.14159265358979323846;

// How a drawing becomes an opaque bitmap.
struct Flatten {
    // Colour beneath the bitmap where it is drawn; without one, covered pixels
    // keep their own colour at full strength (window-shape cut-outs).
    std::optional<Rgb> underlay;
    // Pixels covered less than this (0..1) become magenta; 0 keys nothing.
    double keyBelow = 0.0;

    static Flatten opaqueOver(Rgb under) { return {under, 0.0}; }
    // Drawn with the magenta key over a known colour: only untouched pixels are keyed.
    static Flatten keyedOver(Rgb under) { return {under, 1.0 / 255.0}; }
    // A window or button shape: hard edge at half coverage, softened towards `under`.
    static Flatten shapeOver(std::optional<Rgb> under) { return {under, 0.5}; }
};

class Canvas {
public:
    Canvas(int width, int height);
    ~Canvas();
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    int width() const { return width_; }
    int height() const { return height_; }
    cairo_t* cr() const { return cr_; }
    cairo_surface_t* surface() const { return surface_; }

    void setColor(Rgb c, double alpha = 1.0);
    void fillRect(double x, double y, double w, double h, Rgb c, double alpha = 1.0);
    void roundedRectPath(double x, double y, double w, double h, double radius);
    void fillRounded(double x, double y, double w, double h, double radius, Rgb c, double alpha = 1.0);
    // A 1 px outline whose outer edge is the given rectangle, kept crisp on the pixel grid.
    void strokeRoundedInside(double x, double y, double w, double h, double radius, Rgb c, double alpha = 1.0);

    RgbImage flatten(const Flatten& how) const;

private:
    int width_, height_;
    cairo_surface_t* surface_;
    cairo_t* cr_;
};

}  // namespace skingen
