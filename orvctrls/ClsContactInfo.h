#pragma once
// One person in a result list or at an end of the path finder: a copy of
// the contact record, its display name and what drawing caches about it.
#include "OrvContactInfo.h"
#include "OrvCtrlsExport.h"

#include "CObject.h"
#include "CString.h"

#include <windows.h>

class ORVCTRLS_API ClsContactInfo : public CObject {
public:
    ClsContactInfo();
    // Copies every field of contact (null: an empty record).
    explicit ClsContactInfo(const ORVCONTACTINFO* contact, COLORREF textColor = RGB(0, 0, 0));
    ClsContactInfo(const ClsContactInfo&) = default;
    ClsContactInfo& operator=(const ClsContactInfo&) = default;
    ~ClsContactInfo() override;

    const ORVCONTACTINFO& GetContact() const { return m_contact; }
    // Copies the record (null clears it) and computes the display name.
    void SetContact(const ORVCONTACTINFO* contact);
    bool IsEmpty() const { return m_empty; }
    const CString& GetDisplayName() const { return m_displayName; }

    // The three text colours; isMember chooses the one drawn (0 the first,
    // non-zero the second).
    void SetTextColors(COLORREF color);
    COLORREF GetTextColor() const { return m_colors[m_contact.isMember ? 1 : 0]; }

    // The name's width and left edge in the drawn row (hit-testing).
    int GetTextWidth() const { return m_textWidth; }
    void SetTextWidth(int width) { m_textWidth = width; }
    int GetTextX() const { return m_textX; }
    void SetTextX(int x) { m_textX = x; }

    const char* GetRuntimeClassName() const override;

private:
    ORVCONTACTINFO m_contact;
    bool m_empty = true;
    COLORREF m_colors[3] = {};
    CString m_displayName;
    int m_textWidth = 0;
    int m_textX = 0;
};
