#include "ClsRowBuffer.h"

ClsRowBuffer::ClsRowBuffer(HDC target, const RECT& area)
    : m_target(target), m_area(area), m_dc(::CreateCompatibleDC(target)),
      m_bitmap(Width() > 0 && Height() > 0 ? ::CreateCompatibleBitmap(target, Width(), Height()) : nullptr) {
    if (m_dc && m_bitmap) {
        m_old = ::SelectObject(m_dc, m_bitmap);
        ::SetViewportOrgEx(m_dc, -area.left, -area.top, nullptr);
    }
}

ClsRowBuffer::~ClsRowBuffer() {
    if (IsValid()) {
        ::SetViewportOrgEx(m_dc, 0, 0, nullptr);
        ::BitBlt(m_target, m_area.left, m_area.top, Width(), Height(), m_dc, 0, 0, SRCCOPY);
        ::SelectObject(m_dc, m_old);
    }
    if (m_bitmap) ::DeleteObject(m_bitmap);
    if (m_dc) ::DeleteDC(m_dc);
}
