#pragma once
// What the caption and frame of a skinned window must show, worked out
// pixel by pixel from the records' pictures by the drawing rules of the
// caption, its buttons and the frame, and compared with a picture of the
// window. Any pixel the system drew of its own caption or frame, any
// missing or misplaced piece, shows up as a difference.
#include "WindowSkinRecords.h"
#include "WindowTestSupport.h"

#include <gtest/gtest.h>

#include <windows.h>

namespace wintest {

struct NonClientView {
    const WindowSkin* skin = nullptr;
    bool active = true;
    // The picture is of the screen: pixels cut away by the window's shape
    // show the backdrop. Otherwise (the window's own context) they are
    // not looked at.
    bool onScreen = false;
    // Rows of the caption buttons (close, maximise, minimise); -1: from the
    // window's state (3 disabled, else 0).
    int rows[3] = {-1, -1, -1};
};

// Checks every non-client pixel of shot (the whole window) but those of the
// caption's icon and text.
::testing::AssertionResult ShowsSkinnedNonClient(const Pixels& shot, HWND window, const NonClientView& view);

// The caption's text and icon area in window coordinates.
CRect CaptionTextArea(HWND window, const CaptionSkin& caption);
// The rectangles of the caption buttons close, maximise, minimise as the
// caption rules place them (empty when not shown).
void CaptionButtonRects(HWND window, const CaptionSkin& caption, CRect rects[3]);
// How many pixels of the text area differ from the caption's content
// there: the text and icon written over it.
int WrittenPixels(const Pixels& shot, HWND window, const CaptionSkin& caption, bool active);

}  // namespace wintest
