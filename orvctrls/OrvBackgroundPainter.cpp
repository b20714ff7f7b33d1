#include "OrvBackgroundPainter.h"

#include "ClsFrameDrawer.h"

void OrvBackgroundPainter::Paint(HDC dc, const ControlBorderInfo_t* frame, int width, int height) {
    const COLORREF colour = frame ? frame->BgColor : ::GetSysColor(COLOR_BTNFACE);
    const RECT area{0, 0, width, height};
    HBRUSH brush = ::CreateSolidBrush(colour);
    if (brush) {
        ::FillRect(dc, &area, brush);
        ::DeleteObject(brush);
    }
    if (frame) ClsFrameDrawer::FillContent(dc, frame, width, height);
}
