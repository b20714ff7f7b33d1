#pragma once
// Composes the images of skinned buttons from the cells of a skin record:
// one band per state, stacked from the top, each drawn from the skin image
// shifted down by the band's state step, with the caption written on it.
#include "ButtonSkinInfo.h"
#include "SkinBorderInfo.h"

class SkinImageFormer {
public:
    // Buttons larger than this are refused (their image is left empty): no
    // skinned button comes near it, and it bounds the work of tiling.
    static constexpr int kMaxWidth = 1024;
    static constexpr int kMaxHeight = 256;

    // Width x (4 x Height), bands normal, hovered, pushed, disabled: content
    // cells tiled inside the borders, the edges, the corners, then the
    // caption centred (one pixel right and down when pushed, in the disabled
    // text colour when disabled). A record without image object gives blank
    // bands. False when the image could not be made.
    static bool FormButtonImage(ButtonSkinInfo_t& button, const SkinBorderInfo_t* skin, const char* caption);

    // Width x (6 x Height): right of the glyph column the content cell tiled
    // (or the background colour without one), the glyph (the left border
    // cell of the band's state) at the left, the caption left-aligned.
    static bool FormRadioButtonImage(RadioButtonSkinInfo_t& button, const SkinBorderInfo_t* skin,
                                     const char* caption);
};
