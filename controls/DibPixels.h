#pragma once
// Internal to controls.dll: direct access to the pixels of a DIB section.
#include <windows.h>

#include <cstdint>

// The pixel memory of a DIB section, addressed by image row from the top
// whatever the section's orientation. Invalid for bitmaps that are not
// sections. The bitmap must outlive the object; call GdiFlush (done here on
// construction) before reading what GDI drew.
class DibPixels {
public:
    explicit DibPixels(HBITMAP bitmap);

    bool IsValid() const { return m_bits != nullptr; }
    int Width() const { return m_width; }
    int Height() const { return m_height; }
    int BitCount() const { return m_bitCount; }
    DWORD Compression() const { return m_compression; }
    // Colour masks of a BI_BITFIELDS section (red, green, blue).
    const DWORD* Masks() const { return m_masks; }
    int Stride() const { return m_stride; }
    uint8_t* Row(int y) const {
        const int memoryRow = m_bottomUp ? m_height - 1 - y : y;
        return m_bits + static_cast<ptrdiff_t>(memoryRow) * m_stride;
    }
    uint32_t* Row32(int y) const { return reinterpret_cast<uint32_t*>(Row(y)); }

    // Bytes of one row of a DIB of that width and depth, padded to 4.
    static int64_t StrideOf(int64_t width, int bitCount) {
        return ((width * bitCount + 31) / 32) * 4;
    }

private:
    uint8_t* m_bits = nullptr;
    int m_width = 0;
    int m_height = 0;
    int m_bitCount = 0;
    int m_stride = 0;
    bool m_bottomUp = true;
    DWORD m_compression = BI_RGB;
    DWORD m_masks[3] = {0, 0, 0};
};
