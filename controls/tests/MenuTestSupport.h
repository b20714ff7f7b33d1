#pragma once
// Real windows and real input for the menu tests: a host window that records
// the commands it receives, input synthesised through SendInput (the way a
// person's mouse and keyboard reach the program), a message loop that offers
// every message to a menu first (as the program's loop does), and pixels of
// captured windows.
#include "SyntheticInput.h"
#include "TestWindows.h"

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

class ClsSkinnedMenu;

namespace menutest {

// A visible, active top-level window that keeps the WM_COMMAND identifiers
// it receives, in order.
class CommandHost : public ctltest::HostWindow {
public:
    CommandHost(int x, int y, int width, int height);
    std::vector<UINT> commands;
    // Keys that reached the window (WM_KEYDOWN), and left-button presses.
    std::vector<UINT> keysSeen;
    int presses = 0;
    // Makes it the foreground window with the keyboard focus.
    bool Activate();

protected:
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    void OnKeyDown(UINT key, UINT repeat, UINT flags) override;
    void OnLButtonDown(UINT flags, CPoint point) override;
};

// Pumps messages until done() (or a generous time-out), offering each one
// to menu->IsMenuCommand first when a menu is given.
bool PumpUntil(const std::function<bool()>& done, ClsSkinnedMenu* menu = nullptr, unsigned timeoutMs = 10000);
// Dispatches what is queued now, offering it to the menu first.
void PumpPending(ClsSkinnedMenu* menu = nullptr);

// Synthesised input. The mouse moves to a screen point (and waits until the
// cursor is there); buttons and keys go out as the hardware's would.
using orvtest::Click;
using orvtest::Key;
using orvtest::MouseButton;
using orvtest::MoveMouse;
using orvtest::Press;
// Alt held while key is pressed and released.
void PressWithAlt(WORD vk);

// The pixels of a bitmap, read once (top-down rows, COLORREF values).
class Pixels {
public:
    explicit Pixels(HBITMAP bitmap);
    int Width() const { return m_width; }
    int Height() const { return m_height; }
    bool IsValid() const { return m_width > 0; }
    COLORREF At(int x, int y) const;
    // How many pixels of the rectangle have exactly that colour.
    int Count(const RECT& area, COLORREF color) const;

private:
    int m_width = 0;
    int m_height = 0;
    std::vector<COLORREF> m_pixels;
};

// The window as it shows (its whole window context) as pixels, saved under
// the test artifacts when name is given.
Pixels Capture(HWND window, const std::string& name = std::string());
// The screen's rectangle as it shows, saved when name is given.
Pixels CaptureScreen(const RECT& area, const std::string& name = std::string());

// A colour as "#RRGGBB", for failure messages.
std::string Hex(COLORREF color);

}  // namespace menutest
