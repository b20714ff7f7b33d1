#pragma once
#include "ControlsExport.h"

#include "CBitmap.h"
#include "CCriticalSection.h"
#include "CDC.h"
#include "CPalette.h"
#include "CRect.h"
#include "CRgn.h"

#include <cstdint>
#include <memory>

// Depth of a bitmap the program allocates. Reading the depth of an existing
// bitmap gives pf4bit, pf8bit, pf16bit565, pf24bit or pf32bit, and pf1bit
// for anything else.
enum PixelFormat_e : int32_t {
    pf1bit = 0,
    pf2bit = 1,
    pf4bit = 2,
    pf8bit = 3,
    pf16bit555 = 4,  // 5 bits each of red, green, blue
    pf16bit565 = 5,  // 6 bits of green
    pf24bit = 6,
    pf32bit = 7,
};

// A device-independent bitmap with the drawing, cropping, shape and file
// operations every skinned surface is built from. Images the program composes
// are bottom-up 32-bit sections; magenta (kTransparentKey) marks transparent
// pixels for DrawTransparent and CreateRgn.
//
// Copying never shares: a copy gets a new 32-bit bitmap with the same pixels.
// Lock() selects the bitmap into a memory context for the calling thread;
// every other operation that needs the bitmap selected waits while another
// thread holds it locked, and uses the locked context on the locking thread.
// Replacing or dropping the bitmap ends the caller's own lock.
class CTL_API ClsBitMap : public CBitmap {
public:
    static constexpr COLORREF kTransparentKey = RGB(255, 0, 255);

    ClsBitMap();
    ~ClsBitMap() override;
    ClsBitMap(const ClsBitMap& other);
    // Assigning an object without a bitmap leaves this one unchanged.
    ClsBitMap& operator=(const ClsBitMap& other);

    // Drops any bitmap and makes an uninitialised bottom-up section; true
    // when a bitmap now exists. CreateBitmap takes the absolute sizes.
    bool AllocateBitMap(int width, int height, PixelFormat_e format);
    bool CreateBitmap(int width, int height, PixelFormat_e format);
    // Drops any bitmap and loads a .bmp file as a section at its own size.
    bool LoadFromFile(const char* path);
    // The same from a bitmap resource (name or MAKEINTRESOURCE number) of
    // the resource module, the program or this library, whichever holds it.
    bool LoadBitmapA(const char* resource);
    // Takes ownership of bitmap (any kind) and builds its palette.
    bool Attach(HBITMAP bitmap);
    // Drops the bitmap, its palette and the video-for-Windows handle.
    bool DeleteObject();

    HBITMAP GetHandle() const { return static_cast<HBITMAP>(m_hObject); }
    bool GetIsValid() const;
    int GetWidth() const { return GetSize().cx; }
    int GetHeight() const { return GetSize().cy; }
    CSize GetSize() const;
    PixelFormat_e GetPixelFormat() const;
    // The palette built from the colour table; holds no palette for
    // bitmaps without a colour table.
    CPalette* GetPalette() { return &m_palette; }
    // Copies up to max colour table entries; returns how many.
    int GetColorTable(RGBQUAD* entries, int max) const;
    // Builds palette from the colour table; false without one.
    bool CreatePalette(CPalette* palette) const;
    // Realises the bitmap's palette in the window's context; returns the
    // number of entries mapped (0 without a palette).
    static UINT DoRealizePalette(ClsBitMap* bitmap, HWND window, bool background);

    // The memory context with the bitmap selected, for the calling thread;
    // null without a bitmap. Waits while another thread holds the lock; a
    // second Lock on the same thread returns the same context. Unlock ends
    // it (one Unlock, however many Locks) and does nothing when the calling
    // thread does not hold it.
    CDC* Lock();
    void Unlock();

    // Keeps the bitmap locked on the calling thread for a scope, so a run
    // of Draw calls shares one memory context; a lock the thread already
    // held is left as it was.
    class CTL_API ScopedLock {
    public:
        explicit ScopedLock(const ClsBitMap& bitmap);
        ~ScopedLock();
        ScopedLock(const ScopedLock&) = delete;
        ScopedLock& operator=(const ScopedLock&) = delete;

    private:
        ClsBitMap& m_bitmap;
        bool m_owns = false;
    };

    // The Draw family; all come down to the last form. Source sizes are
    // clamped to the bitmap; only the part of the source inside the bitmap
    // is drawn, at its own size when destination and source sizes were
    // equal, else stretched over the destination (colour-on-colour).
    void Draw(HDC dc, int x, int y) const;
    void Draw(HDC dc, int x, int y, int sx, int sy) const;
    void Draw(HDC dc, int x, int y, int w, int h, int sx, int sy) const;
    void Draw(HDC dc, int dx, int dy, int dw, int dh, int sx, int sy, int sw, int sh) const;
    // Source defaults to the whole bitmap, destination to the source.
    void Draw(CDC* dc, const RECT* dest = nullptr, const RECT* src = nullptr) const;
    void DrawInDC(HDC dc, int x, int y) const { Draw(dc, x, y); }
    void DrawInDC_XY(HDC dc, int x, int y, int sx, int sy) const { Draw(dc, x, y, sx, sy); }
    void DrawInDC_XY_Sized(HDC dc, int x, int y, int w, int h, int sx, int sy) const {
        Draw(dc, x, y, w, h, sx, sy);
    }

    // Draws src (the bitmap, or its part inside the bitmap) onto dest
    // (default: src), leaving pixels of the key colour out; with alpha below
    // 255 the other pixels are blended over what dest shows. False when
    // nothing could be drawn.
    bool DrawTransparent(CDC* dc, const RECT* dest = nullptr, const RECT* src = nullptr,
                         COLORREF key = kTransparentKey, int alpha = 255) const;
    // Draws the section through video for Windows (DrawDibDraw) or, without
    // it or when it fails, by a plain copy; rectangles as for Draw.
    bool DrawDIB(CDC* dc, const RECT* dest = nullptr, const RECT* src = nullptr,
                 bool useVfw = true, CPalette* palette = nullptr, bool background = false) const;

    // The window shape of the pixels that differ from key: one-pixel-high
    // rectangles for every run, in one region. With a rectangle other than
    // the bitmap's own, the shape of that part (in its own coordinates).
    // Holds no region without a bitmap or when the rectangle misses it.
    CRgn CreateRgn(COLORREF key = kTransparentKey, const RECT* rect = nullptr) const;
    // A new 32-bit copy of rect (top-down image coordinates, normalised and
    // cut to the bitmap; null: the whole bitmap); null when that is empty.
    static std::unique_ptr<ClsBitMap> CreateImageFromBitmap(HBITMAP bitmap, const RECT* rect);
    std::unique_ptr<ClsBitMap> Clone() const;
    // Copies a bitmap-sized area at (x, y) of dc into the bitmap.
    bool GetFromDC(HDC dc, int x, int y);
    // Writes a 24-bit Windows bitmap file; false on any failure.
    bool SaveToFile(const char* path) const;

    const char* GetRuntimeClassName() const override;

private:
    // Caller holds m_section: the calling thread's lock ends.
    void EndLock();
    void BuildPalette();
    void CloseDrawDib() const;
    void Replace(HBITMAP bitmap);

    CPalette m_palette;
    mutable CCriticalSection m_section;
    CDC m_lockDC;
    int m_lockSavedState = 0;
    mutable HANDLE m_hDrawDib = nullptr;
};

static_assert(sizeof(void*) != 4 || sizeof(ClsBitMap) == 64,
              "ClsBitMap is 64 bytes in the 32-bit skin records");
