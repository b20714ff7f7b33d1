#include "CSelectedBitmap.h"

bool CSelectedBitmap::Create(int width, int height) {
    Clear();
    void* bits = nullptr;
    if (!m_bitmap.CreateDIBSection(width, height, 32, &bits) || !bits) return false;
    if (!m_dc.CreateCompatibleDC(static_cast<HDC>(nullptr))) {
        m_bitmap.DeleteObject();
        return false;
    }
    m_previous = ::SelectObject(m_dc, m_bitmap);
    m_bits = static_cast<uint32_t*>(bits);
    m_size = CSize(width, height);
    return true;
}

void CSelectedBitmap::Clear() {
    if (m_previous) ::SelectObject(m_dc, m_previous);
    m_previous = nullptr;
    m_dc.DeleteDC();
    m_bitmap.DeleteObject();
    m_bits = nullptr;
    m_size = CSize(0, 0);
}
