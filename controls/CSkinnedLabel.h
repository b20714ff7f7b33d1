#pragma once
// A text drawn straight into its host's drawing context, in the face, size
// and colour of the skin's Labels record, at the place its label record
// gives. No window of its own: the host calls Draw while it paints.
#include "ControlsExport.h"
#include "LabelSkinInfo.h"

#include "CString.h"

#include <windows.h>

class CTL_API CSkinnedLabel {
public:
    explicit CSkinnedLabel(const char* text = nullptr);
    virtual ~CSkinnedLabel();
    CSkinnedLabel(const CSkinnedLabel&) = delete;
    CSkinnedLabel& operator=(const CSkinnedLabel&) = delete;

    const CString& GetText() const { return m_text; }
    void SetText(const char* text) { m_text = text ? text : ""; }
    LabelSkinInfo_t* GetSkinInfo() const { return m_skin; }
    void SetSkinInfo(LabelSkinInfo_t* skin) { m_skin = skin; }
    // The place, in the host's coordinates; empty without a record.
    RECT GetRect() const;
    // The character after a single '&' (shown underlined), upper case; 0
    // when the text has none. The host routes Alt with it to the field the
    // label names.
    char GetAccessKey() const;

    // With a record and its skin: the text in the record's rectangle, left
    // and top aligned, transparent, wrapped at word ends when the record
    // says so, else one line cut at the right edge. The context is left as
    // it was.
    virtual void Draw(HDC dc);

protected:
    // The text in the record's face and size, italic and underlined when
    // asked, in color.
    void DrawText(HDC dc, bool italicUnderline, COLORREF color);

    CString m_text;
    LabelSkinInfo_t* m_skin = nullptr;
};
