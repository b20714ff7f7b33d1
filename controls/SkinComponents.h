#pragma once
// The shared skin records that windows, dialogs and message boxes find in
// the CSkin registry by name ("MainFrame\caption", "dialog\border",
// "msbdialog\button", "dialog", "OrvNavigateTreeControl" ...). The skin
// reader builds them on every skin change; the skin components of top-level
// windows and the tree's drag image read them. Reference counted: made with
// new, held through AddRef/Release, never copied.
#include "ClsBitMap.h"
#include "ClsFont.h"
#include "ControlsExport.h"
#include "S_STD_SKININFO.h"
#include "SkinBorderInfo.h"

#include <cstdint>

// Push buttons of dialogs and message boxes ("...\button").
class CTL_API ButtonSkin : public S_STD_SKININFO {
public:
    // The geometry of the button cells; its MainImage points at Image.
    ControlBorderInfo_t Border{};
    ClsBitMap Image;
    ClsFont Font;
    COLORREF DisabledTextColor = 0x969696;
};

// Captions of top-level windows and dialogs ("...\caption").
class CTL_API CaptionSkin : public S_STD_SKININFO {
public:
    // The geometry of the caption cells, without image; InterationStep is
    // also the caption's height.
    ControlBorderInfo_t Border{};
    ClsBitMap CaptionImage;
    // A 4 x 4 grid: columns minimise, restore, maximise, close; rows normal,
    // hovered, pressed, disabled.
    ClsBitMap ButtonsImage;
    int32_t ButtonWidth = 0;   // a quarter of the grid's width
    int32_t ButtonHeight = 0;  // a quarter of its height
    ClsFont Font;
    int32_t IconX = 10;
    int32_t IconY = 0;
    int32_t ButtonsX = 7;
    int32_t ButtonsY = 0;
    int32_t TextX = 5;
    int32_t TextY = 2;
    // The sizing strip along the caption's top and sides.
    int32_t FrameWidth = 4;
    int32_t FrameHeight = 4;
};

// Left, right and bottom frames of top-level windows ("...\border").
class CTL_API FrameSkin : public S_STD_SKININFO {
public:
    ControlBorderInfo_t Border{};  // geometry only, without image
    ClsBitMap LeftFrameImage;
    ClsBitMap RightFrameImage;
    ClsBitMap BottomFrameImage;
};

// Client background colour of dialogs and the main window ("dialog",
// "MainFrame").
class CTL_API BackgroundSkin : public S_STD_SKININFO {
public:
    COLORREF Color = 0xC8D0D4;
};

// The picture shown while a contact is dragged ("OrvNavigateTreeControl").
class CTL_API DragImageSkin : public S_STD_SKININFO {
public:
    ClsBitMap Image;
};
