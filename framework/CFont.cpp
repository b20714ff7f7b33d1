#include "CFont.h"

#include "CDC.h"
#include "HandleMap.h"

#include <cstring>

bool CFont::CreateFont(int height, int width, int escapement, int orientation, int weight,
                       BYTE italic, BYTE underline, BYTE strikeOut, BYTE charSet,
                       BYTE outPrecision, BYTE clipPrecision, BYTE quality, BYTE pitchAndFamily,
                       const char* faceName) {
    return Attach(::CreateFontA(height, width, escapement, orientation, weight, italic, underline,
                                strikeOut, charSet, outPrecision, clipPrecision, quality,
                                pitchAndFamily, faceName));
}

bool CFont::CreateFontIndirect(const LOGFONTA* font) {
    return font && Attach(::CreateFontIndirectA(font));
}

bool CFont::CreatePointFont(int pointSize, const char* faceName, CDC* dc) {
    HDC hdc = dc ? dc->GetSafeHdc() : nullptr;
    HDC screen = hdc ? nullptr : ::GetDC(nullptr);
    const int dpi = ::GetDeviceCaps(hdc ? hdc : screen, LOGPIXELSY);
    if (screen) ::ReleaseDC(nullptr, screen);
    LOGFONTA font{};
    font.lfHeight = -MulDiv(pointSize, dpi > 0 ? dpi : 96, 720);
    font.lfCharSet = DEFAULT_CHARSET;
    if (faceName) std::strncpy(font.lfFaceName, faceName, LF_FACESIZE - 1);
    return CreateFontIndirect(&font);
}

int CFont::GetLogFont(LOGFONTA* font) const { return GetObject(sizeof(LOGFONTA), font); }

CFont* CFont::FromHandle(HFONT font) {
    return TemporaryGdiObject<CFont>(CHandleMap::Kind::Font, font);
}

const char* CFont::GetRuntimeClassName() const { return "CFont"; }
