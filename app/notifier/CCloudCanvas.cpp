#include "CCloudCanvas.h"

#include <algorithm>
#include <cmath>

namespace {

uint32_t Pack(COLORREF c) { return (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c); }
COLORREF Unpack(uint32_t p) { return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF); }

// The neutral tone the outermost, partly covered pixels lean towards.
const COLORREF kEdgeTone = RGB(150, 160, 175);

}  // namespace

COLORREF MixColor(COLORREF a, COLORREF b, float t) {
    t = std::clamp(t, 0.0f, 1.0f);
    auto mix = [t](int x, int y) { return static_cast<BYTE>(std::lround(x + (y - x) * t)); };
    return RGB(mix(GetRValue(a), GetRValue(b)), mix(GetGValue(a), GetGValue(b)), mix(GetBValue(a), GetBValue(b)));
}

CCloudCanvas::CCloudCanvas(int width, int height, COLORREF background)
    : m_width(std::max(width, 1)), m_height(std::max(height, 1)),
      m_pixels(static_cast<size_t>(m_width) * m_height, Pack(background)) {}

COLORREF CCloudCanvas::At(int x, int y) const {
    if (x < 0 || y < 0 || x >= m_width || y >= m_height) return CLR_INVALID;
    return Unpack(m_pixels[static_cast<size_t>(y) * m_width + x]);
}

void CCloudCanvas::Blend(int x, int y, COLORREF color, float amount) {
    if (x < 0 || y < 0 || x >= m_width || y >= m_height || amount <= 0) return;
    uint32_t& p = m_pixels[static_cast<size_t>(y) * m_width + x];
    p = Pack(MixColor(Unpack(p), color, amount));
}

void CCloudCanvas::PaintBalloon(const CBalloonShape& shape, COLORREF fill, COLORREF frame, float frameWidth) {
    const int w = std::min(m_width, shape.Width()), h = std::min(m_height, shape.Height());
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const float d = shape.Distance(x + 0.5f, y + 0.5f);
            const float cover = std::clamp(0.5f - d, 0.0f, 1.0f);
            if (cover < CBalloonShape::kRegionCoverage) continue;  // outside the window
            const float framing = std::clamp(d + frameWidth + 0.5f, 0.0f, 1.0f);
            COLORREF c = MixColor(fill, frame, framing);
            if (cover < 1.0f) c = MixColor(c, kEdgeTone, 1.0f - cover);
            m_pixels[static_cast<size_t>(y) * m_width + x] = Pack(c);
        }
    }
}

void CCloudCanvas::FillRoundRect(const RECT& rect, int radius, COLORREF color) {
    const float cx = (rect.left + rect.right) / 2.0f, cy = (rect.top + rect.bottom) / 2.0f;
    const float hx = (rect.right - rect.left) / 2.0f, hy = (rect.bottom - rect.top) / 2.0f;
    const float r = std::min({static_cast<float>(radius), hx, hy});
    for (int y = std::max<int>(rect.top, 0); y < std::min<int>(rect.bottom, m_height); ++y) {
        for (int x = std::max<int>(rect.left, 0); x < std::min<int>(rect.right, m_width); ++x) {
            const float qx = std::fabs(x + 0.5f - cx) - hx + r, qy = std::fabs(y + 0.5f - cy) - hy + r;
            const float ox = std::max(qx, 0.0f), oy = std::max(qy, 0.0f);
            const float d = std::sqrt(ox * ox + oy * oy) + std::min(std::max(qx, qy), 0.0f) - r;
            Blend(x, y, color, std::clamp(0.5f - d, 0.0f, 1.0f));
        }
    }
}

void CCloudCanvas::FillDisc(float cx, float cy, float radius, COLORREF color) {
    for (int y = static_cast<int>(cy - radius - 1); y <= static_cast<int>(cy + radius + 1); ++y)
        for (int x = static_cast<int>(cx - radius - 1); x <= static_cast<int>(cx + radius + 1); ++x) {
            const float d = std::hypot(x + 0.5f - cx, y + 0.5f - cy) - radius;
            Blend(x, y, color, std::clamp(0.5f - d, 0.0f, 1.0f));
        }
}

void CCloudCanvas::DrawLine(float x0, float y0, float x1, float y1, float width, COLORREF color) {
    const float half = width / 2.0f;
    const int left = static_cast<int>(std::min(x0, x1) - half - 1), right = static_cast<int>(std::max(x0, x1) + half + 1);
    const int top = static_cast<int>(std::min(y0, y1) - half - 1), bottom = static_cast<int>(std::max(y0, y1) + half + 1);
    const float ex = x1 - x0, ey = y1 - y0;
    const float length2 = std::max(ex * ex + ey * ey, 1e-6f);
    for (int y = top; y <= bottom; ++y)
        for (int x = left; x <= right; ++x) {
            const float px = x + 0.5f - x0, py = y + 0.5f - y0;
            const float t = std::clamp((px * ex + py * ey) / length2, 0.0f, 1.0f);
            const float d = std::hypot(px - ex * t, py - ey * t) - half;
            Blend(x, y, color, std::clamp(0.5f - d, 0.0f, 1.0f));
        }
}

void CCloudCanvas::DrawCheck(int x, int y, int size, COLORREF color) {
    const float s = static_cast<float>(size);
    DrawLine(x + 0.15f * s, y + 0.55f * s, x + 0.4f * s, y + 0.8f * s, std::max(2.0f, s / 6), color);
    DrawLine(x + 0.4f * s, y + 0.8f * s, x + 0.88f * s, y + 0.2f * s, std::max(2.0f, s / 6), color);
}

void CCloudCanvas::CopyTo(HDC dc, int x, int y) const {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = m_width;
    info.bmiHeader.biHeight = -m_height;  // top row first
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    ::SetDIBitsToDevice(dc, x, y, m_width, m_height, 0, 0, 0, m_height, m_pixels.data(), &info, DIB_RGB_COLORS);
}
