#include "CBrush.h"

#include "CBitmap.h"
#include "HandleMap.h"

bool CBrush::CreateSolidBrush(COLORREF color) { return Attach(::CreateSolidBrush(color)); }

bool CBrush::CreatePatternBrush(CBitmap* bitmap) {
    return bitmap && bitmap->m_hObject && Attach(::CreatePatternBrush(*bitmap));
}

int CBrush::GetLogBrush(LOGBRUSH* brush) const { return GetObject(sizeof(LOGBRUSH), brush); }

CBrush* CBrush::FromHandle(HBRUSH brush) {
    return TemporaryGdiObject<CBrush>(CHandleMap::Kind::Brush, brush);
}

const char* CBrush::GetRuntimeClassName() const { return "CBrush"; }
