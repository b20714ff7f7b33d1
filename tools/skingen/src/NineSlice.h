// The 28 cell numbers every frame and composed image of a skin shares: border
// widths, four corner cells, four edge cells and the content cell, all in the
// coordinates of the skin bitmap.
#pragma once

#include "IniDocument.h"

namespace skingen {

struct NineSlice {
    int left = 0, right = 0, top = 0, bottom = 0;
    int leftTopX = 0, leftTopY = 0, rightTopX = 0, rightTopY = 0;
    int leftBottomX = 0, leftBottomY = 0, rightBottomX = 0, rightBottomY = 0;
    int leftX = 0, leftY = 0, leftLength = 0;
    int rightX = 0, rightY = 0, rightLength = 0;
    int topX = 0, topY = 0, topLength = 0;
    int bottomX = 0, bottomY = 0, bottomLength = 0;
    int contentX = 0, contentY = 0, contentWidth = 0, contentHeight = 0;

    // A template picture of w x h at (x, y), cut by the four border widths.
    static NineSlice of(int x, int y, int w, int h, int left, int right, int top, int bottom);

    // Writes the 28 keys in the order the skin format lists them.
    void write(IniDocument& ini) const;
};

}  // namespace skingen
