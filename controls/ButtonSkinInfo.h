#pragma once
// The place and composed image of one skinned button, kept inside the
// control that owns the button. The skin reader fills both on every skin
// change; the button draws the band of its state from the image.
#include "ClsBitMap.h"

#include <cstdint>

// The shape both records share: the button's place in its control and its
// image of bands, each Height pixels high, stacked from the top.
struct SkinnedButtonRecord_t {
    int32_t X = 0;
    int32_t Y = 0;
    int32_t Width = 0;
    int32_t Height = 0;
    ClsBitMap Image;
};

// A push button: the image is Width x (4 x Height), one band per state from
// the top: 0 normal, 1 hovered, 2 pushed, 3 disabled.
struct ButtonSkinInfo_t : SkinnedButtonRecord_t {
    static constexpr int kBands = 4;
};

// A radio button: the image is Width x (6 x Height), bands 0 to 2 unchecked
// normal, hovered, pushed, bands 3 to 5 the same checked.
struct RadioButtonSkinInfo_t : SkinnedButtonRecord_t {
    static constexpr int kBands = 6;
};
