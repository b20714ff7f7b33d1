#include "CSkinnedLabel.h"

#include "CFont.h"
#include "CScopedSelect.h"

#include <cctype>

CSkinnedLabel::CSkinnedLabel(const char* text) : m_text(text ? text : "") {}
CSkinnedLabel::~CSkinnedLabel() = default;

RECT CSkinnedLabel::GetRect() const {
    if (!m_skin) return RECT{0, 0, 0, 0};
    return RECT{m_skin->X, m_skin->Y, m_skin->X + m_skin->Width, m_skin->Y + m_skin->Height};
}

char CSkinnedLabel::GetAccessKey() const {
    const char* text = m_text;
    for (int i = 0; text[i]; ++i) {
        if (text[i] != '&') continue;
        if (text[i + 1] == '&') {
            ++i;  // "&&" is a plain ampersand
            continue;
        }
        return static_cast<char>(std::toupper(static_cast<unsigned char>(text[i + 1])));
    }
    return 0;
}

void CSkinnedLabel::Draw(HDC dc) {
    if (m_skin && m_skin->Skin) DrawText(dc, false, m_skin->Skin->TextColor);
}

void CSkinnedLabel::DrawText(HDC dc, bool italicUnderline, COLORREF color) {
    if (!dc || !m_skin || !m_skin->Skin) return;
    const SkinBorderInfo_t& skin = *m_skin->Skin;
    CFont font;
    font.CreateFont(skin.TextSize, 0, 0, 0, FW_NORMAL, italicUnderline, italicUnderline, FALSE, DEFAULT_CHARSET,
                    OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE,
                    skin.TextFont.IsEmpty() ? nullptr : static_cast<const char*>(skin.TextFont));
    CScopedSaveDC saved(dc);
    CScopedSelect selected(dc, font.GetSafeHandle());
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, color);
    RECT place = GetRect();
    const UINT flags = DT_LEFT | DT_TOP | (m_skin->WordWrap ? DT_WORDBREAK : DT_SINGLELINE);
    ::DrawTextA(dc, m_text, m_text.GetLength(), &place, flags);
}
