#include "SkinBorderInfo.h"

#include "ClsBitMap.h"

#include <cstddef>

void ControlBorderInfoDeleter::operator()(ControlBorderInfo_t* record) const {
    if (!record) return;
    delete record->MainImage;
    delete record;
}

void SkinBorderInfoDeleter::operator()(SkinBorderInfo_t* record) const {
    if (!record) return;
    delete record->MainImage;
    delete record;
}

ControlBorderInfoPtr NewControlBorderInfo() { return ControlBorderInfoPtr(new ControlBorderInfo_t{}); }

SkinBorderInfoPtr NewSkinBorderInfo() { return SkinBorderInfoPtr(new SkinBorderInfo_t{}); }

// Offsets the skin reader and the tree control rely on (32-bit layout). The
// records derive from BorderGeometry_t, which offsetof accepts with a warning.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Winvalid-offsetof"
static_assert(sizeof(void*) != 4 || (offsetof(ControlBorderInfo_t, BgColor) == 112 &&
                                     offsetof(ControlBorderInfo_t, InterationStep) == 116 &&
                                     offsetof(ControlBorderInfo_t, MainImage) == 120),
              "ControlBorderInfo_t layout");
static_assert(sizeof(void*) != 4 || (offsetof(SkinBorderInfo_t, BgColor) == 112 &&
                                     offsetof(SkinBorderInfo_t, TextFont) == 124 &&
                                     offsetof(SkinBorderInfo_t, TextSize) == 128 &&
                                     offsetof(SkinBorderInfo_t, InterationStep) == 140 &&
                                     offsetof(SkinBorderInfo_t, MainImage) == 144),
              "SkinBorderInfo_t layout");
#pragma GCC diagnostic pop
