#pragma once
// The outline of a cloud pop-up: a rounded body with a pointed tail towards
// the place it belongs to (the tray icon), as a signed distance field so
// that its edges can be painted smooth and its window region cut from the
// same outline.
#include <windows.h>

class CBalloonShape {
public:
    enum Tail { tailNone, tailDown, tailUp };
    static constexpr int kTailHeight = 14;
    static constexpr int kTailHalfWidth = 11;

    // A window of width x height. With a tail, the body leaves kTailHeight
    // pixels free on the tail's side and the tail's tip lies on the
    // window's edge at tipX (kept clear of the rounded corners).
    CBalloonShape(int width, int height, Tail tail, int tipX, int radius);

    int Width() const { return m_width; }
    int Height() const { return m_height; }
    Tail GetTail() const { return m_tail; }
    // The body's rectangle in window coordinates.
    RECT Body() const { return m_body; }
    POINT Tip() const { return m_tip; }

    // Signed distance of (x, y) from the outline: negative inside.
    float Distance(float x, float y) const;
    // How much of pixel (x, y) the shape covers, 0 to 1.
    float Coverage(int x, int y) const;
    // Pixels covered at least this much belong to the window.
    static constexpr float kRegionCoverage = 0.3f;
    bool Contains(int x, int y) const { return Coverage(x, y) >= kRegionCoverage; }
    // The window region of the shape; the caller owns it (null on failure).
    HRGN MakeRegion() const;

private:
    float BodyDistance(float x, float y) const;
    float TailDistance(float x, float y) const;

    int m_width;
    int m_height;
    Tail m_tail;
    int m_radius;
    RECT m_body{};
    POINT m_tip{};
    POINT m_base[2]{};  // the tail's base corners, inside the body
};
