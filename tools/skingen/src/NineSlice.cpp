#include "NineSlice.h"

namespace skingen {

NineSlice NineSlice::of(int x, int y, int w, int h, int left, int right, int top, int bottom) {
    NineSlice s;
    s.left = left;
    s.right = right;
    s.top = top;
    s.bottom = bottom;
    s.leftTopX = x;
    s.leftTopY = y;
    s.rightTopX = x + w - right;
    s.rightTopY = y;
    s.leftBottomX = x;
    s.leftBottomY = y + h - bottom;
    s.rightBottomX = x + w - right;
    s.rightBottomY = y + h - bottom;
    s.leftX = x;
    s.leftY = y + top;
    s.leftLength = h - top - bottom;
    s.rightX = x + w - right;
    s.rightY = y + top;
    s.rightLength = h - top - bottom;
    s.topX = x + left;
    s.topY = y;
    s.topLength = w - left - right;
    s.bottomX = x + left;
    s.bottomY = y + h - bottom;
    s.bottomLength = w - left - right;
    s.contentX = x + left;
    s.contentY = y + top;
    s.contentWidth = w - left - right;
    s.contentHeight = h - top - bottom;
    return s;
}

void NineSlice::write(IniDocument& ini) const {
    ini.number("LeftBorderWidth", left);
    ini.number("RightBorderWidth", right);
    ini.number("TopBorderWidth", top);
    ini.number("BottomBorderWidth", bottom);
    ini.number("LeftTopCornerX", leftTopX);
    ini.number("LeftTopCornerY", leftTopY);
    ini.number("RightTopCornerX", rightTopX);
    ini.number("RightTopCornerY", rightTopY);
    ini.number("LeftBottomCornerX", leftBottomX);
    ini.number("LeftBottomCornerY", leftBottomY);
    ini.number("RightBottomCornerX", rightBottomX);
    ini.number("RightBottomCornerY", rightBottomY);
    ini.number("LeftBorderX", leftX);
    ini.number("LeftBorderY", leftY);
    ini.number("LeftBorderLength", leftLength);
    ini.number("RightBorderX", rightX);
    ini.number("RightBorderY", rightY);
    ini.number("RightBorderLength", rightLength);
    ini.number("TopBorderX", topX);
    ini.number("TopBorderY", topY);
    ini.number("TopBorderLength", topLength);
    ini.number("BottomBorderX", bottomX);
    ini.number("BottomBorderY", bottomY);
    ini.number("BottomBorderLength", bottomLength);
    ini.number("ContentX", contentX);
    ini.number("ContentY", contentY);
    ini.number("ContentWidth", contentWidth);
    ini.number("ContentHeight", contentHeight);
}

}  // namespace skingen
