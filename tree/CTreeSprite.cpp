#include "CTreeSprite.h"

#include "ClsBitMap.h"

#include <cstdint>
#include <vector>

void CTreeSprite::Build(const ClsBitMap& image) {
    m_image.Clear();
    const CSize size = image.GetSize();
    if (!image.GetIsValid() || size.cx <= 0 || size.cy <= 0) return;
    // The image's pixels, top-down, 32 bits each.
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = size.cx;
    info.bmiHeader.biHeight = -size.cy;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    std::vector<uint32_t> pixels(static_cast<size_t>(size.cx) * static_cast<size_t>(size.cy));
    HDC screen = ::GetDC(nullptr);
    const int rows = ::GetDIBits(screen, image.GetHandle(), 0, static_cast<UINT>(size.cy), pixels.data(),
                                 &info, DIB_RGB_COLORS);
    ::ReleaseDC(nullptr, screen);
    if (rows != size.cy || !m_image.Create(size.cx, size.cy)) return;
    // Opaque pixels keep their colour with full alpha; magenta ones vanish.
    uint32_t* target = m_image.GetBits();
    const uint32_t key = 0x00FF00FF;  // blue, green, red of magenta in pixel order
    for (size_t i = 0; i < pixels.size(); ++i) {
        const uint32_t colour = pixels[i] & 0x00FFFFFF;
        target[i] = colour == key ? 0 : (colour | 0xFF000000u);
    }
}

void CTreeSprite::Draw(HDC dc, int x, int y, int width, int height, int sourceX, int sourceY) const {
    if (IsEmpty() || !dc || width <= 0 || height <= 0) return;
    BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    ::GdiAlphaBlend(dc, x, y, width, height, m_image.GetDC(), sourceX, sourceY, width, height, blend);
}
