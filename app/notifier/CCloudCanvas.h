#pragma once
// The pixels of one cloud pop-up, painted in memory with smooth edges (GDI
// draws shapes without anti-aliasing): the balloon with its frame, round
// buttons, the menu's markers and check mark. Text and bitmaps go on top
// with GDI once the pixels are copied to the window's context.
#include "CBalloonShape.h"

#include <windows.h>

#include <cstdint>
#include <vector>

class CCloudCanvas {
public:
    CCloudCanvas(int width, int height, COLORREF background = RGB(255, 255, 255));

    int Width() const { return m_width; }
    int Height() const { return m_height; }
    COLORREF At(int x, int y) const;

    // The balloon: fill inside, a frame of frameWidth along the outline,
    // and the partly covered edge pixels blended towards a neutral tone so
    // the cut edge of the window looks soft on any desktop.
    void PaintBalloon(const CBalloonShape& shape, COLORREF fill, COLORREF frame, float frameWidth);
    void FillRoundRect(const RECT& rect, int radius, COLORREF color);
    void FillDisc(float cx, float cy, float radius, COLORREF color);
    // A line of the given width with round ends.
    void DrawLine(float x0, float y0, float x1, float y1, float width, COLORREF color);
    // A check mark inside a box of size x size at (x, y).
    void DrawCheck(int x, int y, int size, COLORREF color);

    // Copies the pixels to dc at (x, y).
    void CopyTo(HDC dc, int x, int y) const;

private:
    void Blend(int x, int y, COLORREF color, float amount);

    int m_width;
    int m_height;
    std::vector<uint32_t> m_pixels;  // 0x00RRGGBB, top row first
};

// colour a blended towards b by t (0 = a, 1 = b).
COLORREF MixColor(COLORREF a, COLORREF b, float t);
