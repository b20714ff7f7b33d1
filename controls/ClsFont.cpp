#include "ClsFont.h"

ClsFont::ClsFont() : m_name("Arial") {}

ClsFont::ClsFont(const ClsFont& other)
    : CFont(), m_color(other.m_color), m_height(other.m_height), m_name(other.m_name),
      m_style(other.m_style) {}

ClsFont& ClsFont::operator=(const ClsFont& other) {
    if (this == &other) return *this;
    CGdiObject::DeleteObject();
    m_color = other.m_color;
    m_height = other.m_height;
    m_name = other.m_name;
    m_style = other.m_style;
    return *this;
}

void ClsFont::SetName(const char* name) {
    CGdiObject::DeleteObject();
    m_name = name ? name : "";
}

void ClsFont::SetHeight(int32_t height) {
    CGdiObject::DeleteObject();
    m_height = height;
}

void ClsFont::SetStyle(FontStyles_t style) {
    CGdiObject::DeleteObject();
    m_style = style;
}

HFONT ClsFont::GetHandle() {
    HandleNeeded();
    return static_cast<HFONT>(m_hObject);
}

void ClsFont::HandleNeeded() {
    if (m_hObject) return;
    CreateFont(m_height, 0, 0, 0, GetBold() ? FW_BOLD : FW_NORMAL, GetItalic(), GetUnderline(),
               GetStrikeOut(), DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
               DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, m_name);
}

void ClsFont::SetHandle(HFONT font) {
    CGdiObject::DeleteObject();
    LOGFONTA description{};
    if (font && ::GetObjectType(font) == OBJ_FONT &&
        ::GetObjectA(font, sizeof description, &description) != 0) {
        m_height = description.lfHeight;
        description.lfFaceName[LF_FACESIZE - 1] = '\0';
        m_name = description.lfFaceName;
        m_style = (description.lfWeight >= FW_BOLD ? fsBold : 0) | (description.lfItalic ? fsItalic : 0) |
                  (description.lfUnderline ? fsUnderline : 0) |
                  (description.lfStrikeOut ? fsStrikeOut : 0);
        Attach(font);
        return;
    }
    m_name = "Arial";
    m_height = 14;
    m_color = RGB(255, 255, 255);
    m_style = 0;
}

const char* ClsFont::GetRuntimeClassName() const { return "ClsFont"; }
