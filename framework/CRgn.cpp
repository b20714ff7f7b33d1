#include "CRgn.h"

#include "HandleMap.h"

bool CRgn::CreateRectRgn(int left, int top, int right, int bottom) {
    return Attach(::CreateRectRgn(left, top, right, bottom));
}

bool CRgn::CreateRectRgnIndirect(const RECT* rect) {
    return rect && Attach(::CreateRectRgnIndirect(rect));
}

bool CRgn::CreateEllipticRgn(int left, int top, int right, int bottom) {
    return Attach(::CreateEllipticRgn(left, top, right, bottom));
}

bool CRgn::CreateEllipticRgnIndirect(const RECT* rect) {
    return rect && Attach(::CreateEllipticRgnIndirect(rect));
}

bool CRgn::CreatePolygonRgn(const POINT* points, int count, int fillMode) {
    if (!points || count < 3) return false;
    return Attach(::CreatePolygonRgn(points, count, fillMode));
}

bool CRgn::CreateRoundRectRgn(int left, int top, int right, int bottom, int width, int height) {
    return Attach(::CreateRoundRectRgn(left, top, right, bottom, width, height));
}

bool CRgn::MakeEmpty() { return m_hObject || CreateRectRgn(0, 0, 0, 0); }

int CRgn::CombineRgn(const CRgn* a, const CRgn* b, int mode) {
    if (!a || !a->m_hObject) return ERROR;
    if (mode != RGN_COPY && (!b || !b->m_hObject)) return ERROR;
    if (!MakeEmpty()) return ERROR;
    return ::CombineRgn(*this, *a, mode == RGN_COPY ? nullptr : static_cast<HRGN>(*b), mode);
}

int CRgn::CopyRgn(const CRgn* source) {
    if (!source || !source->m_hObject || !MakeEmpty()) return ERROR;
    return ::CombineRgn(*this, *source, nullptr, RGN_COPY);
}

int CRgn::OffsetRgn(int dx, int dy) { return m_hObject ? ::OffsetRgn(*this, dx, dy) : ERROR; }

int CRgn::GetRgnBox(RECT* rect) const {
    return m_hObject && rect ? ::GetRgnBox(*this, rect) : ERROR;
}

void CRgn::SetRectRgn(int left, int top, int right, int bottom) {
    if (m_hObject) {
        ::SetRectRgn(*this, left, top, right, bottom);
    } else {
        CreateRectRgn(left, top, right, bottom);
    }
}

bool CRgn::PtInRegion(int x, int y) const { return m_hObject && ::PtInRegion(*this, x, y); }

bool CRgn::RectInRegion(const RECT* rect) const {
    return m_hObject && rect && ::RectInRegion(*this, rect);
}

bool CRgn::EqualRgn(const CRgn* other) const {
    return m_hObject && other && other->m_hObject && ::EqualRgn(*this, *other);
}

CRgn* CRgn::FromHandle(HRGN region) {
    return TemporaryGdiObject<CRgn>(CHandleMap::Kind::Rgn, region);
}

const char* CRgn::GetRuntimeClassName() const { return "CRgn"; }
