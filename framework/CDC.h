#pragma once
#include "CObject.h"
#include "CPoint.h"
#include "CRect.h"
#include "CSize.h"
#include "CString.h"
#include "FrameworkExport.h"

#include <windows.h>

class CBitmap;
class CBrush;
class CFont;
class CGdiObject;
class CPen;
class CRgn;

// A device context. A CDC either owns its HDC (made by CreateCompatibleDC or
// taken with Attach: deleted with DeleteDC; obtained with GetDC: released with
// ReleaseDC) or borrows one (Borrow, FromHandle: left alone). Copying is
// deleted; moving hands the context and its way of release on.
class FW_API CDC : public CObject {
public:
    CDC() = default;
    ~CDC() override;
    CDC(const CDC&) = delete;
    CDC& operator=(const CDC&) = delete;
    CDC(CDC&& other) noexcept;
    CDC& operator=(CDC&& other) noexcept;

    // A CDC that uses dc without ever deleting or releasing it.
    static CDC Borrow(HDC dc);
    // The calling thread's temporary borrowing wrapper of dc.
    static CDC* FromHandle(HDC dc);

    HDC GetSafeHdc() const { return m_hDC; }
    operator HDC() const { return m_hDC; }

    // Takes ownership; the context is deleted with DeleteDC.
    bool Attach(HDC dc);
    HDC Detach();
    // Deletes, releases or forgets the context, as it was obtained.
    bool DeleteDC();

    bool CreateCompatibleDC(CDC* dc);
    bool CreateCompatibleDC(HDC dc);

    // Selection. Each returns what was selected before (a temporary wrapper
    // for the object forms), or null on failure. See CScopedSelect for a
    // selection that undoes itself.
    HGDIOBJ SelectObject(HGDIOBJ object);
    CFont* SelectObject(CFont* font);
    CBitmap* SelectObject(CBitmap* bitmap);
    CPen* SelectObject(CPen* pen);
    CBrush* SelectObject(CBrush* brush);
    // Selecting a region sets the clip region; returns the region type.
    int SelectObject(CRgn* region);
    CGdiObject* SelectStockObject(int index);
    CFont* GetCurrentFont() const;
    CBitmap* GetCurrentBitmap() const;

    int SaveDC();
    bool RestoreDC(int saved);

    // Colours and modes.
    COLORREF SetTextColor(COLORREF color);
    COLORREF GetTextColor() const;
    COLORREF SetBkColor(COLORREF color);
    COLORREF GetBkColor() const;
    int SetBkMode(int mode);
    int GetBkMode() const;
    int SetStretchBltMode(int mode);
    int SetROP2(int mode);
    int GetDeviceCaps(int index) const;

    // Coordinates.
    CPoint SetViewportOrg(int x, int y);
    CPoint SetViewportOrg(POINT point) { return SetViewportOrg(point.x, point.y); }
    CPoint GetViewportOrg() const;
    CPoint OffsetViewportOrg(int dx, int dy);

    // Clipping.
    int SelectClipRgn(CRgn* region);
    int SelectClipRgn(CRgn* region, int mode);
    int IntersectClipRect(int left, int top, int right, int bottom);
    int IntersectClipRect(const RECT& rect);
    int ExcludeClipRect(int left, int top, int right, int bottom);
    int ExcludeClipRect(const RECT& rect);
    int GetClipBox(RECT* rect) const;

    // Filling and framing. FillSolidRect leaves the background colour as it
    // found it.
    void FillSolidRect(const RECT& rect, COLORREF color);
    void FillSolidRect(int x, int y, int width, int height, COLORREF color);
    void FillRect(const RECT& rect, CBrush* brush);
    void FillRect(const RECT& rect, HBRUSH brush);
    void FrameRect(const RECT& rect, CBrush* brush);
    void FrameRect(const RECT& rect, HBRUSH brush);
    void Draw3dRect(const RECT& rect, COLORREF topLeft, COLORREF bottomRight);
    void DrawFocusRect(const RECT& rect);
    bool DrawEdge(RECT* rect, UINT edge, UINT flags);
    bool FillRgn(CRgn* region, CBrush* brush);
    bool FrameRgn(CRgn* region, CBrush* brush, int width, int height);
    bool PatBlt(int x, int y, int width, int height, DWORD rop);

    // Shapes, in the selected pen and brush.
    bool Rectangle(int left, int top, int right, int bottom);
    bool Rectangle(const RECT& rect);
    bool RoundRect(int left, int top, int right, int bottom, int width, int height);
    bool Ellipse(int left, int top, int right, int bottom);
    bool Ellipse(const RECT& rect);
    bool Polygon(const POINT* points, int count);
    bool Polyline(const POINT* points, int count);
    CPoint MoveTo(int x, int y);
    CPoint MoveTo(POINT point) { return MoveTo(point.x, point.y); }
    bool LineTo(int x, int y);
    bool LineTo(POINT point) { return LineTo(point.x, point.y); }

    // Pixels.
    COLORREF GetPixel(int x, int y) const;
    COLORREF GetPixel(POINT point) const { return GetPixel(point.x, point.y); }
    COLORREF SetPixel(int x, int y, COLORREF color);
    COLORREF SetPixel(POINT point, COLORREF color) { return SetPixel(point.x, point.y, color); }

    // Block transfers. TransparentBlt copies every pixel except those of the
    // transparent colour (magenta in the skins), stretching when the sizes differ.
    bool BitBlt(int x, int y, int width, int height, CDC* source, int xSource, int ySource,
                DWORD rop);
    bool StretchBlt(int x, int y, int width, int height, CDC* source, int xSource, int ySource,
                    int sourceWidth, int sourceHeight, DWORD rop);
    bool TransparentBlt(int x, int y, int width, int height, CDC* source, int xSource,
                        int ySource, int sourceWidth, int sourceHeight, COLORREF transparent);

    // Icons, at their own size or stretched (DI_NORMAL draws with the mask).
    bool DrawIcon(int x, int y, HICON icon);
    bool DrawIconEx(int x, int y, HICON icon, int width, int height, UINT flags = DI_NORMAL);

    // Text.
    bool TextOut(int x, int y, const char* text, int length);
    bool ExtTextOut(int x, int y, UINT options, const RECT* rect, const char* text, int length);
    UINT SetTextAlign(UINT flags);
    bool TextOut(int x, int y, const CString& text);
    int DrawText(const char* text, int length, RECT* rect, UINT format);
    int DrawText(const CString& text, RECT* rect, UINT format);
    CSize GetTextExtent(const char* text, int length) const;
    CSize GetTextExtent(const CString& text) const;
    bool GetTextMetrics(TEXTMETRICA* metrics) const;

    const char* GetRuntimeClassName() const override;

    HDC m_hDC = nullptr;

protected:
    enum class Release { None, Delete, ReleaseDC };
    // Takes dc with the given way of release (ReleaseDC needs the window).
    void Take(HDC dc, Release release, HWND window);

private:
    Release m_release = Release::None;
    HWND m_releaseWindow = nullptr;
};
