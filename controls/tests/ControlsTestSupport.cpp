#include "ControlsTestSupport.h"

#include "BitmapFile.h"
#include "TestSupport.h"

namespace ctltest {

Canvas::Canvas(int width, int height, COLORREF fill) : m_width(width), m_height(height) {
    m_dc.CreateCompatibleDC(static_cast<HDC>(nullptr));
    m_bitmap.CreateDIBSection(width, height, 32);
    m_old = ::SelectObject(m_dc, m_bitmap);
    Fill(fill);
}

Canvas::~Canvas() {
    if (m_old) ::SelectObject(m_dc, m_old);
}

COLORREF Canvas::Pixel(int x, int y) const { return ::GetPixel(m_dc, x, y); }

void Canvas::Fill(COLORREF color) { m_dc.FillSolidRect(0, 0, m_width, m_height, color); }

bool Canvas::Save(const std::string& name) const {
    ::GdiFlush();
    return orvtest::SaveBitmapFile(m_bitmap, orvtest::ArtifactPath(name));
}

namespace {
struct Cell {
    int x, y, width, height;
    COLORREF first, rest;  // first column (horizontal cells) or row, the rest
    bool byColumn;
};

// Cells of band 0 of the test skin.
const Cell kCells[] = {
    {0, 0, 4, 3, RGB(200, 0, 0), RGB(200, 0, 0), true},        // left-top corner
    {4, 0, 6, 3, RGB(0, 200, 0), RGB(0, 200, 0), true},        // right-top corner
    {0, 3, 4, 5, RGB(0, 0, 200), RGB(0, 0, 200), true},        // left-bottom corner
    {4, 3, 6, 5, RGB(200, 200, 0), RGB(200, 200, 0), true},    // right-bottom corner
    {10, 0, 7, 3, RGB(0, 200, 200), RGB(0, 100, 100), true},   // top edge
    {17, 0, 5, 5, RGB(150, 0, 150), RGB(90, 0, 90), true},     // bottom edge
    {22, 0, 4, 6, RGB(255, 128, 0), RGB(128, 64, 0), false},   // left edge
    {26, 0, 6, 4, RGB(0, 128, 255), RGB(0, 64, 128), false},   // right edge
};
const int kContentX = 32, kContentY = 0, kContentWidth = 8, kContentHeight = 6;
const int kImageWidth = 40;
}  // namespace

COLORREF SkinImagePixel(int x, int y) {
    for (const Cell& cell : kCells) {
        if (x < cell.x || x >= cell.x + cell.width || y < cell.y || y >= cell.y + cell.height) continue;
        const bool first = cell.byColumn ? x == cell.x : y == cell.y;
        return first ? cell.first : cell.rest;
    }
    if (x >= kContentX && x < kContentX + kContentWidth && y >= kContentY && y < kContentY + kContentHeight)
        return RGB(100 + 10 * (x - kContentX), 50 + 20 * (y - kContentY), 30);
    return RGB(128, 128, 128);
}

NinePartSkin MakeNinePartSkin() {
    NinePartSkin skin;
    skin.frame = NewControlBorderInfo();
    ControlBorderInfo_t& f = *skin.frame;
    f.LeftBorderWidth = 4;
    f.RightBorderWidth = 6;
    f.TopBorderWidth = 3;
    f.BottomBorderWidth = 5;
    f.LeftTopCornerX = 0, f.LeftTopCornerY = 0;
    f.RightTopCornerX = 4, f.RightTopCornerY = 0;
    f.LeftBottomCornerX = 0, f.LeftBottomCornerY = 3;
    f.RightBottomCornerX = 4, f.RightBottomCornerY = 3;
    f.TopBorderX = 10, f.TopBorderY = 0, f.TopBorderLength = 7;
    f.BottomBorderX = 17, f.BottomBorderY = 0, f.BottomBorderLength = 5;
    f.LeftBorderX = 22, f.LeftBorderY = 0, f.LeftBorderLength = 6;
    f.RightBorderX = 26, f.RightBorderY = 0, f.RightBorderLength = 4;
    f.ContentX = kContentX, f.ContentY = kContentY;
    f.ContentWidth = kContentWidth, f.ContentHeight = kContentHeight;
    f.BgColor = RGB(192, 192, 192);
    f.InterationStep = NinePartSkin::kBandHeight;
    // Band 1 (the second state) is band 0 at half brightness.
    f.MainImage = MakeImage(kImageWidth, 2 * NinePartSkin::kBandHeight, [](int x, int y) {
                      const COLORREF c = SkinImagePixel(x, y % NinePartSkin::kBandHeight);
                      if (y < NinePartSkin::kBandHeight) return c;
                      return RGB(GetRValue(c) / 2, GetGValue(c) / 2, GetBValue(c) / 2);
                  }).release();
    return skin;
}

std::vector<COLORREF> ExpectedFrame(const ControlBorderInfo_t& c, int width, int height,
                                    COLORREF background) {
    std::vector<COLORREF> pixels(static_cast<size_t>(width) * height, background);
    // Copies a whole cell to (x, y), clipped to the area.
    auto put = [&](int x, int y, int w, int h, int sx, int sy) {
        for (int j = 0; j < h; ++j)
            for (int i = 0; i < w; ++i)
                if (x + i >= 0 && x + i < width && y + j >= 0 && y + j < height)
                    pixels[static_cast<size_t>(y + j) * width + x + i] = SkinImagePixel(sx + i, sy + j);
    };
    const int right = width - c.RightBorderWidth, bottom = height - c.BottomBorderWidth;
    for (int x = c.LeftBorderWidth; x < right; x += c.TopBorderLength)
        put(x, 0, c.TopBorderLength, c.TopBorderWidth, c.TopBorderX, c.TopBorderY);
    for (int x = c.LeftBorderWidth; x < right; x += c.BottomBorderLength)
        put(x, bottom, c.BottomBorderLength, c.BottomBorderWidth, c.BottomBorderX, c.BottomBorderY);
    for (int y = c.TopBorderWidth; y < bottom; y += c.LeftBorderLength)
        put(0, y, c.LeftBorderWidth, c.LeftBorderLength, c.LeftBorderX, c.LeftBorderY);
    for (int y = c.TopBorderWidth; y < bottom; y += c.RightBorderLength)
        put(right, y, c.RightBorderWidth, c.RightBorderLength, c.RightBorderX, c.RightBorderY);
    put(0, 0, c.LeftBorderWidth, c.TopBorderWidth, c.LeftTopCornerX, c.LeftTopCornerY);
    put(right, 0, c.RightBorderWidth, c.TopBorderWidth, c.RightTopCornerX, c.RightTopCornerY);
    put(0, bottom, c.LeftBorderWidth, c.BottomBorderWidth, c.LeftBottomCornerX, c.LeftBottomCornerY);
    put(right, bottom, c.RightBorderWidth, c.BottomBorderWidth, c.RightBottomCornerX, c.RightBottomCornerY);
    return pixels;
}

HBITMAP CaptureWindow(HWND window) {
    RECT bounds{};
    if (!window || !::GetWindowRect(window, &bounds)) return nullptr;
    const int width = bounds.right - bounds.left, height = bounds.bottom - bounds.top;
    CBitmap bitmap;
    if (!bitmap.CreateDIBSection(width, height, 32)) return nullptr;
    HDC memory = ::CreateCompatibleDC(nullptr);
    HGDIOBJ old = ::SelectObject(memory, bitmap);
    HDC source = ::GetWindowDC(window);
    const bool ok = ::BitBlt(memory, 0, 0, width, height, source, 0, 0, SRCCOPY) != 0;
    ::ReleaseDC(window, source);
    ::SelectObject(memory, old);
    ::DeleteDC(memory);
    return ok ? static_cast<HBITMAP>(bitmap.Detach()) : nullptr;
}

int CountGdiObjects() {
    if (const DWORD counted = ::GetGuiResources(::GetCurrentProcess(), GR_GDIOBJECTS)) return static_cast<int>(counted);
    // Wine does not count; it accepts a handle's bare table index, so every
    // live object answers its type at its index.
    int live = 0;
    for (UINT_PTR index = 1; index < 0x10000; ++index)
        if (::GetObjectType(reinterpret_cast<HGDIOBJ>(index))) ++live;
    return live;
}

COLORREF ImagePixel(const ClsBitMap& image, int x, int y) {
    if (!image.GetIsValid() || x < 0 || y < 0 || x >= image.GetWidth() || y >= image.GetHeight()) return CLR_INVALID;
    ClsBitMap& source = const_cast<ClsBitMap&>(image);
    ClsBitMap::ScopedLock locked(source);
    CDC* dc = source.Lock();
    return dc ? ::GetPixel(dc->GetSafeHdc(), x, y) : CLR_INVALID;
}

}  // namespace ctltest
