#include "ClsContactInfo.h"

ClsContactInfo::ClsContactInfo() = default;

ClsContactInfo::ClsContactInfo(const ORVCONTACTINFO* contact, COLORREF textColor) {
    SetContact(contact);
    SetTextColors(textColor);
}

ClsContactInfo::~ClsContactInfo() = default;

void ClsContactInfo::SetContact(const ORVCONTACTINFO* contact) {
    m_contact = contact ? *contact : ORVCONTACTINFO();
    m_empty = contact == nullptr;
    m_displayName = OrvDisplayName(m_contact);
    m_textWidth = 0;
    m_textX = 0;
}

void ClsContactInfo::SetTextColors(COLORREF color) {
    for (COLORREF& each : m_colors) each = color;
}

const char* ClsContactInfo::GetRuntimeClassName() const { return "ClsContactInfo"; }
