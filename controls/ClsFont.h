#pragma once
#include "ControlsExport.h"

#include "CFont.h"
#include "CString.h"

#include <cstdint>

// Style bits of a ClsFont.
using FontStyles_t = uint32_t;
constexpr FontStyles_t fsBold = 1;
constexpr FontStyles_t fsItalic = 2;
constexpr FontStyles_t fsUnderline = 4;
constexpr FontStyles_t fsStrikeOut = 8;

// A font description (colour, height, face, style) whose font handle is made
// only when asked for (GetHandle or the conversion to HFONT) and dropped
// whenever height, face or style are set. Copies take the description,
// never the handle.
class CTL_API ClsFont : public CFont {
public:
    ClsFont();
    ClsFont(const ClsFont& other);
    ClsFont& operator=(const ClsFont& other);

    const CString& GetName() const { return m_name; }
    void SetName(const char* name);
    int32_t GetHeight() const { return m_height; }
    // The logical height handed unchanged to the system.
    void SetHeight(int32_t height);
    FontStyles_t GetStyle() const { return m_style; }
    void SetStyle(FontStyles_t style);
    bool GetBold() const { return (m_style & fsBold) != 0; }
    void SetBold(bool bold) { SetStyleBit(fsBold, bold); }
    bool GetItalic() const { return (m_style & fsItalic) != 0; }
    void SetItalic(bool italic) { SetStyleBit(fsItalic, italic); }
    bool GetUnderline() const { return (m_style & fsUnderline) != 0; }
    void SetUnderline(bool underline) { SetStyleBit(fsUnderline, underline); }
    bool GetStrikeOut() const { return (m_style & fsStrikeOut) != 0; }
    void SetStrikeOut(bool strikeOut) { SetStyleBit(fsStrikeOut, strikeOut); }
    COLORREF GetColor() const { return m_color; }
    void SetColor(COLORREF color) { m_color = color; }

    // The font handle, made now when there is none (null if the system
    // refuses the description).
    HFONT GetHandle();
    // Takes ownership of font and adopts its description (the colour stays);
    // null, or a handle that is not a font, resets to Arial 14 in white
    // without a handle.
    void SetHandle(HFONT font);
    void HandleNeeded();
    bool GetIsValid() const { return m_hObject != nullptr; }

    operator uint32_t() const { return m_color; }
    operator HFONT() { return GetHandle(); }

    const char* GetRuntimeClassName() const override;

private:
    void SetStyleBit(FontStyles_t bit, bool on) { SetStyle(on ? (m_style | bit) : (m_style & ~bit)); }

    COLORREF m_color = 0;
    int32_t m_height = 14;
    CString m_name;
    FontStyles_t m_style = 0;
};
