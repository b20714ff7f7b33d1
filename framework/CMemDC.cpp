#include "CMemDC.h"

CMemDC::CMemDC(CDC& target, const RECT& area) : m_target(target.GetSafeHdc()), m_area(area) {
    m_area.NormalizeRect();
    if (!m_target) return;
    if (!m_area.IsRectEmpty() && CreateCompatibleDC(m_target) &&
        m_bitmap.CreateCompatibleBitmap(m_target, m_area.Width(), m_area.Height())) {
        m_oldBitmap = ::SelectObject(m_hDC, m_bitmap);
        ::SetViewportOrgEx(m_hDC, -m_area.left, -m_area.top, nullptr);
        // Text drawn into the buffer should look as it would on the target.
        ::SelectObject(m_hDC, ::GetCurrentObject(m_target, OBJ_FONT));
        ::SetTextColor(m_hDC, ::GetTextColor(m_target));
        ::SetBkColor(m_hDC, ::GetBkColor(m_target));
        ::SetBkMode(m_hDC, ::GetBkMode(m_target));
        m_buffered = true;
        m_pending = true;
    } else {
        DeleteDC();
        Take(m_target, Release::None, nullptr);
    }
}

CMemDC::~CMemDC() {
    Flush();
    if (m_buffered && m_oldBitmap) ::SelectObject(m_hDC, m_oldBitmap);
}

void CMemDC::Flush() {
    if (!m_pending) return;
    m_pending = false;
    ::BitBlt(m_target, m_area.left, m_area.top, m_area.Width(), m_area.Height(), m_hDC,
             m_area.left, m_area.top, SRCCOPY);
}
