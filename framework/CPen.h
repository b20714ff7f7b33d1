#pragma once
#include "CGdiObject.h"

// An owned HPEN.
class FW_API CPen : public CGdiObject {
public:
    CPen() = default;
    CPen(int style, int width, COLORREF color) { CreatePen(style, width, color); }
    CPen(CPen&&) noexcept = default;
    CPen& operator=(CPen&&) noexcept = default;

    operator HPEN() const { return static_cast<HPEN>(m_hObject); }

    bool CreatePen(int style, int width, COLORREF color);
    int GetLogPen(LOGPEN* pen) const;

    static CPen* FromHandle(HPEN pen);
    const char* GetRuntimeClassName() const override;
};
