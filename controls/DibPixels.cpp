#include "DibPixels.h"

DibPixels::DibPixels(HBITMAP bitmap) {
    DIBSECTION section{};
    if (!bitmap || ::GetObjectA(bitmap, sizeof section, &section) != sizeof section) return;
    if (!section.dsBm.bmBits || section.dsBm.bmWidth <= 0 || section.dsBm.bmHeight <= 0) return;
    ::GdiFlush();
    m_bits = static_cast<uint8_t*>(section.dsBm.bmBits);
    m_width = section.dsBm.bmWidth;
    m_height = section.dsBm.bmHeight;
    m_bitCount = section.dsBmih.biBitCount;
    m_stride = section.dsBm.bmWidthBytes;
    m_bottomUp = section.dsBmih.biHeight > 0;
    m_compression = section.dsBmih.biCompression;
    for (int i = 0; i < 3; ++i) m_masks[i] = section.dsBitfields[i];
}
