#include "CBalloonShape.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

float Dot(float ax, float ay, float bx, float by) { return ax * bx + ay * by; }

// Signed distance to triangle a, b, c (negative inside).
float TriangleDistance(float px, float py, const float (&v)[3][2]) {
    float best = 1e30f;
    float sign = 1.0f;
    const float orientation = (v[1][0] - v[0][0]) * (v[2][1] - v[0][1]) - (v[1][1] - v[0][1]) * (v[2][0] - v[0][0]);
    int inside = 0;
    for (int i = 0; i < 3; ++i) {
        const float* a = v[i];
        const float* b = v[(i + 1) % 3];
        const float ex = b[0] - a[0], ey = b[1] - a[1];
        const float wx = px - a[0], wy = py - a[1];
        const float t = std::clamp(Dot(wx, wy, ex, ey) / Dot(ex, ey, ex, ey), 0.0f, 1.0f);
        const float qx = wx - ex * t, qy = wy - ey * t;
        best = std::min(best, Dot(qx, qy, qx, qy));
        const float cross = ex * wy - ey * wx;
        if ((orientation >= 0 && cross >= 0) || (orientation < 0 && cross <= 0)) ++inside;
    }
    if (inside == 3) sign = -1.0f;
    return sign * std::sqrt(best);
}

}  // namespace

CBalloonShape::CBalloonShape(int width, int height, Tail tail, int tipX, int radius)
    : m_width(std::max(width, 1)), m_height(std::max(height, 1)), m_tail(tail), m_radius(std::max(radius, 0)) {
    m_body = {0, 0, m_width, m_height};
    if (m_tail == tailDown) m_body.bottom = std::max(1, m_height - kTailHeight);
    if (m_tail == tailUp) m_body.top = std::min(m_height - 1, kTailHeight);
    const int bodyHeight = m_body.bottom - m_body.top;
    m_radius = std::min({m_radius, m_width / 2, bodyHeight / 2});
    if (m_tail == tailNone) return;
    // The tail stays clear of the rounded corners, so its sides meet the
    // body's straight edge.
    const int low = m_radius + kTailHalfWidth + 2, high = m_width - m_radius - kTailHalfWidth - 2;
    const int baseX = low <= high ? std::clamp(tipX, low, high) : m_width / 2;
    // The tip may lean towards the point outside the body's straight part.
    m_tip.x = std::clamp(tipX, 1, m_width - 2);
    // The base lies a few pixels inside the body so that no seam shows.
    const int inset = 6;
    if (m_tail == tailDown) {
        m_tip.y = m_height;
        m_base[0] = {baseX - kTailHalfWidth, m_body.bottom - inset};
        m_base[1] = {baseX + kTailHalfWidth, m_body.bottom - inset};
    } else {
        m_tip.y = 0;
        m_base[0] = {baseX - kTailHalfWidth, m_body.top + inset};
        m_base[1] = {baseX + kTailHalfWidth, m_body.top + inset};
    }
}

float CBalloonShape::BodyDistance(float x, float y) const {
    const float cx = (m_body.left + m_body.right) / 2.0f, cy = (m_body.top + m_body.bottom) / 2.0f;
    const float hx = (m_body.right - m_body.left) / 2.0f, hy = (m_body.bottom - m_body.top) / 2.0f;
    const float r = static_cast<float>(m_radius);
    const float qx = std::fabs(x - cx) - hx + r, qy = std::fabs(y - cy) - hy + r;
    const float ox = std::max(qx, 0.0f), oy = std::max(qy, 0.0f);
    return std::sqrt(ox * ox + oy * oy) + std::min(std::max(qx, qy), 0.0f) - r;
}

float CBalloonShape::TailDistance(float x, float y) const {
    if (m_tail == tailNone) return 1e30f;
    const float v[3][2] = {{static_cast<float>(m_base[0].x), static_cast<float>(m_base[0].y)},
                           {static_cast<float>(m_tip.x), static_cast<float>(m_tip.y)},
                           {static_cast<float>(m_base[1].x), static_cast<float>(m_base[1].y)}};
    return TriangleDistance(x, y, v);
}

float CBalloonShape::Distance(float x, float y) const { return std::min(BodyDistance(x, y), TailDistance(x, y)); }

float CBalloonShape::Coverage(int x, int y) const {
    return std::clamp(0.5f - Distance(x + 0.5f, y + 0.5f), 0.0f, 1.0f);
}

HRGN CBalloonShape::MakeRegion() const {
    std::vector<RECT> runs;
    for (int y = 0; y < m_height; ++y) {
        int start = -1;
        for (int x = 0; x <= m_width; ++x) {
            const bool in = x < m_width && Contains(x, y);
            if (in && start < 0) start = x;
            if (!in && start >= 0) {
                runs.push_back({start, y, x, y + 1});
                start = -1;
            }
        }
    }
    std::vector<unsigned char> data(sizeof(RGNDATAHEADER) + runs.size() * sizeof(RECT));
    auto* header = reinterpret_cast<RGNDATAHEADER*>(data.data());
    header->dwSize = sizeof(RGNDATAHEADER);
    header->iType = RDH_RECTANGLES;
    header->nCount = static_cast<DWORD>(runs.size());
    header->nRgnSize = static_cast<DWORD>(runs.size() * sizeof(RECT));
    header->rcBound = {0, 0, m_width, m_height};
    if (!runs.empty()) std::copy(runs.begin(), runs.end(), reinterpret_cast<RECT*>(data.data() + sizeof(RGNDATAHEADER)));
    return ::ExtCreateRegion(nullptr, static_cast<DWORD>(data.size()), reinterpret_cast<const RGNDATA*>(data.data()));
}
