#pragma once
// How a skinned push button (CSButton) writes its caption when its skin
// record's font and colours are not wanted.
#include "ClsFont.h"

#include "CString.h"

#include <windows.h>

// Writes a button's caption into one band of its image.
class IButtonCaptionWriter {
public:
    // band: 0 normal, 1 hovered, 2 pushed, 3 disabled, 4 default, 5 focused;
    // rect: the band within the image, dc: the image's context (transparent
    // background mode, the parameter's font selected, its colour set).
    virtual void WriteCaption(HDC dc, const RECT& rect, int band, const CString& text) = 0;

protected:
    ~IButtonCaptionWriter() = default;
};

// The caption parameters of a CSButton (SetTextParam).
struct ButtonTextParam_t {
    // Face, height and style; its colour for every band but the disabled one.
    ClsFont Font;
    COLORREF DisabledTextColor = 0x969696;
    // When set, writes the caption instead of the button (not owned).
    IButtonCaptionWriter* Writer = nullptr;
};
