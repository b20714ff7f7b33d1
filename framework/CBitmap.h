#pragma once
#include "CGdiObject.h"
#include "CSize.h"

class CDC;

// An owned HBITMAP.
class FW_API CBitmap : public CGdiObject {
public:
    CBitmap() = default;
    CBitmap(CBitmap&&) noexcept = default;
    CBitmap& operator=(CBitmap&&) noexcept = default;

    operator HBITMAP() const { return static_cast<HBITMAP>(m_hObject); }

    bool CreateBitmap(int width, int height, UINT planes, UINT bitsPerPixel, const void* bits);
    bool CreateCompatibleBitmap(CDC* dc, int width, int height);
    bool CreateCompatibleBitmap(HDC dc, int width, int height);
    // A top-down device-independent section of 24 or 32 bits per pixel whose
    // pixels the caller reaches through *bits (rows padded to 4 bytes).
    bool CreateDIBSection(int width, int height, int bitsPerPixel = 32, void** bits = nullptr);
    // From a bitmap resource of the resource module (AfxGetResourceHandle),
    // or of the given module.
    bool LoadBitmap(UINT resourceId);
    bool LoadBitmap(const char* resourceName);
    bool LoadBitmap(HINSTANCE module, const char* resourceName);

    int GetBitmap(BITMAP* info) const;
    // Width and height in pixels; 0 x 0 without a bitmap.
    CSize GetSize() const;

    static CBitmap* FromHandle(HBITMAP bitmap);
    const char* GetRuntimeClassName() const override;
};
