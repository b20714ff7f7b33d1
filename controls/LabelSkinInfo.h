#pragma once
// The place of one skinned label in its host control and the Labels record
// whose font face, text size and text colour it is drawn with. Lives in the
// host; the skin reader fills it on every skin change.
#include "SkinBorderInfo.h"

#include <cstdint>

struct LabelSkinInfo_t {
    int32_t X = 0;
    int32_t Y = 0;
    int32_t Width = 0;
    int32_t Height = 0;
    // Non-zero: the text wraps at word ends; zero: one line, cut at the
    // right edge.
    int32_t WordWrap = 0;
    SkinBorderInfo_t* Skin = nullptr;  // not owned
};

static_assert(sizeof(void*) != 4 || sizeof(LabelSkinInfo_t) == 24, "place, wrap flag and record pointer: six words");
