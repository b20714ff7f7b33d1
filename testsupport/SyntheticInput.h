#pragma once
// Synthesised input for tests on real windows: it goes through SendInput,
// so the system delivers it as the hardware's would (to the window under
// the pointer, with capture and focus as they are).
#include <windows.h>

namespace orvtest {

// Moves the pointer to a screen point and pumps messages until the cursor
// is there; false when it never arrived.
bool MoveMouse(int x, int y);
// Presses (down) or releases the left or the right button.
void MouseButton(bool left, bool down);
// Moves to (x, y) and clicks the left button there.
void Click(int x, int y);
// A key going down or up.
void Key(WORD vk, bool down);
// A key pressed and released.
void Press(WORD vk);
// Holds modifier down while key is pressed and released, in one input.
void PressChord(WORD modifier, WORD key);

}  // namespace orvtest
