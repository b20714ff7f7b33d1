#include "Canvas.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace skingen {

Canvas::Canvas(int width, int height)
    : width_(width), height_(height),
      surface_(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height)),
      cr_(cairo_create(surface_)) {
    if (cairo_surface_status(surface_) != CAIRO_STATUS_SUCCESS || cairo_status(cr_) != CAIRO_STATUS_SUCCESS) {
        cairo_destroy(cr_);
        cairo_surface_destroy(surface_);
        throw std::runtime_error("cannot make a drawing surface");
    }
}

Canvas::~Canvas() {
    cairo_destroy(cr_);
    cairo_surface_destroy(surface_);
}

void Canvas::setColor(Rgb c, double alpha) {
    cairo_set_source_rgba(cr_, c.r / 255.0, c.g / 255.0, c.b / 255.0, alpha);
}

void Canvas::fillRect(double x, double y, double w, double h, Rgb c, double alpha) {
    setColor(c, alpha);
    cairo_rectangle(cr_, x, y, w, h);
    cairo_fill(cr_);
}

void Canvas::roundedRectPath(double x, double y, double w, double h, double radius) {
    const double r = std::max(0.0, std::min(radius, std::min(w, h) / 2));
    cairo_new_sub_path(cr_);
    cairo_arc(cr_, x + w - r, y + r, r, -kPi / 2, 0);
    cairo_arc(cr_, x + w - r, y + h - r, r, 0, kPi / 2);
    cairo_arc(cr_, x + r, y + h - r, r, kPi / 2, kPi);
    cairo_arc(cr_, x + r, y + r, r, kPi, 3 * kPi / 2);
    cairo_close_path(cr_);
}

void Canvas::fillRounded(double x, double y, double w, double h, double radius, Rgb c, double alpha) {
    roundedRectPath(x, y, w, h, radius);
    setColor(c, alpha);
    cairo_fill(cr_);
}

void Canvas::strokeRoundedInside(double x, double y, double w, double h, double radius, Rgb c, double alpha) {
    roundedRectPath(x + 0.5, y + 0.5, w - 1, h - 1, std::max(0.0, radius - 0.5));
    setColor(c, alpha);
    cairo_set_line_width(cr_, 1.0);
    cairo_stroke(cr_);
}

RgbImage Canvas::flatten(const Flatten& how) const {
    cairo_surface_flush(surface_);
    const unsigned char* data = cairo_image_surface_get_data(surface_);
    const int stride = cairo_image_surface_get_stride(surface_);
    RgbImage out(width_, height_);
    const double keyLevel = how.keyBelow * 255.0;
    for (int y = 0; y < height_; ++y) {
        const uint32_t* row = reinterpret_cast<const uint32_t*>(data + size_t(y) * size_t(stride));
        for (int x = 0; x < width_; ++x) {
            const uint32_t p = row[x];  // premultiplied ARGB in native order
            const double a = double(p >> 24);
            if (how.keyBelow > 0 && a < keyLevel - 1e-9) {
                out.set(x, y, kMagenta);
                continue;
            }
            const double pr = double((p >> 16) & 0xFF), pg = double((p >> 8) & 0xFF), pb = double(p & 0xFF);
            Rgb c;
            if (how.underlay) {
                const double rest = 1.0 - a / 255.0;
                auto over = [rest](double premult, uint8_t under) {
                    return uint8_t(std::clamp(std::lround(premult + under * rest), 0L, 255L));
                };
                c = Rgb(over(pr, how.underlay->r), over(pg, how.underlay->g), over(pb, how.underlay->b));
            } else if (a > 0) {
                auto plain = [a](double premult) {
                    return uint8_t(std::clamp(std::lround(premult * 255.0 / a), 0L, 255L));
                };
                c = Rgb(plain(pr), plain(pg), plain(pb));
            }
            // A drawn pixel must never read as the key by accident.
            if (c == kMagenta)
                c.g = 1;
            out.set(x, y, c);
        }
    }
    return out;
}

}  // namespace skingen
