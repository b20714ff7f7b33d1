#include "SkinImageFormer.h"

#include "ClsFrameDrawer.h"

#include "CFont.h"
#include "CScopedSelect.h"

#include <algorithm>
#include <optional>
#include <cstdint>

namespace {

// Skin numbers beyond this mean nothing for images of at most 8192 pixels a
// side; clamping them keeps every sum below in range, and border widths are
// never negative, so tiling covers at most the button itself.
constexpr int32_t kMaxSkinNumber = 65536;

int32_t Clamp(int32_t value, int32_t low) { return std::min(std::max(value, low), kMaxSkinNumber); }

BorderGeometry_t SaneCells(const BorderGeometry_t& cells) {
    BorderGeometry_t sane = cells;
    int32_t* numbers = &sane.LeftBorderWidth;
    constexpr int kWidths = 4;  // the four border widths come first
    constexpr int kNumbers = sizeof(BorderGeometry_t) / sizeof(int32_t);
    for (int i = 0; i < kNumbers; ++i) numbers[i] = Clamp(numbers[i], i < kWidths ? 0 : -kMaxSkinNumber);
    return sane;
}

bool AllocateBands(ClsBitMap& image, int width, int height, int bands) {
    if (width < 1 || height < 1 || width > SkinImageFormer::kMaxWidth || height > SkinImageFormer::kMaxHeight) {
        image.DeleteObject();
        return false;
    }
    return image.AllocateBitMap(width, bands * height, pf32bit);
}

// The font of a button's caption: TextSize high, normal weight, face
// TextFont (the system's default face when there is none).
bool MakeCaptionFont(CFont& font, const SkinBorderInfo_t& skin) {
    const char* face = skin.TextFont.IsEmpty() ? nullptr : skin.TextFont.GetString();
    return font.CreateFont(skin.TextSize, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                           CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, face);
}

void DrawCaption(HDC dc, const char* caption, RECT rect, COLORREF color, UINT alignment) {
    if (!caption || !*caption) return;
    ::SetTextColor(dc, color);
    ::DrawTextA(dc, caption, -1, &rect, alignment | DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
}

}  // namespace

bool SkinImageFormer::FormButtonImage(ButtonSkinInfo_t& button, const SkinBorderInfo_t* skin, const char* caption) {
    const int width = button.Width;
    const int height = button.Height;
    if (!AllocateBands(button.Image, width, height, ButtonSkinInfo_t::kBands)) return false;
    if (!skin || !skin->MainImage) return true;

    ClsBitMap::ScopedLock locked(button.Image);
    CDC* target = button.Image.Lock();
    if (!target) return false;
    const HDC dc = target->GetSafeHdc();
    CScopedSaveDC saved(dc);
    // Realising a font is the dearest step here: only for a caption.
    const bool captioned = caption && *caption;
    CFont font;
    if (captioned) MakeCaptionFont(font, *skin);
    CScopedSelect selectFont(dc, font.GetSafeHandle());
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextAlign(dc, TA_LEFT | TA_TOP);

    const BorderGeometry_t cells = SaneCells(*skin);
    const int32_t step = Clamp(skin->InterationStep, -kMaxSkinNumber);
    const ClsBitMap& image = *skin->MainImage;
    // One selection of the skin image for all the cells of all bands.
    ClsBitMap::ScopedLock source(image);
    for (int state = 0; state < ButtonSkinInfo_t::kBands; ++state) {
        const int y0 = state * height;
        const int dy = state * step;
        ClsFrameDrawer::TileContent(dc, cells, image,
                                    RECT{cells.LeftBorderWidth, y0 + cells.TopBorderWidth,
                                         width - cells.RightBorderWidth, y0 + height - cells.BottomBorderWidth},
                                    dy);
        ClsFrameDrawer::DrawEdgesAndCorners(dc, cells, image, RECT{0, y0, width, y0 + height}, dy);
        switch (state) {
        case 2:  // pushed: the caption moves one pixel right and down
            DrawCaption(dc, caption, RECT{1, y0 + 1, width + 1, y0 + height}, skin->TextColor, DT_CENTER);
            break;
        case 3:
            DrawCaption(dc, caption, RECT{0, y0, width, y0 + height - 1}, skin->DisabledTextColor, DT_CENTER);
            break;
        default:
            DrawCaption(dc, caption, RECT{0, y0, width, y0 + height - 1}, skin->TextColor, DT_CENTER);
            break;
        }
    }
    ::GdiFlush();
    return true;
}

bool SkinImageFormer::FormRadioButtonImage(RadioButtonSkinInfo_t& button, const SkinBorderInfo_t* skin,
                                           const char* caption) {
    const int width = button.Width;
    const int height = button.Height;
    if (!AllocateBands(button.Image, width, height, RadioButtonSkinInfo_t::kBands)) return false;
    if (!skin) return true;

    ClsBitMap::ScopedLock locked(button.Image);
    CDC* target = button.Image.Lock();
    if (!target) return false;
    const HDC dc = target->GetSafeHdc();
    CScopedSaveDC saved(dc);
    CFont font;
    if (caption && *caption) MakeCaptionFont(font, *skin);
    CScopedSelect selectFont(dc, font.GetSafeHandle());
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextAlign(dc, TA_LEFT | TA_TOP);

    const BorderGeometry_t cells = SaneCells(*skin);
    const int32_t step = Clamp(skin->InterationStep, -kMaxSkinNumber);
    const ClsBitMap* image = skin->MainImage && skin->MainImage->GetIsValid() ? skin->MainImage : nullptr;
    std::optional<ClsBitMap::ScopedLock> source;
    if (image) source.emplace(*image);
    for (int band = 0; band < RadioButtonSkinInfo_t::kBands; ++band) {
        const RECT rect{cells.LeftBorderWidth, band * height, width, (band + 1) * height};
        const int dy = band * step;
        const bool tiled = image && ClsFrameDrawer::TileContent(dc, cells, *image, rect, dy);
        if (!tiled) target->FillSolidRect(rect, skin->BgColor);
        if (image)
            image->Draw(dc, 0, rect.top, cells.LeftBorderWidth, cells.LeftBorderLength, cells.LeftBorderX,
                        cells.LeftBorderY + dy);
        DrawCaption(dc, caption, rect, skin->TextColor, DT_LEFT);
    }
    ::GdiFlush();
    return true;
}
