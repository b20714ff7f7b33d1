#include "CBitmap.h"

#include "AfxGlobals.h"
#include "CDC.h"
#include "HandleMap.h"

bool CBitmap::CreateBitmap(int width, int height, UINT planes, UINT bitsPerPixel,
                           const void* bits) {
    return Attach(::CreateBitmap(width, height, planes, bitsPerPixel, bits));
}

bool CBitmap::CreateCompatibleBitmap(CDC* dc, int width, int height) {
    return dc && CreateCompatibleBitmap(dc->GetSafeHdc(), width, height);
}

bool CBitmap::CreateCompatibleBitmap(HDC dc, int width, int height) {
    if (!dc || width <= 0 || height <= 0) return false;
    return Attach(::CreateCompatibleBitmap(dc, width, height));
}

bool CBitmap::CreateDIBSection(int width, int height, int bitsPerPixel, void** bits) {
    if (bits) *bits = nullptr;
    if (width <= 0 || height <= 0 || (bitsPerPixel != 24 && bitsPerPixel != 32)) return false;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = static_cast<WORD>(bitsPerPixel);
    info.bmiHeader.biCompression = BI_RGB;
    void* pixels = nullptr;
    HBITMAP bitmap = ::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &pixels, nullptr, 0);
    if (!bitmap) return false;
    Attach(bitmap);
    if (bits) *bits = pixels;
    return true;
}

bool CBitmap::LoadBitmap(UINT resourceId) {
    return LoadBitmap(AfxGetResourceHandle(), MAKEINTRESOURCEA(resourceId));
}

bool CBitmap::LoadBitmap(const char* resourceName) {
    return LoadBitmap(AfxGetResourceHandle(), resourceName);
}

bool CBitmap::LoadBitmap(HINSTANCE module, const char* resourceName) {
    if (!resourceName) return false;
    HBITMAP bitmap = static_cast<HBITMAP>(
        ::LoadImageA(module, resourceName, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    return bitmap && Attach(bitmap);
}

int CBitmap::GetBitmap(BITMAP* info) const { return GetObject(sizeof(BITMAP), info); }

CSize CBitmap::GetSize() const {
    BITMAP info{};
    if (!GetBitmap(&info)) return CSize(0, 0);
    return CSize(info.bmWidth, info.bmHeight);
}

CBitmap* CBitmap::FromHandle(HBITMAP bitmap) {
    return TemporaryGdiObject<CBitmap>(CHandleMap::Kind::Bitmap, bitmap);
}

const char* CBitmap::GetRuntimeClassName() const { return "CBitmap"; }
