#include "CActiveSkinnedLabel.h"

CActiveSkinnedLabel::CActiveSkinnedLabel(const char* text) : CSkinnedLabel(text) {}
CActiveSkinnedLabel::~CActiveSkinnedLabel() = default;

void CActiveSkinnedLabel::Draw(HDC dc) { DrawText(dc, true, kLinkColor); }

bool CActiveSkinnedLabel::HitTest(int x, int y) const {
    if (!m_skin) return false;
    return x >= m_skin->X && x < m_skin->X + m_skin->Width && y >= m_skin->Y && y < m_skin->Y + m_skin->Height;
}
