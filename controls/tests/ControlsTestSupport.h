#pragma once
// Shared pieces of the controls.dll tests: a white 32-bit canvas to draw on
// and read back, a synthetic nine-part skin whose every cell has its own
// colours, screen captures and a count of the process's GDI objects.
#include "BitmapFile.h"
#include "ClsBitMap.h"
#include "SkinBorderInfo.h"

#include "CBitmap.h"
#include "CDC.h"

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

namespace ctltest {

const COLORREF kWhite = RGB(255, 255, 255);
const COLORREF kMagenta = RGB(255, 0, 255);

// A memory context over a top-down 32-bit section, filled with a colour.
class Canvas {
public:
    Canvas(int width, int height, COLORREF fill = kWhite);
    ~Canvas();
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    CDC& DC() { return m_dc; }
    HDC Hdc() const { return m_dc.GetSafeHdc(); }
    HBITMAP Bitmap() const { return m_bitmap; }
    int Width() const { return m_width; }
    int Height() const { return m_height; }
    COLORREF Pixel(int x, int y) const;
    void Fill(COLORREF color);
    // Saved under the test artifacts.
    bool Save(const std::string& name) const;

private:
    CDC m_dc;
    CBitmap m_bitmap;
    HGDIOBJ m_old = nullptr;
    int m_width;
    int m_height;
};

// A 32-bit ClsBitMap whose pixels come from colorAt(x, y).
template <class ColorAt>
std::unique_ptr<ClsBitMap> MakeImage(int width, int height, ColorAt colorAt) {
    auto image = std::make_unique<ClsBitMap>();
    if (!image->AllocateBitMap(width, height, pf32bit)) return nullptr;
    CDC* dc = image->Lock();
    if (!dc) return nullptr;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) ::SetPixelV(*dc, x, y, colorAt(x, y));
    image->Unlock();
    return image;
}

// The nine-part test skin: two state bands of 16 rows (the second darker),
// borders left 4, right 6, top 3, bottom 5, edge cells of lengths 6 (left),
// 4 (right), 7 (top), 5 (bottom), content cell 8 x 6. Every cell's first
// column or row has its own colour, so tiling can be followed pixel by pixel.
struct NinePartSkin {
    ControlBorderInfoPtr frame;  // owns its image
    static const int kBandHeight = 16;
};
NinePartSkin MakeNinePartSkin();
// The colour the skin's image has at (x, y) of band 0.
COLORREF SkinImagePixel(int x, int y);

// What the frame drawing must leave on a width x height area painted with
// "background" first: the edges and corners of the test skin in their
// order, everything else background.
std::vector<COLORREF> ExpectedFrame(const ControlBorderInfo_t& cells, int width, int height,
                                    COLORREF background);

// The whole window as it shows (its window context), as a 32-bit bitmap
// the caller deletes; null on failure.
HBITMAP CaptureWindow(HWND window);

// Live GDI objects of this process.
int CountGdiObjects();

// The colour of a skin bitmap's pixel; CLR_INVALID outside.
COLORREF ImagePixel(const ClsBitMap& image, int x, int y);

using orvtest::Describe;

}  // namespace ctltest
