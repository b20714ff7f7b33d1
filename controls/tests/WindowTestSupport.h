#pragma once
// Real windows for the tests of skinned windows, dialogs and message boxes:
// a backdrop of one colour behind everything, a plain frame window and a
// dialog made from this program's template, pictures of the screen or of a
// window's own context read into memory, and the skin's pictures to compare
// them with.
#include "BitmapFile.h"
#include "WindowSkinRecords.h"

#include "CDialog.h"
#include "CRect.h"
#include "CWnd.h"

#include <windows.h>

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

namespace wintest {

// The colour of the backdrop: what the screen shows where a window is cut
// away by its shape.
const COLORREF kBackdrop = RGB(0, 150, 0);
const COLORREF kMagenta = RGB(255, 0, 255);
const COLORREF kClientWhite = RGB(255, 255, 255);

// The pixels of a picture, top row first.
class Pixels {
public:
    Pixels() = default;
    // Reads a bitmap (any kind the screen context can read).
    explicit Pixels(HBITMAP bitmap);
    int Width() const { return m_width; }
    int Height() const { return m_height; }
    bool IsEmpty() const { return m_pixels.empty(); }
    // CLR_INVALID outside.
    COLORREF At(int x, int y) const;
    // Saved as a BMP under the test artifacts.
    bool Save(const std::string& name) const;

private:
    int m_width = 0;
    int m_height = 0;
    std::vector<uint32_t> m_pixels;  // 0x00RRGGBB
};

// What the screen shows in rect (screen coordinates).
Pixels CaptureScreen(const RECT& rect);
// The whole window as its own context holds it (frame included).
Pixels CaptureWindow(HWND window);
// A skin bitmap's pixels.
Pixels ImagePixels(const ClsBitMap& image);

// A window of kBackdrop over the whole screen, below the test windows.
class Backdrop : public CWnd {
public:
    Backdrop();
    ~Backdrop() override;

protected:
    BOOL OnEraseBkgnd(CDC* dc) override;
};

// A top-level frame window of the framework: overlapped (sizable, with
// minimise and maximise boxes) unless told otherwise, on top, white inside,
// with the application icon. Counts the system commands it receives.
class TestFrame : public CWnd {
public:
    explicit TestFrame(const char* title = "Orvane frame", DWORD style = WS_OVERLAPPEDWINDOW, int x = 120,
                       int y = 90, int width = 420, int height = 300);
    ~TestFrame() override;
    // The colour of the client area.
    COLORREF fill = kClientWhite;
    std::vector<UINT> commands;
    bool closed = false;

protected:
    BOOL OnEraseBkgnd(CDC* dc) override;
    void OnSysCommand(UINT id, LPARAM lParam) override;
    void OnClose() override;
};

// Template 200 of this program: a static text, a check box, a radio
// button, a group box, a push button "Taken", OK (default) and Cancel.
enum : int {
    kDialogTemplate = 200,
    kLabelId = 1001,
    kCheckId = 1002,
    kRadioId = 1003,
    kGroupId = 1004,
    kTakenId = 1005,
};

// The dialog made modeless and hidden from template 200 at (150, 120) of
// the screen; shown by the test.
class TestDialog : public CDialog {
public:
    explicit TestDialog(CWnd* owner = nullptr);
    ~TestDialog() override;
    HWND Item(int id) const { return ::GetDlgItem(m_hWnd, id); }
    int okCount = 0;
    int cancelCount = 0;
    // When set, the dialog writes its label in this colour.
    COLORREF labelInk = CLR_INVALID;

protected:
    void OnOK() override { ++okCount; }
    void OnCancel() override { ++cancelCount; }
    HBRUSH OnCtlColor(CDC* dc, CWnd* wnd, UINT kind) override;
};

// The screen rectangle of a window's client area.
CRect ClientOnScreen(HWND window);
CRect WindowOnScreen(HWND window);

// Lets the window paint and waits until the screen shows colour at a
// point (screen coordinates); false after the time-out.
bool WaitForScreen(POINT point, COLORREF colour, unsigned timeoutMs = 10000);

using orvtest::Describe;

}  // namespace wintest

// How GoogleTest prints a rectangle.
void PrintTo(const CRect& rect, std::ostream* out);
