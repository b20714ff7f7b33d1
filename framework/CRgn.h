#pragma once
#include "CGdiObject.h"

// An owned HRGN. CombineRgn and CopyRgn make an empty region first when
// this object holds none, so a fresh CRgn can take a result.
class FW_API CRgn : public CGdiObject {
public:
    CRgn() = default;
    CRgn(CRgn&&) noexcept = default;
    CRgn& operator=(CRgn&&) noexcept = default;

    operator HRGN() const { return static_cast<HRGN>(m_hObject); }

    bool CreateRectRgn(int left, int top, int right, int bottom);
    bool CreateRectRgnIndirect(const RECT* rect);
    bool CreateEllipticRgn(int left, int top, int right, int bottom);
    bool CreateEllipticRgnIndirect(const RECT* rect);
    bool CreatePolygonRgn(const POINT* points, int count, int fillMode);
    bool CreateRoundRectRgn(int left, int top, int right, int bottom, int width, int height);

    // Each returns the region type (NULLREGION, SIMPLEREGION, COMPLEXREGION)
    // or ERROR.
    int CombineRgn(const CRgn* a, const CRgn* b, int mode);
    int CopyRgn(const CRgn* source);
    int OffsetRgn(int dx, int dy);
    int OffsetRgn(POINT offset) { return OffsetRgn(offset.x, offset.y); }
    int GetRgnBox(RECT* rect) const;
    void SetRectRgn(int left, int top, int right, int bottom);

    bool PtInRegion(int x, int y) const;
    bool PtInRegion(POINT point) const { return PtInRegion(point.x, point.y); }
    bool RectInRegion(const RECT* rect) const;
    bool EqualRgn(const CRgn* other) const;

    static CRgn* FromHandle(HRGN region);
    const char* GetRuntimeClassName() const override;

private:
    bool MakeEmpty();
};
