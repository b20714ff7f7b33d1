#pragma once
// Where a cloud pop-up goes: next to a screen point (the tray icon's),
// inside the screen's work area, with its tail pointing at the point.
#include "CBalloonShape.h"

#include <windows.h>

struct NotifyPlace {
    RECT window;                // screen rectangle of the pop-up
    CBalloonShape::Tail tail;   // the tail's side
    int tipX;                   // the tail's tip, in window coordinates
};

class CNotifyPlacement {
public:
    // A pop-up of size (tail included) next to point within workArea: above
    // the point when it lies in the lower half of the work area (the task
    // bar at the bottom), else below it; its tail near the pop-up's side
    // closest to the point.
    static NotifyPlace NextTo(POINT point, SIZE size, const RECT& workArea);
    // The work area of the screen that holds point.
    static RECT WorkAreaAt(POINT point);
    // Where pop-ups go without a known point: the work area's lower right
    // corner, where the tray is.
    static POINT DefaultPoint();
};
