#pragma once
// Saving and capturing pictures in Windows test programs, so that a person
// can look at what a test drew (the files go under the test artifacts).
#include <windows.h>

#include <string>

namespace orvtest {

// Writes the bitmap as an uncompressed 24-bit BMP file; false on failure.
bool SaveBitmapFile(HBITMAP bitmap, const std::string& path);

// A new 32-bit bitmap of the window's client area as it shows on screen
// (BitBlt from the window's context; the window must be visible and on
// top). With print, the window paints itself into it instead (PrintWindow,
// client only), which does not depend on the screen. The caller deletes it;
// null on failure.
HBITMAP CaptureClient(HWND window, bool print = false);

// The colour of one pixel of a bitmap (CLR_INVALID outside it).
COLORREF BitmapPixel(HBITMAP bitmap, int x, int y);

// What the screen shows at a point.
COLORREF ScreenPixel(int x, int y);
inline COLORREF ScreenPixel(POINT at) { return ScreenPixel(at.x, at.y); }
// Saves what the screen shows in rect under the test artifacts as name.
bool SaveScreen(const RECT& rect, const std::string& name);

// "RGB(r, g, b)", for failure messages.
std::string Describe(COLORREF color);

}  // namespace orvtest
