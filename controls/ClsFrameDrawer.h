#pragma once
// The nine-part frame: edges tiled from their cells, corners drawn last, the
// content cell tiled inside. Used for the frames and client backgrounds of
// skinned control windows, and for any image composed from border cells.
#include "ControlsExport.h"
#include "SkinBorderInfo.h"

#include <windows.h>

class ClsBitMap;

class CTL_API ClsFrameDrawer {
public:
    // The frame of a control window of width x height, in window
    // coordinates; nothing without a record or an image.
    static void DrawFrame(HDC dc, const ControlBorderInfo_t* frame, int width, int height);
    // The client background: the content cell tiled from the client origin
    // until width x height is covered. False (nothing drawn) without an
    // image or with an empty content cell: default painting then.
    static bool FillContent(HDC dc, const ControlBorderInfo_t* frame, int width, int height);

    // Edges and corners of area: top and bottom edge cells from the left
    // border while short of the right border, left and right ones from the
    // top border while short of the bottom border, stepping by their length
    // (an edge of length 0 is left out); then the four corners. Every cell
    // whole, at its own size, from the image shifted down by sourceDy.
    static void DrawEdgesAndCorners(HDC dc, const BorderGeometry_t& cells, const ClsBitMap& image,
                                    const RECT& area, int sourceDy = 0);
    // Whole content cells from fill's top-left corner while short of its
    // right and bottom; false without a content cell.
    static bool TileContent(HDC dc, const BorderGeometry_t& cells, const ClsBitMap& image,
                            const RECT& fill, int sourceDy = 0);
};
