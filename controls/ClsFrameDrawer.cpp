#include "ClsFrameDrawer.h"

#include "ClsBitMap.h"

#include <algorithm>

namespace {
bool HasImage(const ControlBorderInfo_t* frame) {
    return frame && frame->MainImage && frame->MainImage->GetIsValid();
}

// Cells at (x, y) stepping along one axis while below end; 64-bit so that
// the last step near the end of int cannot wrap around.
void TileAlong(HDC dc, const ClsBitMap& image, bool horizontal, int64_t from, int64_t end, int fixed,
               int cellWidth, int cellHeight, int sourceX, int sourceY) {
    const int step = horizontal ? cellWidth : cellHeight;
    if (step <= 0 || cellWidth <= 0 || cellHeight <= 0) return;
    for (int64_t at = from; at < end; at += step) {
        const int x = horizontal ? static_cast<int>(at) : fixed;
        const int y = horizontal ? fixed : static_cast<int>(at);
        image.Draw(dc, x, y, cellWidth, cellHeight, sourceX, sourceY);
    }
}
}  // namespace

void ClsFrameDrawer::DrawEdgesAndCorners(HDC dc, const BorderGeometry_t& c, const ClsBitMap& image,
                                         const RECT& area, int dy) {
    if (!dc || !image.GetIsValid()) return;
    ClsBitMap::ScopedLock source(image);
    const int left = area.left, top = area.top;
    const int right = area.right, bottom = area.bottom;
    const int rightEdgeX = right - c.RightBorderWidth;
    const int bottomEdgeY = bottom - c.BottomBorderWidth;
    // Top and bottom edges.
    TileAlong(dc, image, true, int64_t{left} + c.LeftBorderWidth, rightEdgeX, top, c.TopBorderLength,
              c.TopBorderWidth, c.TopBorderX, c.TopBorderY + dy);
    TileAlong(dc, image, true, int64_t{left} + c.LeftBorderWidth, rightEdgeX, bottomEdgeY,
              c.BottomBorderLength, c.BottomBorderWidth, c.BottomBorderX, c.BottomBorderY + dy);
    // Left and right edges.
    TileAlong(dc, image, false, int64_t{top} + c.TopBorderWidth, bottomEdgeY, left, c.LeftBorderWidth,
              c.LeftBorderLength, c.LeftBorderX, c.LeftBorderY + dy);
    TileAlong(dc, image, false, int64_t{top} + c.TopBorderWidth, bottomEdgeY, rightEdgeX,
              c.RightBorderWidth, c.RightBorderLength, c.RightBorderX, c.RightBorderY + dy);
    // Corners last: the last cell of an edge may run under them.
    image.Draw(dc, left, top, c.LeftBorderWidth, c.TopBorderWidth, c.LeftTopCornerX, c.LeftTopCornerY + dy);
    image.Draw(dc, rightEdgeX, top, c.RightBorderWidth, c.TopBorderWidth, c.RightTopCornerX,
               c.RightTopCornerY + dy);
    image.Draw(dc, left, bottomEdgeY, c.LeftBorderWidth, c.BottomBorderWidth, c.LeftBottomCornerX,
               c.LeftBottomCornerY + dy);
    image.Draw(dc, rightEdgeX, bottomEdgeY, c.RightBorderWidth, c.BottomBorderWidth, c.RightBottomCornerX,
               c.RightBottomCornerY + dy);
}

bool ClsFrameDrawer::TileContent(HDC dc, const BorderGeometry_t& c, const ClsBitMap& image,
                                 const RECT& fill, int dy) {
    if (!dc || !image.GetIsValid() || c.ContentWidth <= 0 || c.ContentHeight <= 0) return false;
    // Only the cells that meet the device context's clip box can change a
    // pixel: a paint of a small update region, or a narrow window whose area
    // is large, draws those and no others. The grid stays anchored at fill.
    int64_t top = fill.top, bottom = fill.bottom, left = fill.left, right = fill.right;
    RECT clip{};
    const int clipKind = ::GetClipBox(dc, &clip);
    if (clipKind == NULLREGION) return true;
    if (clipKind != ERROR) {
        if (clip.top > top) top += (clip.top - top) / c.ContentHeight * c.ContentHeight;
        if (clip.left > left) left += (clip.left - left) / c.ContentWidth * c.ContentWidth;
        bottom = std::min<int64_t>(bottom, clip.bottom);
        right = std::min<int64_t>(right, clip.right);
    }
    ClsBitMap::ScopedLock source(image);
    for (int64_t y = top; y < bottom; y += c.ContentHeight)
        TileAlong(dc, image, true, left, right, static_cast<int>(y), c.ContentWidth, c.ContentHeight, c.ContentX,
                  c.ContentY + dy);
    return true;
}

void ClsFrameDrawer::DrawFrame(HDC dc, const ControlBorderInfo_t* frame, int width, int height) {
    if (!HasImage(frame) || width <= 0 || height <= 0) return;
    DrawEdgesAndCorners(dc, *frame, *frame->MainImage, RECT{0, 0, width, height});
}

bool ClsFrameDrawer::FillContent(HDC dc, const ControlBorderInfo_t* frame, int width, int height) {
    if (!HasImage(frame) || width <= 0 || height <= 0) return false;
    return TileContent(dc, *frame, *frame->MainImage, RECT{0, 0, width, height});
}
