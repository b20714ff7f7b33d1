#pragma once
#include "CGdiObject.h"

// An owned HPALETTE: the logical colour palette of an 8-bit (or smaller)
// bitmap, realised into a context on palette displays.
class FW_API CPalette : public CGdiObject {
public:
    CPalette() = default;
    CPalette(CPalette&&) noexcept = default;
    CPalette& operator=(CPalette&&) noexcept = default;

    operator HPALETTE() const { return static_cast<HPALETTE>(m_hObject); }

    bool CreatePalette(const LOGPALETTE* palette);
    // From up to 256 colour table entries (a bitmap's RGBQUADs).
    bool CreateFromColorTable(const RGBQUAD* entries, int count);
    // Number of entries; 0 without a palette.
    int GetEntryCount() const;
    UINT GetPaletteEntries(UINT first, UINT count, PALETTEENTRY* entries) const;

    const char* GetRuntimeClassName() const override;
};
