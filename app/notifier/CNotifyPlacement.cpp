#include "CNotifyPlacement.h"

#include <algorithm>

namespace {
// The tail sits this far in from the pop-up's side nearest the point.
constexpr int kTailInset = 36;
}  // namespace

NotifyPlace CNotifyPlacement::NextTo(POINT point, SIZE size, const RECT& workArea) {
    NotifyPlace place{};
    const int w = std::max<int>(size.cx, 1), h = std::max<int>(size.cy, 1);
    const int midY = (workArea.top + workArea.bottom) / 2, midX = (workArea.left + workArea.right) / 2;
    place.tail = point.y >= midY ? CBalloonShape::tailDown : CBalloonShape::tailUp;
    int left = point.x >= midX ? point.x - (w - kTailInset) : point.x - kTailInset;
    left = std::max<int>(workArea.left, std::min<int>(left, workArea.right - w));
    int top = place.tail == CBalloonShape::tailDown ? std::min<int>(point.y, workArea.bottom) - h
                                                    : std::max<int>(point.y, workArea.top);
    top = std::max<int>(workArea.top, std::min<int>(top, workArea.bottom - h));
    place.window = {left, top, left + w, top + h};
    place.tipX = std::clamp<int>(point.x - left, 1, w - 2);
    return place;
}

RECT CNotifyPlacement::WorkAreaAt(POINT point) {
    MONITORINFO info{};
    info.cbSize = sizeof info;
    if (::GetMonitorInfoA(::MonitorFromPoint(point, MONITOR_DEFAULTTONEAREST), &info)) return info.rcWork;
    RECT work{0, 0, 800, 600};
    ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    return work;
}

POINT CNotifyPlacement::DefaultPoint() {
    RECT work{0, 0, 800, 600};
    ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    return {work.right - 40, work.bottom};
}
