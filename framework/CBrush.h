#pragma once
#include "CGdiObject.h"

class CBitmap;

// An owned HBRUSH.
class FW_API CBrush : public CGdiObject {
public:
    CBrush() = default;
    explicit CBrush(COLORREF color) { CreateSolidBrush(color); }
    CBrush(CBrush&&) noexcept = default;
    CBrush& operator=(CBrush&&) noexcept = default;

    operator HBRUSH() const { return static_cast<HBRUSH>(m_hObject); }

    bool CreateSolidBrush(COLORREF color);
    bool CreatePatternBrush(CBitmap* bitmap);
    int GetLogBrush(LOGBRUSH* brush) const;

    static CBrush* FromHandle(HBRUSH brush);
    const char* GetRuntimeClassName() const override;
};
