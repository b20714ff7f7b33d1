#pragma once
// The two border records the skin reader fills and the controls draw from:
// ControlBorderInfo_t (the frame of a control window) and SkinBorderInfo_t
// (cells for composed images). Both start with the same 28 numbers,
// BorderGeometry_t, in pixels of their image. Field names are the keys of
// the skin description.
//
// The records are plain: copying one copies the numbers and the image
// pointer, and a copy borrows the image. The record that owns its image is
// the one made by NewControlBorderInfo/NewSkinBorderInfo; its holder
// (ControlBorderInfoPtr/SkinBorderInfoPtr) deletes the image with it.
#include "ControlsExport.h"

#include "CString.h"

#include <windows.h>

#include <cstdint>
#include <memory>

class ClsBitMap;

struct BorderGeometry_t {
    int32_t LeftBorderWidth;
    int32_t RightBorderWidth;
    int32_t TopBorderWidth;
    int32_t BottomBorderWidth;
    // Corner cells: as wide as the left or right and as high as the top or
    // bottom border that meet there.
    int32_t LeftTopCornerX, LeftTopCornerY;
    int32_t RightTopCornerX, RightTopCornerY;
    int32_t LeftBottomCornerX, LeftBottomCornerY;
    int32_t RightBottomCornerX, RightBottomCornerY;
    // Edge cells: the left and right ones as wide as their border and
    // Length high, the top and bottom ones Length long and as high as theirs.
    int32_t LeftBorderX, LeftBorderY, LeftBorderLength;
    int32_t RightBorderX, RightBorderY, RightBorderLength;
    int32_t TopBorderX, TopBorderY, TopBorderLength;
    int32_t BottomBorderX, BottomBorderY, BottomBorderLength;
    // The content cell, tiled over the inside.
    int32_t ContentX, ContentY, ContentWidth, ContentHeight;
};

struct ControlBorderInfo_t : BorderGeometry_t {
    COLORREF BgColor;
    // Vertical distance in the image between the cells of two states.
    int32_t InterationStep;
    ClsBitMap* MainImage;
};

struct SkinBorderInfo_t : BorderGeometry_t {
    COLORREF BgColor;
    COLORREF TextColor;
    COLORREF DisabledTextColor;
    CString TextFont;
    int32_t TextSize;
    int32_t Reserved1;  // not read from the skin, left 0
    int32_t Reserved2;
    int32_t InterationStep;
    ClsBitMap* MainImage;
};

// Deletes a record together with the image it points at.
struct CTL_API ControlBorderInfoDeleter {
    void operator()(ControlBorderInfo_t* record) const;
};
struct CTL_API SkinBorderInfoDeleter {
    void operator()(SkinBorderInfo_t* record) const;
};
using ControlBorderInfoPtr = std::unique_ptr<ControlBorderInfo_t, ControlBorderInfoDeleter>;
using SkinBorderInfoPtr = std::unique_ptr<SkinBorderInfo_t, SkinBorderInfoDeleter>;

// A zero-filled record without image, owned by the returned holder.
CTL_API ControlBorderInfoPtr NewControlBorderInfo();
CTL_API SkinBorderInfoPtr NewSkinBorderInfo();

static_assert(sizeof(BorderGeometry_t) == 28 * 4, "28 numbers shared by both border records");
static_assert(sizeof(void*) != 4 || sizeof(ControlBorderInfo_t) == 31 * 4,
              "ControlBorderInfo_t: geometry, colour, state step, image");
static_assert(sizeof(void*) != 4 || sizeof(SkinBorderInfo_t) == 148,
              "SkinBorderInfo_t is 148 bytes (37 words) inside TREESKININFO");
