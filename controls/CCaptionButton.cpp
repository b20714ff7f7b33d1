#include "CCaptionButton.h"

#include "ClsBitMap.h"

CCaptionButton::CCaptionButton(CCaption* owner, int column, UINT hitTest)
    : m_owner(owner), m_column(column), m_hitTest(hitTest) {}

int CCaptionButton::GetRow() const {
    if (!m_enabled) return 3;
    if (m_pressed) return 2;
    if (m_hover) return 1;
    return 0;
}

void CCaptionButton::Draw(CDC* dc, const ClsBitMap& grid, int cellWidth, int cellHeight) const {
    if (!dc || !m_visible || m_rect.IsRectEmpty() || cellWidth <= 0 || cellHeight <= 0) return;
    // A button squeezed at the window's left end shows the left part of its
    // picture, never a shrunk one.
    const CRect source(m_column * cellWidth, GetRow() * cellHeight,
                       m_column * cellWidth + m_rect.Width(), GetRow() * cellHeight + m_rect.Height());
    grid.DrawTransparent(dc, &m_rect, &source);
}
