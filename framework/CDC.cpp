#include "CDC.h"

#include "CBitmap.h"
#include "CBrush.h"
#include "CFont.h"
#include "CPen.h"
#include "CRgn.h"
#include "HandleMap.h"

#include <utility>

CDC::~CDC() { DeleteDC(); }

CDC::CDC(CDC&& other) noexcept
    : m_hDC(std::exchange(other.m_hDC, nullptr)),
      m_release(std::exchange(other.m_release, Release::None)),
      m_releaseWindow(std::exchange(other.m_releaseWindow, nullptr)) {}

CDC& CDC::operator=(CDC&& other) noexcept {
    if (this != &other) {
        DeleteDC();
        m_hDC = std::exchange(other.m_hDC, nullptr);
        m_release = std::exchange(other.m_release, Release::None);
        m_releaseWindow = std::exchange(other.m_releaseWindow, nullptr);
    }
    return *this;
}

CDC CDC::Borrow(HDC dc) {
    CDC result;
    result.Take(dc, Release::None, nullptr);
    return result;
}

CDC* CDC::FromHandle(HDC dc) {
    auto make = [](const void* h) -> CObject* { return new CDC(Borrow(static_cast<HDC>(const_cast<void*>(h)))); };
    auto free = [](CObject* o) { delete o; };
    return static_cast<CDC*>(CHandleMap::Instance().Temporary(CHandleMap::Kind::DC, dc, make, free));
}

void CDC::Take(HDC dc, Release release, HWND window) {
    DeleteDC();
    m_hDC = dc;
    m_release = dc ? release : Release::None;
    m_releaseWindow = window;
}

bool CDC::Attach(HDC dc) {
    if (!dc) return false;
    Take(dc, Release::Delete, nullptr);
    return true;
}

HDC CDC::Detach() {
    m_release = Release::None;
    m_releaseWindow = nullptr;
    return std::exchange(m_hDC, nullptr);
}

bool CDC::DeleteDC() {
    HDC dc = std::exchange(m_hDC, nullptr);
    const Release release = std::exchange(m_release, Release::None);
    HWND window = std::exchange(m_releaseWindow, nullptr);
    if (!dc) return false;
    switch (release) {
    case Release::Delete: return ::DeleteDC(dc) != 0;
    case Release::ReleaseDC: return ::ReleaseDC(window, dc) != 0;
    case Release::None: break;
    }
    return true;
}

bool CDC::CreateCompatibleDC(CDC* dc) { return CreateCompatibleDC(dc ? dc->m_hDC : nullptr); }

bool CDC::CreateCompatibleDC(HDC dc) {
    HDC memory = ::CreateCompatibleDC(dc);
    return memory && Attach(memory);
}

HGDIOBJ CDC::SelectObject(HGDIOBJ object) {
    return m_hDC && object ? ::SelectObject(m_hDC, object) : nullptr;
}

CFont* CDC::SelectObject(CFont* font) {
    if (!font) return nullptr;
    return CFont::FromHandle(static_cast<HFONT>(SelectObject(font->m_hObject)));
}

CBitmap* CDC::SelectObject(CBitmap* bitmap) {
    if (!bitmap) return nullptr;
    return CBitmap::FromHandle(static_cast<HBITMAP>(SelectObject(bitmap->m_hObject)));
}

CPen* CDC::SelectObject(CPen* pen) {
    if (!pen) return nullptr;
    return CPen::FromHandle(static_cast<HPEN>(SelectObject(pen->m_hObject)));
}

CBrush* CDC::SelectObject(CBrush* brush) {
    if (!brush) return nullptr;
    return CBrush::FromHandle(static_cast<HBRUSH>(SelectObject(brush->m_hObject)));
}

int CDC::SelectObject(CRgn* region) { return SelectClipRgn(region); }

CGdiObject* CDC::SelectStockObject(int index) {
    return CGdiObject::FromHandle(SelectObject(::GetStockObject(index)));
}

CFont* CDC::GetCurrentFont() const {
    return m_hDC ? CFont::FromHandle(static_cast<HFONT>(::GetCurrentObject(m_hDC, OBJ_FONT)))
                 : nullptr;
}

CBitmap* CDC::GetCurrentBitmap() const {
    return m_hDC ? CBitmap::FromHandle(static_cast<HBITMAP>(::GetCurrentObject(m_hDC, OBJ_BITMAP)))
                 : nullptr;
}

int CDC::SaveDC() { return m_hDC ? ::SaveDC(m_hDC) : 0; }
bool CDC::RestoreDC(int saved) { return m_hDC && ::RestoreDC(m_hDC, saved); }

COLORREF CDC::SetTextColor(COLORREF color) { return m_hDC ? ::SetTextColor(m_hDC, color) : CLR_INVALID; }
COLORREF CDC::GetTextColor() const { return m_hDC ? ::GetTextColor(m_hDC) : CLR_INVALID; }
COLORREF CDC::SetBkColor(COLORREF color) { return m_hDC ? ::SetBkColor(m_hDC, color) : CLR_INVALID; }
COLORREF CDC::GetBkColor() const { return m_hDC ? ::GetBkColor(m_hDC) : CLR_INVALID; }
int CDC::SetBkMode(int mode) { return m_hDC ? ::SetBkMode(m_hDC, mode) : 0; }
int CDC::GetBkMode() const { return m_hDC ? ::GetBkMode(m_hDC) : 0; }
int CDC::SetStretchBltMode(int mode) { return m_hDC ? ::SetStretchBltMode(m_hDC, mode) : 0; }
int CDC::SetROP2(int mode) { return m_hDC ? ::SetROP2(m_hDC, mode) : 0; }
int CDC::GetDeviceCaps(int index) const { return m_hDC ? ::GetDeviceCaps(m_hDC, index) : 0; }

CPoint CDC::SetViewportOrg(int x, int y) {
    POINT old{0, 0};
    if (m_hDC) ::SetViewportOrgEx(m_hDC, x, y, &old);
    return old;
}

CPoint CDC::GetViewportOrg() const {
    POINT origin{0, 0};
    if (m_hDC) ::GetViewportOrgEx(m_hDC, &origin);
    return origin;
}

CPoint CDC::OffsetViewportOrg(int dx, int dy) {
    POINT old{0, 0};
    if (m_hDC) ::OffsetViewportOrgEx(m_hDC, dx, dy, &old);
    return old;
}

int CDC::SelectClipRgn(CRgn* region) {
    return m_hDC ? ::SelectClipRgn(m_hDC, region ? static_cast<HRGN>(*region) : nullptr) : ERROR;
}

int CDC::SelectClipRgn(CRgn* region, int mode) {
    if (!m_hDC) return ERROR;
    return ::ExtSelectClipRgn(m_hDC, region ? static_cast<HRGN>(*region) : nullptr, mode);
}

int CDC::IntersectClipRect(int left, int top, int right, int bottom) {
    return m_hDC ? ::IntersectClipRect(m_hDC, left, top, right, bottom) : ERROR;
}

int CDC::IntersectClipRect(const RECT& r) { return IntersectClipRect(r.left, r.top, r.right, r.bottom); }

int CDC::ExcludeClipRect(int left, int top, int right, int bottom) {
    return m_hDC ? ::ExcludeClipRect(m_hDC, left, top, right, bottom) : ERROR;
}

int CDC::ExcludeClipRect(const RECT& r) { return ExcludeClipRect(r.left, r.top, r.right, r.bottom); }

int CDC::GetClipBox(RECT* rect) const { return m_hDC && rect ? ::GetClipBox(m_hDC, rect) : ERROR; }

void CDC::FillSolidRect(const RECT& rect, COLORREF color) {
    if (!m_hDC) return;
    const COLORREF old = ::SetBkColor(m_hDC, color);
    ::ExtTextOutA(m_hDC, 0, 0, ETO_OPAQUE, &rect, nullptr, 0, nullptr);
    ::SetBkColor(m_hDC, old);
}

void CDC::FillSolidRect(int x, int y, int width, int height, COLORREF color) {
    FillSolidRect(CRect(x, y, x + width, y + height), color);
}

void CDC::FillRect(const RECT& rect, CBrush* brush) {
    if (brush) FillRect(rect, static_cast<HBRUSH>(*brush));
}

void CDC::FillRect(const RECT& rect, HBRUSH brush) {
    if (m_hDC && brush) ::FillRect(m_hDC, &rect, brush);
}

void CDC::FrameRect(const RECT& rect, CBrush* brush) {
    if (brush) FrameRect(rect, static_cast<HBRUSH>(*brush));
}

void CDC::FrameRect(const RECT& rect, HBRUSH brush) {
    if (m_hDC && brush) ::FrameRect(m_hDC, &rect, brush);
}

void CDC::Draw3dRect(const RECT& r, COLORREF topLeft, COLORREF bottomRight) {
    const int w = r.right - r.left, h = r.bottom - r.top;
    if (w <= 0 || h <= 0) return;
    FillSolidRect(r.left, r.top, w - 1, 1, topLeft);
    FillSolidRect(r.left, r.top, 1, h - 1, topLeft);
    FillSolidRect(r.right - 1, r.top, 1, h, bottomRight);
    FillSolidRect(r.left, r.bottom - 1, w, 1, bottomRight);
}

void CDC::DrawFocusRect(const RECT& rect) {
    if (m_hDC) ::DrawFocusRect(m_hDC, &rect);
}

bool CDC::DrawEdge(RECT* rect, UINT edge, UINT flags) {
    return m_hDC && rect && ::DrawEdge(m_hDC, rect, edge, flags);
}

bool CDC::FillRgn(CRgn* region, CBrush* brush) {
    return m_hDC && region && brush && ::FillRgn(m_hDC, *region, *brush);
}

bool CDC::FrameRgn(CRgn* region, CBrush* brush, int width, int height) {
    return m_hDC && region && brush && ::FrameRgn(m_hDC, *region, *brush, width, height);
}

bool CDC::PatBlt(int x, int y, int width, int height, DWORD rop) {
    return m_hDC && ::PatBlt(m_hDC, x, y, width, height, rop);
}

bool CDC::Rectangle(int left, int top, int right, int bottom) {
    return m_hDC && ::Rectangle(m_hDC, left, top, right, bottom);
}

bool CDC::Rectangle(const RECT& r) { return Rectangle(r.left, r.top, r.right, r.bottom); }

bool CDC::RoundRect(int left, int top, int right, int bottom, int width, int height) {
    return m_hDC && ::RoundRect(m_hDC, left, top, right, bottom, width, height);
}

bool CDC::Ellipse(int left, int top, int right, int bottom) {
    return m_hDC && ::Ellipse(m_hDC, left, top, right, bottom);
}

bool CDC::Ellipse(const RECT& r) { return Ellipse(r.left, r.top, r.right, r.bottom); }

bool CDC::Polygon(const POINT* points, int count) {
    return m_hDC && points && count >= 2 && ::Polygon(m_hDC, points, count);
}

bool CDC::Polyline(const POINT* points, int count) {
    return m_hDC && points && count >= 2 && ::Polyline(m_hDC, points, count);
}

CPoint CDC::MoveTo(int x, int y) {
    POINT old{0, 0};
    if (m_hDC) ::MoveToEx(m_hDC, x, y, &old);
    return old;
}

bool CDC::LineTo(int x, int y) { return m_hDC && ::LineTo(m_hDC, x, y); }

COLORREF CDC::GetPixel(int x, int y) const { return m_hDC ? ::GetPixel(m_hDC, x, y) : CLR_INVALID; }

COLORREF CDC::SetPixel(int x, int y, COLORREF color) {
    return m_hDC ? ::SetPixel(m_hDC, x, y, color) : CLR_INVALID;
}

bool CDC::BitBlt(int x, int y, int width, int height, CDC* source, int xSource, int ySource,
                 DWORD rop) {
    if (!m_hDC) return false;
    return ::BitBlt(m_hDC, x, y, width, height, source ? source->m_hDC : nullptr, xSource,
                    ySource, rop) != 0;
}

bool CDC::StretchBlt(int x, int y, int width, int height, CDC* source, int xSource, int ySource,
                     int sourceWidth, int sourceHeight, DWORD rop) {
    if (!m_hDC) return false;
    return ::StretchBlt(m_hDC, x, y, width, height, source ? source->m_hDC : nullptr, xSource,
                        ySource, sourceWidth, sourceHeight, rop) != 0;
}

bool CDC::TransparentBlt(int x, int y, int width, int height, CDC* source, int xSource,
                         int ySource, int sourceWidth, int sourceHeight, COLORREF transparent) {
    if (!m_hDC || !source || !source->m_hDC || width <= 0 || height <= 0 || sourceWidth <= 0 ||
        sourceHeight <= 0)
        return false;
    return ::TransparentBlt(m_hDC, x, y, width, height, source->m_hDC, xSource, ySource,
                            sourceWidth, sourceHeight, transparent) != 0;
}

bool CDC::TextOut(int x, int y, const char* text, int length) {
    if (!m_hDC || !text) return false;
    if (length < 0) length = lstrlenA(text);
    return ::TextOutA(m_hDC, x, y, text, length) != 0;
}

bool CDC::TextOut(int x, int y, const CString& text) {
    return TextOut(x, y, text.GetString(), text.GetLength());
}

bool CDC::ExtTextOut(int x, int y, UINT options, const RECT* rect, const char* text, int length) {
    if (!m_hDC) return false;
    if (!text) length = 0;
    else if (length < 0) length = lstrlenA(text);
    return ::ExtTextOutA(m_hDC, x, y, options, rect, text, static_cast<UINT>(length), nullptr) != 0;
}

UINT CDC::SetTextAlign(UINT flags) { return m_hDC ? ::SetTextAlign(m_hDC, flags) : GDI_ERROR; }

bool CDC::DrawIcon(int x, int y, HICON icon) { return m_hDC && icon && ::DrawIcon(m_hDC, x, y, icon); }

bool CDC::DrawIconEx(int x, int y, HICON icon, int width, int height, UINT flags) {
    return m_hDC && icon && ::DrawIconEx(m_hDC, x, y, icon, width, height, 0, nullptr, flags);
}

int CDC::DrawText(const char* text, int length, RECT* rect, UINT format) {
    if (!m_hDC || !text || !rect) return 0;
    // DT_MODIFYSTRING would write past a caller's constant text.
    return ::DrawTextA(m_hDC, text, length, rect, format & ~static_cast<UINT>(DT_MODIFYSTRING));
}

int CDC::DrawText(const CString& text, RECT* rect, UINT format) {
    return DrawText(text.GetString(), text.GetLength(), rect, format);
}

CSize CDC::GetTextExtent(const char* text, int length) const {
    SIZE size{0, 0};
    if (m_hDC && text) {
        if (length < 0) length = lstrlenA(text);
        ::GetTextExtentPoint32A(m_hDC, text, length, &size);
    }
    return size;
}

CSize CDC::GetTextExtent(const CString& text) const {
    return GetTextExtent(text.GetString(), text.GetLength());
}

bool CDC::GetTextMetrics(TEXTMETRICA* metrics) const {
    return m_hDC && metrics && ::GetTextMetricsA(m_hDC, metrics);
}

const char* CDC::GetRuntimeClassName() const { return "CDC"; }
