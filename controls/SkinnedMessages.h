#pragma once
// The message record of the skinned controls and components, and its typed
// views. A handler receives one record: the message, its two parameters, the
// result (0 on entry) and the handled flag (true on entry). Clearing the flag
// asks for default processing of the message with the parameters as the
// handler left them. The views add no data: each names the parameters after
// its message.
#include "CPoint.h"

#include <windows.h>

// Signed coordinates packed in a parameter (windowsx.h is left out: its
// macros clash with the framework's method names).
inline int LParamX(LPARAM lParam) { return static_cast<short>(LOWORD(lParam)); }
inline int LParamY(LPARAM lParam) { return static_cast<short>(HIWORD(lParam)); }

struct WMMessage_t {
    UINT Msg;
    WPARAM WParam;
    LPARAM LParam;
    LRESULT Result;
    BOOL Handled;
};

// WM_ACTIVATE
struct WMActivate_t : WMMessage_t {
    UINT Active() const { return LOWORD(WParam); }  // WA_ACTIVE, WA_CLICKACTIVE, WA_INACTIVE
    bool Minimized() const { return HIWORD(WParam) != 0; }
    HWND ActiveWindow() const { return reinterpret_cast<HWND>(LParam); }
};

// WM_ACTIVATEAPP
struct WMActivateApp_t : WMMessage_t {
    bool Active() const { return WParam != 0; }
    DWORD ThreadId() const { return static_cast<DWORD>(LParam); }
};

// WM_KEYDOWN, WM_KEYUP, WM_CHAR and their WM_SYS... forms
struct WMKey_t : WMMessage_t {
    UINT CharCode() const { return static_cast<UINT>(WParam); }  // virtual key or character
    LPARAM KeyData() const { return LParam; }                   // repeat count, scan code, flags
};

// WM_COMMAND
struct WMCommand_t : WMMessage_t {
    UINT ItemID() const { return LOWORD(WParam); }
    UINT NotifyCode() const { return HIWORD(WParam); }
    HWND Ctl() const { return reinterpret_cast<HWND>(LParam); }
};

// WM_ERASEBKGND
struct WMEraseBkGnd_t : WMMessage_t {
    HDC DC() const { return reinterpret_cast<HDC>(WParam); }
};

// WM_GETMINMAXINFO
struct WMGetMinMaxInfo_t : WMMessage_t {
    MINMAXINFO* MinMaxInfo() const { return reinterpret_cast<MINMAXINFO*>(LParam); }
};

// WM_MOUSEMOVE, WM_LBUTTONDOWN/UP, WM_RBUTTONDOWN/UP: client coordinates
struct WMMouse_t : WMMessage_t {
    UINT Keys() const { return static_cast<UINT>(WParam); }  // MK_* flags
    int XPos() const { return LParamX(LParam); }
    int YPos() const { return LParamY(LParam); }
    CPoint Pos() const { return CPoint(XPos(), YPos()); }
};

// WM_MOVE: the client area's new origin
struct WMMove_t : WMMessage_t {
    int XPos() const { return LParamX(LParam); }
    int YPos() const { return LParamY(LParam); }
};

// WM_NCACTIVATE
struct WMNCActivate_t : WMMessage_t {
    bool Active() const { return WParam != 0; }
};

// WM_NCCALCSIZE: the first rectangle is the proposed window rectangle on
// entry and the client rectangle on return, in both forms of the message.
struct WMNCCalcSize_t : WMMessage_t {
    bool CalcValidRects() const { return WParam != 0; }
    NCCALCSIZE_PARAMS* CalcSizeParams() const {
        return CalcValidRects() ? reinterpret_cast<NCCALCSIZE_PARAMS*>(LParam) : nullptr;
    }
    RECT* ProposedRect() const { return reinterpret_cast<RECT*>(LParam); }
};

// WM_NCCREATE
struct WMNCCreate_t : WMMessage_t {
    CREATESTRUCTA* CreateStruct() const { return reinterpret_cast<CREATESTRUCTA*>(LParam); }
};

// WM_NCDESTROY, WM_PAINT, WM_QUERYNEWPALETTE
struct WMNoParams_t : WMMessage_t {};

// WM_NCHITTEST: screen coordinates; the result is an HT* code
struct WMNCHitTest_t : WMMessage_t {
    int XPos() const { return LParamX(LParam); }
    int YPos() const { return LParamY(LParam); }
    CPoint Pos() const { return CPoint(XPos(), YPos()); }
};

// WM_NCMOUSEMOVE and the non-client button messages: hit-test code and
// screen coordinates
struct WMNCHitMessage_t : WMMessage_t {
    UINT HitTest() const { return static_cast<UINT>(WParam); }
    int XCursor() const { return LParamX(LParam); }
    int YCursor() const { return LParamY(LParam); }
    CPoint Pos() const { return CPoint(XCursor(), YCursor()); }
};

// WM_NCPAINT
struct WMNCPaint_t : WMMessage_t {
    HRGN Rgn() const { return reinterpret_cast<HRGN>(WParam); }  // 1 means the whole frame
};

// WM_NOTIFY
struct WMNotify_t : WMMessage_t {
    UINT_PTR IDCtrl() const { return static_cast<UINT_PTR>(WParam); }
    NMHDR* NMHdr() const { return reinterpret_cast<NMHDR*>(LParam); }
};

// WM_PALETTECHANGED
struct WMPaletteChanged_t : WMMessage_t {
    HWND PalChg() const { return reinterpret_cast<HWND>(WParam); }  // the window that changed it
};

// WM_SETCURSOR
struct WMSetCursor_t : WMMessage_t {
    HWND CursorWnd() const { return reinterpret_cast<HWND>(WParam); }
    UINT HitTest() const { return LOWORD(LParam); }
    UINT MouseMsg() const { return HIWORD(LParam); }
};

// WM_SIZE: the client area's new size
struct WMSize_t : WMMessage_t {
    UINT SizeType() const { return static_cast<UINT>(WParam); }  // SIZE_* code
    int Width() const { return LOWORD(LParam); }
    int Height() const { return HIWORD(LParam); }
};

// WM_SYSCOMMAND
struct WMSysCommand_t : WMMessage_t {
    UINT CmdType() const { return static_cast<UINT>(WParam) & 0xFFF0; }  // SC_* command
    int XPos() const { return LParamX(LParam); }
    int YPos() const { return LParamY(LParam); }
};

// WM_TIMER
struct WMTimer_t : WMMessage_t {
    UINT_PTR TimerID() const { return static_cast<UINT_PTR>(WParam); }
    TIMERPROC TimerProc() const { return reinterpret_cast<TIMERPROC>(LParam); }
};

// WM_WINDOWPOSCHANGING, WM_WINDOWPOSCHANGED
struct WMWindowPosMsg_t : WMMessage_t {
    WINDOWPOS* WindowPos() const { return reinterpret_cast<WINDOWPOS*>(LParam); }
};

// WM_INITMENUPOPUP
struct WMInitMenuPopup_t : WMMessage_t {
    HMENU MenuPopup() const { return reinterpret_cast<HMENU>(WParam); }
    UINT Pos() const { return LOWORD(LParam); }
    bool SystemMenu() const { return HIWORD(LParam) != 0; }
};

static_assert(sizeof(void*) != 4 || sizeof(WMMessage_t) == 20,
              "five 32-bit words: message, parameters, result, handled");
