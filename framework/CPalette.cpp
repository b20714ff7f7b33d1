#include "CPalette.h"

#include <vector>

bool CPalette::CreatePalette(const LOGPALETTE* palette) {
    return palette && Attach(::CreatePalette(palette));
}

bool CPalette::CreateFromColorTable(const RGBQUAD* entries, int count) {
    if (!entries || count <= 0 || count > 256) return false;
    // LOGPALETTE ends in a one-entry array: room for the others follows it.
    std::vector<unsigned char> storage(sizeof(LOGPALETTE) + sizeof(PALETTEENTRY) * (count - 1));
    auto* palette = reinterpret_cast<LOGPALETTE*>(storage.data());
    palette->palVersion = 0x300;
    palette->palNumEntries = static_cast<WORD>(count);
    PALETTEENTRY* out = palette->palPalEntry;
    for (int i = 0; i < count; ++i) {
        out[i].peRed = entries[i].rgbRed;
        out[i].peGreen = entries[i].rgbGreen;
        out[i].peBlue = entries[i].rgbBlue;
        out[i].peFlags = 0;
    }
    return CreatePalette(palette);
}

int CPalette::GetEntryCount() const {
    WORD count = 0;
    return GetObject(sizeof count, &count) ? count : 0;
}

UINT CPalette::GetPaletteEntries(UINT first, UINT count, PALETTEENTRY* entries) const {
    if (!m_hObject || !entries) return 0;
    return ::GetPaletteEntries(static_cast<HPALETTE>(m_hObject), first, count, entries);
}

const char* CPalette::GetRuntimeClassName() const { return "CPalette"; }
