#pragma once
#include "CGdiObject.h"

class CDC;

// An owned HFONT.
class FW_API CFont : public CGdiObject {
public:
    CFont() = default;
    CFont(CFont&&) noexcept = default;
    CFont& operator=(CFont&&) noexcept = default;

    operator HFONT() const { return static_cast<HFONT>(m_hObject); }

    bool CreateFont(int height, int width, int escapement, int orientation, int weight,
                    BYTE italic, BYTE underline, BYTE strikeOut, BYTE charSet,
                    BYTE outPrecision, BYTE clipPrecision, BYTE quality, BYTE pitchAndFamily,
                    const char* faceName);
    bool CreateFontIndirect(const LOGFONTA* font);
    // pointSize is in tenths of a point, converted with the vertical
    // resolution of dc (of the screen without one).
    bool CreatePointFont(int pointSize, const char* faceName, CDC* dc = nullptr);
    int GetLogFont(LOGFONTA* font) const;

    static CFont* FromHandle(HFONT font);
    const char* GetRuntimeClassName() const override;
};
