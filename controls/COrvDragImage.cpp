#include "COrvDragImage.h"

#include "CBitmap.h"
#include "CBrush.h"
#include "CComPtr.h"
#include "CDC.h"
#include "CScopedSelect.h"
#include "CSkin.h"
#include "SkinComponents.h"

#include <shlguid.h>
#include <shlobj.h>

#include <algorithm>
#include <cstring>

bool COrvDragImage::Compose(const char* displayName, HFONT font, const ClsBitMap& image, ClsBitMap& picture) {
    if (!image.GetIsValid()) return false;
    const char* name = displayName ? displayName : "";
    const int length = static_cast<int>(std::strlen(name));

    // Measured on a screen-compatible context, as the picture will be drawn.
    CDC measure;
    if (!measure.CreateCompatibleDC(static_cast<HDC>(nullptr))) return false;
    CScopedSelect measureFont(measure.GetSafeHdc(), font);
    SIZE text{};
    ::GetTextExtentPoint32A(measure.GetSafeHdc(), length ? name : " ", length ? length : 1, &text);
    const SIZE imageSize = image.GetSize();
    const int width = std::min(static_cast<int>(text.cx + imageSize.cx + kPadding), kMaxWidth);
    const int height = std::max(text.cy, imageSize.cy);
    if (width <= 0 || height <= 0) return false;

    ClsBitMap composed;
    if (!composed.AllocateBitMap(width, height, pf32bit)) return false;
    {
        ClsBitMap::ScopedLock locked(composed);
        CDC* dc = composed.Lock();
        if (!dc) return false;
        HDC hdc = dc->GetSafeHdc();
        RECT all = {0, 0, width, height};
        CBrush key, band;
        key.CreateSolidBrush(kTransparent);
        band.CreateSolidBrush(kBandColor);
        ::FillRect(hdc, &all, static_cast<HBRUSH>(key.GetSafeHandle()));
        const int bandHeight = std::min(static_cast<int>(text.cy) + 4, height);
        RECT bandRect = {0, (height - bandHeight) / 2, width, (height - bandHeight) / 2 + bandHeight};
        ::FillRect(hdc, &bandRect, static_cast<HBRUSH>(band.GetSafeHandle()));
        image.Draw(hdc, 0, (height - imageSize.cy) / 2);
        CScopedSelect nameFont(hdc, font);
        ::SetBkMode(hdc, TRANSPARENT);
        ::SetTextColor(hdc, RGB(255, 255, 255));
        RECT textRect = {imageSize.cx, 0, width, height};
        ::DrawTextA(hdc, name, length, &textRect,
                    DT_SINGLELINE | DT_CENTER | DT_VCENTER | DT_END_ELLIPSIS | DT_NOPREFIX);
    }
    picture = composed;
    return picture.GetIsValid();
}

bool COrvDragImage::Compose(const char* displayName, HFONT font, ClsBitMap& picture) {
    S_STD_SKININFO* component = CSkin::GetInstance()->GetComponent(kComponentName);
    CSkinRecordRef<S_STD_SKININFO> held(component);
    auto* skin = dynamic_cast<DragImageSkin*>(component);
    return skin && Compose(displayName, font, skin->Image, picture);
}

bool COrvDragImage::AttachToData(IDataObject* data, const ClsBitMap& picture) {
    if (!data || !picture.GetIsValid()) return false;
    CComPtr<IDragSourceHelper> service;
    if (FAILED(::CoCreateInstance(CLSID_DragDropHelper, nullptr, CLSCTX_INPROC_SERVER, IID_IDragSourceHelper,
                                  reinterpret_cast<void**>(service.Receive()))))
        return false;
    CBitmap copy;
    if (!copy.Attach(static_cast<HBITMAP>(
            ::CopyImage(picture.GetHandle(), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION))))
        return false;
    SHDRAGIMAGE described{};
    described.sizeDragImage = picture.GetSize();
    described.ptOffset = {kCursorX, kCursorY};
    described.hbmpDragImage = static_cast<HBITMAP>(copy.GetSafeHandle());
    described.crColorKey = kTransparent;
    if (FAILED(service->InitializeFromBitmap(&described, data))) return false;
    // The service owns the bitmap now.
    copy.Detach();
    return true;
}
