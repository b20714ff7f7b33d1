#pragma once
// The background of a composite control: the skin frame's colour, with the
// frame's content cell tiled over it from the client origin.
#include "SkinBorderInfo.h"

#include <windows.h>

class OrvBackgroundPainter {
public:
    // Without a frame the system's face colour.
    static void Paint(HDC dc, const ControlBorderInfo_t* frame, int width, int height);
};
