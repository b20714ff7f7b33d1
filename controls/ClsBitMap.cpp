#include "ClsBitMap.h"

#include "AfxGlobals.h"
#include "AfxTrace.h"
#include "CScopedSelect.h"
#include "DibPixels.h"

#include <vfw.h>

#include <algorithm>
#include <climits>
#include <cstring>
#include <new>
#include <vector>

namespace {
// No skin image comes near this; it keeps a wrong size from asking GDI for
// gigabytes and keeps every size computation below inside 32 bits.
const int64_t kMaxBitmapBytes = 256LL * 1024 * 1024;

const int kBitsOfFormat[] = {1, 2, 4, 8, 16, 16, 24, 32};

bool FitsInMemory(int64_t width, int64_t height, int bitCount) {
    return width > 0 && height > 0 && width <= 65535 && height <= 65535 &&
           DibPixels::StrideOf(width, bitCount) * height <= kMaxBitmapBytes;
}

// BITMAPINFO with room for a full colour table or the three colour masks.
struct BitmapInfo256 {
    BITMAPINFOHEADER header;
    RGBQUAD colors[256];
    BITMAPINFO* Get() { return reinterpret_cast<BITMAPINFO*>(this); }
};

// A memory context compatible with dc (with the screen for null), deleted
// at the end of the scope.
class TempMemoryDC {
public:
    explicit TempMemoryDC(HDC dc) : m_dc(::CreateCompatibleDC(dc)) {}
    ~TempMemoryDC() {
        if (m_dc) ::DeleteDC(m_dc);
    }
    TempMemoryDC(const TempMemoryDC&) = delete;
    TempMemoryDC& operator=(const TempMemoryDC&) = delete;
    HDC Get() const { return m_dc; }

private:
    HDC m_dc;
};

CRect Normalized(const RECT& rect) {
    CRect result(rect);
    result.NormalizeRect();
    return result;
}

uint32_t KeyInPixelOrder(COLORREF key) {
    return (static_cast<uint32_t>(GetRValue(key)) << 16) | (static_cast<uint32_t>(GetGValue(key)) << 8) |
           GetBValue(key);
}

// A colour channel reduced to the bits of mask, at the mask's place.
uint32_t ChannelInMask(BYTE value, DWORD mask) {
    if (!mask) return 0;
    int shift = 0;
    while (!((mask >> shift) & 1)) ++shift;
    int bits = 0;
    while (shift + bits < 32 && ((mask >> (shift + bits)) & 1)) ++bits;
    const uint32_t reduced = bits >= 8 ? static_cast<uint32_t>(value) << (bits - 8) : value >> (8 - bits);
    return (reduced << shift) & mask;
}

// Collects one-pixel-high rectangles in blocks of 40 behind an RGNDATA
// header, so the region is made by one ExtCreateRegion call.
class RunCollector {
public:
    void Add(int left, int right, int y) {
        if (m_count == m_capacity) {
            m_capacity += kBlock;
            m_buffer.resize(sizeof(RGNDATAHEADER) + sizeof(RECT) * m_capacity);
        }
        RECT* rects = reinterpret_cast<RECT*>(m_buffer.data() + sizeof(RGNDATAHEADER));
        rects[m_count++] = RECT{left, y, right, y + 1};
    }
    HRGN Create(int width, int height) {
        if (m_buffer.empty()) m_buffer.resize(sizeof(RGNDATAHEADER));
        auto* header = reinterpret_cast<RGNDATAHEADER*>(m_buffer.data());
        header->dwSize = sizeof(RGNDATAHEADER);
        header->iType = RDH_RECTANGLES;
        header->nCount = static_cast<DWORD>(m_count);
        header->nRgnSize = static_cast<DWORD>(sizeof(RECT) * m_count);
        header->rcBound = RECT{0, 0, width, height};
        return ::ExtCreateRegion(nullptr, static_cast<DWORD>(m_buffer.size()),
                                 reinterpret_cast<const RGNDATA*>(m_buffer.data()));
    }

private:
    static const size_t kBlock = 40;
    std::vector<unsigned char> m_buffer;
    size_t m_count = 0;
    size_t m_capacity = 0;
};

// Scans every row of a section for runs of pixels for which isKey is false.
template <class IsKey>
HRGN RegionOfRuns(const DibPixels& pixels, IsKey isKey) {
    RunCollector runs;
    for (int y = 0; y < pixels.Height(); ++y) {
        const uint8_t* row = pixels.Row(y);
        int x = 0;
        while (x < pixels.Width()) {
            while (x < pixels.Width() && isKey(row, x)) ++x;
            const int start = x;
            while (x < pixels.Width() && !isKey(row, x)) ++x;
            if (x > start) runs.Add(start, x, y);
        }
    }
    return runs.Create(pixels.Width(), pixels.Height());
}

// Writes all of data or fails.
bool WriteAll(HANDLE file, const void* data, size_t size) {
    const auto* bytes = static_cast<const unsigned char*>(data);
    while (size > 0) {
        DWORD written = 0;
        const DWORD chunk = static_cast<DWORD>(std::min<size_t>(size, 1 << 20));
        if (!::WriteFile(file, bytes, chunk, &written, nullptr) || written == 0) return false;
        bytes += written;
        size -= written;
    }
    return true;
}

void PutLE16(unsigned char* at, uint32_t value) {
    at[0] = static_cast<unsigned char>(value);
    at[1] = static_cast<unsigned char>(value >> 8);
}

void PutLE32(unsigned char* at, uint32_t value) {
    for (int i = 0; i < 4; ++i) at[i] = static_cast<unsigned char>(value >> (8 * i));
}

class FileHandle {
public:
    explicit FileHandle(HANDLE file) : m_file(file) {}
    ~FileHandle() {
        if (m_file != INVALID_HANDLE_VALUE) ::CloseHandle(m_file);
    }
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;
    HANDLE Get() const { return m_file; }

private:
    HANDLE m_file;
};
}  // namespace

ClsBitMap::ClsBitMap() = default;

ClsBitMap::~ClsBitMap() {
    {
        CSingleLock hold(m_section);
        EndLock();
    }
    CloseDrawDib();
    // CGdiObject's destructor deletes the bitmap itself.
}

ClsBitMap::ClsBitMap(const ClsBitMap& other) : CBitmap() {
    if (std::unique_ptr<ClsBitMap> copy = other.Clone()) Attach(static_cast<HBITMAP>(copy->Detach()));
}

ClsBitMap& ClsBitMap::operator=(const ClsBitMap& other) {
    if (this == &other || !other.m_hObject) return *this;
    if (std::unique_ptr<ClsBitMap> copy = other.Clone()) Attach(static_cast<HBITMAP>(copy->Detach()));
    return *this;
}

void ClsBitMap::EndLock() {
    if (!m_lockDC.GetSafeHdc()) return;
    m_lockDC.RestoreDC(m_lockSavedState);
    m_lockDC.DeleteDC();
    m_lockSavedState = 0;
    m_section.Unlock();  // the entry Lock() kept
}

void ClsBitMap::CloseDrawDib() const {
    if (m_hDrawDib) {
        ::DrawDibClose(static_cast<HDRAWDIB>(m_hDrawDib));
        m_hDrawDib = nullptr;
    }
}

void ClsBitMap::Replace(HBITMAP bitmap) {
    CSingleLock hold(m_section);
    EndLock();
    CloseDrawDib();
    if (bitmap && bitmap == m_hObject) {
        BuildPalette();
        return;
    }
    m_palette.DeleteObject();
    CGdiObject::DeleteObject();
    if (bitmap) {
        CGdiObject::Attach(bitmap);
        BuildPalette();
    }
}

bool ClsBitMap::AllocateBitMap(int width, int height, PixelFormat_e format) {
    Replace(nullptr);
    if (format < pf1bit || format > pf32bit) return false;
    const int bitCount = kBitsOfFormat[format];
    if (!FitsInMemory(width, height, bitCount)) return false;
    BitmapInfo256 info{};
    info.header.biSize = sizeof info.header;
    info.header.biWidth = width;
    info.header.biHeight = height;  // bottom-up
    info.header.biPlanes = 1;
    info.header.biBitCount = static_cast<WORD>(bitCount);
    info.header.biCompression = BI_RGB;
    if (bitCount <= 8) {
        // A grey ramp, so a fresh palette bitmap shows what is written to it.
        const int colors = 1 << bitCount;
        for (int i = 0; i < colors; ++i) {
            const BYTE level = static_cast<BYTE>(i * 255 / (colors - 1));
            info.colors[i] = RGBQUAD{level, level, level, 0};
        }
        info.header.biClrUsed = static_cast<DWORD>(colors);
    } else if (format == pf16bit565) {
        info.header.biCompression = BI_BITFIELDS;
        DWORD* masks = reinterpret_cast<DWORD*>(info.colors);
        masks[0] = 0xF800;
        masks[1] = 0x07E0;
        masks[2] = 0x001F;
    }
    HDC screen = ::GetDC(nullptr);
    void* bits = nullptr;
    HBITMAP bitmap = ::CreateDIBSection(screen, info.Get(), DIB_RGB_COLORS, &bits, nullptr, 0);
    if (screen) ::ReleaseDC(nullptr, screen);
    if (!bitmap) return false;
    Replace(bitmap);
    return true;
}

bool ClsBitMap::CreateBitmap(int width, int height, PixelFormat_e format) {
    // Guard the one value whose absolute value does not fit.
    if (width == INT_MIN || height == INT_MIN) {
        Replace(nullptr);
        return false;
    }
    return AllocateBitMap(width < 0 ? -width : width, height < 0 ? -height : height, format);
}

bool ClsBitMap::LoadFromFile(const char* path) {
    Replace(nullptr);
    if (!path || !*path) return false;
    HANDLE image = ::LoadImageA(nullptr, path, IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION);
    if (!image) return false;
    Replace(static_cast<HBITMAP>(image));
    return true;
}

bool ClsBitMap::LoadBitmapA(const char* resource) {
    Replace(nullptr);
    if (!resource) return false;
    const HMODULE candidates[] = {AfxGetResourceHandle(), ::GetModuleHandleA(nullptr),
                                  AfxGetModuleOf(kBitsOfFormat)};
    for (HMODULE module : candidates) {
        if (!module || !::FindResourceA(module, resource, RT_BITMAP)) continue;
        HANDLE image = ::LoadImageA(module, resource, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION);
        if (!image) return false;
        Replace(static_cast<HBITMAP>(image));
        return true;
    }
    return false;
}

bool ClsBitMap::Attach(HBITMAP bitmap) {
    if (!bitmap) return false;
    Replace(bitmap);
    return true;
}

bool ClsBitMap::DeleteObject() {
    const bool had = m_hObject != nullptr;
    Replace(nullptr);
    return had;
}

void ClsBitMap::BuildPalette() {
    m_palette.DeleteObject();
    RGBQUAD colors[256];
    const int count = GetColorTable(colors, 256);
    if (count > 0) m_palette.CreateFromColorTable(colors, count);
}

bool ClsBitMap::GetIsValid() const {
    return m_hObject && ::GetObjectType(m_hObject) == OBJ_BITMAP;
}

CSize ClsBitMap::GetSize() const {
    BITMAP info{};
    if (!m_hObject || !::GetObjectA(m_hObject, sizeof info, &info)) return CSize(0, 0);
    return CSize(info.bmWidth, info.bmHeight);
}

PixelFormat_e ClsBitMap::GetPixelFormat() const {
    BITMAP info{};
    if (!m_hObject || !::GetObjectA(m_hObject, sizeof info, &info)) return pf1bit;
    switch (info.bmBitsPixel) {
    case 4: return pf4bit;
    case 8: return pf8bit;
    case 16: return pf16bit565;
    case 24: return pf24bit;
    case 32: return pf32bit;
    default: return pf1bit;
    }
}

int ClsBitMap::GetColorTable(RGBQUAD* entries, int max) const {
    if (!entries || max <= 0 || !m_hObject) return 0;
    CSingleLock hold(m_section);
    DIBSECTION section{};
    if (::GetObjectA(m_hObject, sizeof section, &section) != sizeof section) return 0;
    const int bitCount = section.dsBmih.biBitCount;
    if (bitCount > 8) return 0;
    // Only the entries the section has, not the whole range of its depth.
    const int used = section.dsBmih.biClrUsed ? static_cast<int>(section.dsBmih.biClrUsed) : 1 << bitCount;
    max = std::min(max, std::min(used, 256));
    if (m_lockDC.GetSafeHdc())
        return static_cast<int>(::GetDIBColorTable(m_lockDC, 0, static_cast<UINT>(max), entries));
    TempMemoryDC memory(nullptr);
    if (!memory.Get()) return 0;
    CScopedSelect select(memory.Get(), m_hObject);
    if (!select.Succeeded()) return 0;
    return static_cast<int>(::GetDIBColorTable(memory.Get(), 0, static_cast<UINT>(max), entries));
}

bool ClsBitMap::CreatePalette(CPalette* palette) const {
    if (!palette) return false;
    RGBQUAD colors[256];
    const int count = GetColorTable(colors, 256);
    return count > 0 && palette->CreateFromColorTable(colors, count);
}

UINT ClsBitMap::DoRealizePalette(ClsBitMap* bitmap, HWND window, bool background) {
    if (!bitmap || !bitmap->m_palette.GetSafeHandle() || !window || !::IsWindow(window)) return 0;
    HDC dc = ::GetDC(window);
    if (!dc) return 0;
    HPALETTE old = ::SelectPalette(dc, bitmap->m_palette, background ? TRUE : FALSE);
    const UINT mapped = ::RealizePalette(dc);
    if (old) ::SelectPalette(dc, old, TRUE);
    ::ReleaseDC(window, dc);
    if (mapped > 0 && mapped != GDI_ERROR) ::InvalidateRect(window, nullptr, FALSE);
    return mapped == GDI_ERROR ? 0 : mapped;
}

CDC* ClsBitMap::Lock() {
    m_section.Lock();
    if (m_lockDC.GetSafeHdc()) {
        // Already this thread's: keep the single entry the first Lock made.
        m_section.Unlock();
        return &m_lockDC;
    }
    if (!m_hObject || !m_lockDC.CreateCompatibleDC(static_cast<HDC>(nullptr))) {
        m_section.Unlock();
        return nullptr;
    }
    m_lockSavedState = m_lockDC.SaveDC();
    if (!::SelectObject(m_lockDC, m_hObject)) {
        m_lockDC.DeleteDC();
        m_section.Unlock();
        return nullptr;
    }
    return &m_lockDC;  // the section stays entered until Unlock
}

void ClsBitMap::Unlock() {
    if (!m_section.TryLock()) return;  // another thread holds the bitmap
    EndLock();
    m_section.Unlock();
}

// Locking changes no pixel: a const bitmap may be held for drawing from it.
ClsBitMap::ScopedLock::ScopedLock(const ClsBitMap& bitmap) : m_bitmap(const_cast<ClsBitMap&>(bitmap)) {
    bool heldAlready;
    {
        CSingleLock hold(m_bitmap.m_section);
        heldAlready = m_bitmap.m_lockDC.GetSafeHdc() != nullptr;
    }
    m_owns = !heldAlready && m_bitmap.Lock() != nullptr;
}

ClsBitMap::ScopedLock::~ScopedLock() {
    if (m_owns) m_bitmap.Unlock();
}

void ClsBitMap::Draw(HDC dc, int x, int y) const {
    const CSize size = GetSize();
    Draw(dc, x, y, size.cx, size.cy, 0, 0, size.cx, size.cy);
}

void ClsBitMap::Draw(HDC dc, int x, int y, int sx, int sy) const {
    const CSize size = GetSize();
    Draw(dc, x, y, size.cx, size.cy, sx, sy, size.cx, size.cy);
}

void ClsBitMap::Draw(HDC dc, int x, int y, int w, int h, int sx, int sy) const {
    Draw(dc, x, y, w, h, sx, sy, w, h);
}

void ClsBitMap::Draw(HDC dc, int dx, int dy, int dw, int dh, int sx, int sy, int sw, int sh) const {
    if (!dc || !m_hObject) return;
    CSingleLock hold(m_section);
    const CSize size = GetSize();
    const bool unscaled = dw == sw && dh == sh;
    if (sw <= 0 || sh <= 0 || dw <= 0 || dh <= 0) return;
    // The source is cut to the bitmap: only the part inside it is drawn.
    // 64-bit, so that no position near the ends of int overflows.
    const int64_t left = std::max<int64_t>(sx, 0);
    const int64_t top = std::max<int64_t>(sy, 0);
    const int64_t right = std::min<int64_t>(static_cast<int64_t>(sx) + sw, size.cx);
    const int64_t bottom = std::min<int64_t>(static_cast<int64_t>(sy) + sh, size.cy);
    if (right <= left || bottom <= top) return;
    if (unscaled) {
        const int64_t x = dx + (left - sx);
        const int64_t y = dy + (top - sy);
        if (x < INT_MIN || x > INT_MAX || y < INT_MIN || y > INT_MAX) return;
        dx = static_cast<int>(x);
        dy = static_cast<int>(y);
        dw = static_cast<int>(right - left);
        dh = static_cast<int>(bottom - top);
    }
    sx = static_cast<int>(left);
    sy = static_cast<int>(top);
    sw = static_cast<int>(right - left);
    sh = static_cast<int>(bottom - top);

    HDC source = m_lockDC.GetSafeHdc();
    TempMemoryDC memory(source ? nullptr : dc);
    std::unique_ptr<CScopedSelect> select;
    if (!source) {
        if (!memory.Get()) return;
        select = std::make_unique<CScopedSelect>(memory.Get(), m_hObject);
        if (!select->Succeeded()) return;
        source = memory.Get();
    }
    if (dw == sw && dh == sh) {
        ::BitBlt(dc, dx, dy, dw, dh, source, sx, sy, SRCCOPY);
    } else {
        const int oldMode = ::SetStretchBltMode(dc, COLORONCOLOR);
        ::StretchBlt(dc, dx, dy, dw, dh, source, sx, sy, sw, sh, SRCCOPY);
        if (oldMode) ::SetStretchBltMode(dc, oldMode);
    }
}

void ClsBitMap::Draw(CDC* dc, const RECT* dest, const RECT* src) const {
    if (!dc || !m_hObject) return;
    const CSize size = GetSize();
    const CRect source = src ? CRect(*src) : CRect(0, 0, size.cx, size.cy);
    const CRect target = dest ? CRect(*dest) : source;
    Draw(dc->GetSafeHdc(), target.left, target.top, target.Width(), target.Height(), source.left,
         source.top, source.Width(), source.Height());
}

bool ClsBitMap::DrawTransparent(CDC* dc, const RECT* dest, const RECT* src, COLORREF key,
                                int alpha) const {
    if (!dc || !dc->GetSafeHdc() || !m_hObject) return false;
    try {
        CSingleLock hold(m_section);
        const CSize size = GetSize();
        const CRect bounds(0, 0, size.cx, size.cy);
        CRect source = bounds;
        if (src && !source.IntersectRect(Normalized(*src), bounds)) return false;
        if (source.IsRectEmpty()) return false;
        const CRect target = dest ? CRect(*dest) : source;
        const int width = target.Width();
        const int height = target.Height();
        if (!FitsInMemory(width, height, 32)) return false;

        // The source as 32-bit pixels of the destination's size.
        ClsBitMap scaled;
        const ClsBitMap* pixelsOf = this;
        const bool usable = GetPixelFormat() == pf32bit && source == bounds &&
                            width == source.Width() && height == source.Height() &&
                            DibPixels(GetHandle()).IsValid();
        if (!usable) {
            if (!scaled.AllocateBitMap(width, height, pf32bit)) return false;
            CDC* into = scaled.Lock();
            if (!into) return false;
            Draw(into->GetSafeHdc(), 0, 0, width, height, source.left, source.top, source.Width(),
                 source.Height());
            scaled.Unlock();
            pixelsOf = &scaled;
        }

        // What the target shows under the destination.
        ClsBitMap result;
        if (!result.AllocateBitMap(width, height, pf32bit)) return false;
        if (CDC* into = result.Lock()) {
            ::BitBlt(*into, 0, 0, width, height, *dc, target.left, target.top, SRCCOPY);
            result.Unlock();
        } else {
            return false;
        }

        const DibPixels front(pixelsOf->GetHandle());
        const DibPixels back(result.GetHandle());
        if (!front.IsValid() || !back.IsValid()) return false;
        alpha = std::clamp(alpha, 0, 255);
        const uint32_t transparent = KeyInPixelOrder(key);
        for (int y = 0; y < height; ++y) {
            const uint32_t* s = front.Row32(y);
            uint32_t* b = back.Row32(y);
            for (int x = 0; x < width; ++x) {
                const uint32_t pixel = s[x];
                if ((pixel & 0xFFFFFF) == transparent) continue;
                if (alpha == 255) {
                    b[x] = pixel;
                    continue;
                }
                uint32_t blended = 0;
                for (int shift = 0; shift < 24; shift += 8) {
                    const uint32_t under = (b[x] >> shift) & 0xFF;
                    const uint32_t over = (pixel >> shift) & 0xFF;
                    blended |= ((under * (255 - alpha) + over * alpha) / 256) << shift;
                }
                b[x] = blended;
            }
        }
        return result.DrawDIB(dc, &target, nullptr, true);
    } catch (const std::bad_alloc&) {
        AfxTraceCaughtException("controls: ClsBitMap::DrawTransparent");
        return false;
    }
}

bool ClsBitMap::DrawDIB(CDC* dc, const RECT* dest, const RECT* src, bool useVfw, CPalette* palette,
                        bool background) const {
    if (!dc || !dc->GetSafeHdc() || !m_hObject) return false;
    CSingleLock hold(m_section);
    const CSize size = GetSize();
    const CRect bounds(0, 0, size.cx, size.cy);
    CRect source = bounds;
    if (src && !source.IntersectRect(Normalized(*src), bounds)) return false;
    const CRect target = dest ? CRect(*dest) : source;
    if (target.Width() <= 0 || target.Height() <= 0) return false;

    DIBSECTION section{};
    const bool isSection = ::GetObjectA(m_hObject, sizeof section, &section) == sizeof section &&
                           section.dsBm.bmBits;
    if (useVfw && isSection) {
        if (!m_hDrawDib) m_hDrawDib = ::DrawDibOpen();
        if (m_hDrawDib) {
            BitmapInfo256 info{};
            info.header = section.dsBmih;
            if (section.dsBmih.biBitCount <= 8) {
                GetColorTable(info.colors, 256);
            } else if (section.dsBmih.biCompression == BI_BITFIELDS) {
                std::memcpy(info.colors, section.dsBitfields, sizeof section.dsBitfields);
            }
            const auto drawDib = static_cast<HDRAWDIB>(m_hDrawDib);
            if (palette && palette->GetSafeHandle()) ::DrawDibSetPalette(drawDib, *palette);
            ::GdiFlush();
            if (::DrawDibDraw(drawDib, *dc, target.left, target.top, target.Width(), target.Height(),
                              &info.header, section.dsBm.bmBits, source.left, source.top,
                              source.Width(), source.Height(), background ? DDF_BACKGROUNDPAL : 0))
                return true;
        }
    }
    Draw(dc->GetSafeHdc(), target.left, target.top, target.Width(), target.Height(), source.left,
         source.top, source.Width(), source.Height());
    return true;
}

CRgn ClsBitMap::CreateRgn(COLORREF key, const RECT* rect) const {
    CRgn region;
    if (!m_hObject) return region;
    CSingleLock hold(m_section);
    const CSize size = GetSize();
    if (rect && Normalized(*rect) != CRect(0, 0, size.cx, size.cy)) {
        std::unique_ptr<ClsBitMap> part = CreateImageFromBitmap(GetHandle(), rect);
        return part ? part->CreateRgn(key, nullptr) : std::move(region);
    }
    try {
        const DibPixels pixels(GetHandle());
        const int bitCount = pixels.BitCount();
        const DWORD compression = pixels.Compression();
        const bool direct =
            pixels.IsValid() &&
            ((bitCount == 8 && compression == BI_RGB) || (bitCount == 16) || (bitCount == 24 && compression == BI_RGB) ||
             (bitCount == 32 && (compression == BI_RGB ||
                                 (pixels.Masks()[0] == 0xFF0000 && pixels.Masks()[1] == 0xFF00 &&
                                  pixels.Masks()[2] == 0xFF))));
        if (!direct) {
            // Other depths and layouts: through a 32-bit copy.
            std::unique_ptr<ClsBitMap> copy = Clone();
            return copy ? copy->CreateRgn(key, nullptr) : std::move(region);
        }
        const BYTE red = GetRValue(key), green = GetGValue(key), blue = GetBValue(key);
        HRGN made = nullptr;
        switch (bitCount) {
        case 8: {
            RGBQUAD colors[256] = {};
            const int count = GetColorTable(colors, 256);
            bool isKey[256] = {};
            for (int i = 0; i < count; ++i)
                isKey[i] = colors[i].rgbRed == red && colors[i].rgbGreen == green && colors[i].rgbBlue == blue;
            made = RegionOfRuns(pixels, [&](const uint8_t* row, int x) { return isKey[row[x]]; });
            break;
        }
        case 16: {
            // Matched in the bitmap's own 16-bit layout (5-6-5 or 5-5-5).
            const bool fields = compression == BI_BITFIELDS;
            const DWORD r = fields ? pixels.Masks()[0] : 0x7C00;
            const DWORD g = fields ? pixels.Masks()[1] : 0x03E0;
            const DWORD b = fields ? pixels.Masks()[2] : 0x001F;
            const uint32_t mask = r | g | b;
            const uint32_t wanted = ChannelInMask(red, r) | ChannelInMask(green, g) | ChannelInMask(blue, b);
            made = RegionOfRuns(pixels, [&](const uint8_t* row, int x) {
                const uint32_t pixel = row[2 * x] | (row[2 * x + 1] << 8);
                return (pixel & mask) == wanted;
            });
            break;
        }
        default: {
            const int bytes = bitCount / 8;
            made = RegionOfRuns(pixels, [&](const uint8_t* row, int x) {
                const uint8_t* p = row + static_cast<ptrdiff_t>(x) * bytes;
                return p[0] == blue && p[1] == green && p[2] == red;
            });
            break;
        }
        }
        if (made) region.Attach(made);
    } catch (const std::bad_alloc&) {
        AfxTraceCaughtException("controls: ClsBitMap::CreateRgn");
    }
    return region;
}

std::unique_ptr<ClsBitMap> ClsBitMap::CreateImageFromBitmap(HBITMAP bitmap, const RECT* rect) {
    BITMAP info{};
    if (!bitmap || !::GetObjectA(bitmap, sizeof info, &info) || info.bmWidth <= 0 || info.bmHeight <= 0)
        return nullptr;
    const int width = info.bmWidth;
    const int height = info.bmHeight;
    CRect part(0, 0, width, height);
    if (rect && !part.IntersectRect(Normalized(*rect), CRect(0, 0, width, height))) return nullptr;
    if (part.IsRectEmpty()) return nullptr;
    try {
        auto image = std::make_unique<ClsBitMap>();
        if (!image->AllocateBitMap(part.Width(), part.Height(), pf32bit)) return nullptr;
        const DibPixels target(image->GetHandle());
        if (!target.IsValid()) return nullptr;

        // The rows of the part as 24-bit pixels, read bottom-up: scan line 0
        // is the image's last row.
        const int64_t stride = DibPixels::StrideOf(width, 24);
        if (stride * part.Height() > kMaxBitmapBytes) return nullptr;
        std::vector<uint8_t> rows(static_cast<size_t>(stride * part.Height()));
        BITMAPINFO request{};
        request.bmiHeader.biSize = sizeof request.bmiHeader;
        request.bmiHeader.biWidth = width;
        request.bmiHeader.biHeight = height;
        request.bmiHeader.biPlanes = 1;
        request.bmiHeader.biBitCount = 24;
        request.bmiHeader.biCompression = BI_RGB;
        HDC screen = ::GetDC(nullptr);
        const int read = ::GetDIBits(screen, bitmap, static_cast<UINT>(height - part.bottom),
                                     static_cast<UINT>(part.Height()), rows.data(), &request, DIB_RGB_COLORS);
        if (screen) ::ReleaseDC(nullptr, screen);
        if (read != part.Height()) return nullptr;
        for (int y = part.top; y < part.bottom; ++y) {
            const uint8_t* from = rows.data() + static_cast<ptrdiff_t>(part.bottom - 1 - y) * stride +
                                  static_cast<ptrdiff_t>(part.left) * 3;
            uint32_t* to = target.Row32(y - part.top);
            for (int x = 0; x < part.Width(); ++x, from += 3)
                to[x] = from[0] | (from[1] << 8) | (static_cast<uint32_t>(from[2]) << 16);
        }
        return image;
    } catch (const std::bad_alloc&) {
        AfxTraceCaughtException("controls: ClsBitMap::CreateImageFromBitmap");
        return nullptr;
    }
}

std::unique_ptr<ClsBitMap> ClsBitMap::Clone() const {
    CSingleLock hold(m_section);
    return CreateImageFromBitmap(GetHandle(), nullptr);
}

bool ClsBitMap::GetFromDC(HDC dc, int x, int y) {
    if (!dc || !m_hObject) return false;
    CSingleLock hold(m_section);
    const CSize size = GetSize();
    if (m_lockDC.GetSafeHdc())
        return ::BitBlt(m_lockDC, 0, 0, size.cx, size.cy, dc, x, y, SRCCOPY) != 0;
    TempMemoryDC memory(dc);
    if (!memory.Get()) return false;
    CScopedSelect select(memory.Get(), m_hObject);
    return select.Succeeded() && ::BitBlt(memory.Get(), 0, 0, size.cx, size.cy, dc, x, y, SRCCOPY) != 0;
}

bool ClsBitMap::SaveToFile(const char* path) const {
    if (!m_hObject || !path || !*path) return false;
    try {
        CSingleLock hold(m_section);
        const CSize size = GetSize();
        if (!FitsInMemory(size.cx, size.cy, 24)) return false;
        const uint32_t stride = static_cast<uint32_t>(DibPixels::StrideOf(size.cx, 24));
        const uint32_t imageSize = stride * static_cast<uint32_t>(size.cy);
        const uint32_t pixelOffset = 58;  // 14 + 40 + 4 zero bytes

        unsigned char header[58] = {};
        header[0] = 'B';
        header[1] = 'M';
        PutLE32(header + 2, pixelOffset + imageSize);
        PutLE32(header + 10, pixelOffset);
        PutLE32(header + 14, 40);
        PutLE32(header + 18, static_cast<uint32_t>(size.cx));
        PutLE32(header + 22, static_cast<uint32_t>(size.cy));
        PutLE16(header + 26, 1);
        PutLE16(header + 28, 24);
        PutLE32(header + 30, BI_RGB);
        PutLE32(header + 34, imageSize);

        FileHandle file(::CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
        if (file.Get() == INVALID_HANDLE_VALUE) return false;
        if (!WriteAll(file.Get(), header, sizeof header)) return false;

        BITMAPINFO request{};
        request.bmiHeader.biSize = sizeof request.bmiHeader;
        request.bmiHeader.biWidth = size.cx;
        request.bmiHeader.biHeight = size.cy;
        request.bmiHeader.biPlanes = 1;
        request.bmiHeader.biBitCount = 24;
        request.bmiHeader.biCompression = BI_RGB;
        // Bottom-up rows in blocks, so a large image needs little memory.
        const int block = std::max(1, static_cast<int>((4 << 20) / stride));
        std::vector<uint8_t> rows(static_cast<size_t>(stride) * std::min<int>(block, size.cy));
        HDC screen = ::GetDC(nullptr);
        bool ok = true;
        for (int first = 0; ok && first < size.cy; first += block) {
            const int count = std::min(block, static_cast<int>(size.cy) - first);
            ok = ::GetDIBits(screen, GetHandle(), static_cast<UINT>(first), static_cast<UINT>(count),
                             rows.data(), &request, DIB_RGB_COLORS) == count &&
                 WriteAll(file.Get(), rows.data(), static_cast<size_t>(stride) * count);
        }
        if (screen) ::ReleaseDC(nullptr, screen);
        return ok;
    } catch (...) {
        AfxTraceCaughtException("controls: ClsBitMap::SaveToFile");
        return false;
    }
}

const char* ClsBitMap::GetRuntimeClassName() const { return "ClsBitMap"; }
