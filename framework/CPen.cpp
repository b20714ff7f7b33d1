#include "CPen.h"

#include "HandleMap.h"

bool CPen::CreatePen(int style, int width, COLORREF color) {
    return Attach(::CreatePen(style, width, color));
}

int CPen::GetLogPen(LOGPEN* pen) const { return GetObject(sizeof(LOGPEN), pen); }

CPen* CPen::FromHandle(HPEN pen) { return TemporaryGdiObject<CPen>(CHandleMap::Kind::Pen, pen); }

const char* CPen::GetRuntimeClassName() const { return "CPen"; }
