#include "ClsSkinnedHeaderButton.h"

int ClsSkinnedHeaderButton::GetBand() const {
    if (!m_enabled) return 3;
    if (m_hovered) return m_pushed ? 2 : 1;
    return 0;
}

void ClsSkinnedHeaderButton::Draw(CDC* dc) const {
    const int height = GetHeight();
    if (!dc || !m_image.GetIsValid() || height <= 0) return;
    const CRect source(0, GetBand() * height, GetWidth(), (GetBand() + 1) * height);
    const CRect target = GetRect();
    m_image.DrawTransparent(dc, &target, &source);
}
