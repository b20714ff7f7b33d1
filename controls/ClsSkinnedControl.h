#pragma once
#include "COrvDropTarget.h"
#include "ControlsExport.h"
#include "SkinBorderInfo.h"
#include "SkinnedMessages.h"

#include "CPtrArray.h"
#include "CTypedPtrArray.h"

#include <windows.h>

class ClsSkinnedHeader;

// The base of every skinned child control. It is no window class: a window
// class derives from a framework window and from this class, hands every
// message to ProcessMessages first, and gives the framework's default
// processing only what came back unhandled (ClsSkinnedWnd does this).
//
// The control keeps its bounds (in its parent's client coordinates, screen
// coordinates for a top-level window), which are the wanted bounds until
// the window exists (GetHandleC makes it through CreateHandle) and follow
// the window afterwards. It draws its frame (borrowed ControlBorderInfo_t)
// in the non-client area and the frame's content cell as its background,
// docks an optional header (borrowed) above its client area and acts on the
// header's buttons. It owns the controls that name it as owner: destroying
// it destroys them first. User-interface thread only.
class CTL_API ClsSkinnedControl {
public:
    ClsSkinnedControl();
    // Stops the header timers, detaches the header, deletes every owned
    // control, leaves its own owner.
    virtual ~ClsSkinnedControl();
    ClsSkinnedControl(const ClsSkinnedControl&) = delete;
    ClsSkinnedControl& operator=(const ClsSkinnedControl&) = delete;

    // The window, made now (CreateHandle) when there is none.
    HWND GetHandleC();
    // The window if it exists; never makes one.
    HWND GetSafeHwndC() const { return m_hWndC; }
    // Records the window of a derived class and reads its bounds.
    void SetHandleC(HWND window);

    int GetLeft() const { return m_left; }
    int GetTop() const { return m_top; }
    int GetWidth() const { return m_width; }
    int GetHeight() const { return m_height; }
    void SetLeft(int left) { SetPos(nullptr, left, m_top, m_width, m_height); }
    void SetTop(int top) { SetPos(nullptr, m_left, top, m_width, m_height); }
    void SetWidth(int width) { SetPos(nullptr, m_left, m_top, width, m_height); }
    void SetHeight(int height) { SetPos(nullptr, m_left, m_top, m_width, height); }
    void SetPos(int x, int y, int width, int height) { SetPos(nullptr, x, y, width, height); }
    bool GetIsResizable() const { return true; }

    ControlBorderInfo_t* GetBorder() const { return m_frame; }
    // Takes the new frame without redrawing (RealizeSkin does that).
    void SetBorder(ControlBorderInfo_t* frame) { m_frame = frame; }
    ClsSkinnedHeader* GetHeader() const { return m_header; }
    // The header becomes this control's; the previous one is let go.
    void SetHeader(ClsSkinnedHeader* header);
    ClsSkinnedControl* GetOwnerC() const { return m_owner; }
    // Leaves the old owner's list and joins the end of the new one's. An
    // owner that is this control or one it owns (directly or not) is
    // refused, so ownership never runs in a circle.
    bool SetOwnerC(ClsSkinnedControl* owner);
    int GetOwnedCount() const { return m_owned.GetSize(); }
    // The contact drop target; a derived control registers it on its window
    // (GetDropTarget().Register(window)) when it takes part in dragging.
    COrvDropTarget& GetDropTarget() { return m_dropTarget; }
    ClsSkinnedControl* GetOwned(int index) const { return m_owned.GetAt(index); }

    // Virtual operations, in their fixed order.

    // Without a window stores the bounds. With one, moves and sizes it (no
    // z-order change, no activation; only what changed), through batch when
    // given; returns the batch to go on with. Nothing changed: no call.
    virtual HDWP SetPos(HDWP batch, int x, int y, int width, int height);
    // Makes the window take its new frame and redraws it with its children.
    virtual void RealizeSkin();
    // Makes the window (derived classes; the base makes none) and records
    // it with SetHandleC.
    virtual void CreateHandle();
    // A top-level window sends itself the system command and answers true;
    // a child does nothing and answers false.
    virtual bool DoClose();
    virtual bool DoMinimize();
    virtual bool DoMaximize();
    virtual bool DoRestore();

protected:
    // Message handlers, in their fixed order. Each receives the message
    // record; the base versions that are not described leave the message
    // to default processing (Handled cleared).
    virtual void WMActivate(WMActivate_t& message);              // WM_ACTIVATE
    virtual void WMActivateApp(WMActivateApp_t& message);        // WM_ACTIVATEAPP
    virtual void WMChar(WMKey_t& message);                       // WM_CHAR
    virtual void WMCommand(WMCommand_t& message);                // WM_COMMAND
    // WM_ERASEBKGND: result 1, nothing erased (painting covers it all).
    virtual void WMEraseBkGnd(WMEraseBkGnd_t& message);
    // WM_GETMINMAXINFO: a framed top-level window maximises with its frame
    // just outside the work area.
    virtual void WMGetMinMaxInfo(WMGetMinMaxInfo_t& message);
    virtual void WMKeyDown(WMKey_t& message);                    // WM_KEYDOWN
    virtual void WMKeyUp(WMKey_t& message);                      // WM_KEYUP
    virtual void WMLButtonDown(WMMouse_t& message);              // WM_LBUTTONDOWN
    virtual void WMLButtonUp(WMMouse_t& message);                // WM_LBUTTONUP
    virtual void WMMouseMove(WMMouse_t& message);                // WM_MOUSEMOVE
    virtual void WMMove(WMMove_t& message);                      // WM_MOVE: bounds follow
    virtual void WMNcActivate(WMNCActivate_t& message);          // WM_NCACTIVATE
    // WM_NCCALCSIZE: the header docks, else the frame's borders shrink the
    // proposed rectangle; then default processing.
    virtual void WMNcCalcSize(WMNCCalcSize_t& message);
    virtual void WMNcCreate(WMNCCreate_t& message);              // WM_NCCREATE
    virtual void WMNcDestroy(WMNoParams_t& message);             // WM_NCDESTROY
    virtual void WMNcHitTest(WMNCHitTest_t& message);            // WM_NCHITTEST
    virtual void WMNcLButtonDblClk(WMNCHitMessage_t& message);   // WM_NCLBUTTONDBLCLK
    // WM_NCLBUTTONDOWN: presses the hovered header button.
    virtual void WMNcLButtonDown(WMNCHitMessage_t& message);
    // WM_NCLBUTTONUP: releases it and acts when it is still hovered.
    virtual void WMNcLButtonUp(WMNCHitMessage_t& message);
    // WM_NCMOUSEMOVE: the header button under the cursor becomes hovered.
    virtual void WMNcMouseMove(WMNCHitMessage_t& message);
    // WM_NCPAINT: the frame, then the header.
    virtual void WMNcPaint(WMNCPaint_t& message);
    virtual void WMNcRButtonDblClk(WMNCHitMessage_t& message);   // WM_NCRBUTTONDBLCLK
    virtual void WMNcRButtonDown(WMNCHitMessage_t& message);     // WM_NCRBUTTONDOWN
    virtual void WMNcRButtonUp(WMNCHitMessage_t& message);       // WM_NCRBUTTONUP
    virtual void WMNotify(WMNotify_t& message);                  // WM_NOTIFY
    // WM_PAINT: the frame's content cell tiled over the client area.
    virtual void WMPaint(WMNoParams_t& message);
    // WM_PALETTECHANGED: frame and header palettes in the background.
    virtual void WMPaletteChanged(WMPaletteChanged_t& message);
    // WM_QUERYNEWPALETTE: the frame palette in the foreground.
    virtual void WMQueryNewPalette(WMNoParams_t& message);
    virtual void WMRButtonDown(WMMouse_t& message);              // WM_RBUTTONDOWN
    virtual void WMRButtonUp(WMMouse_t& message);                // WM_RBUTTONUP
    virtual void WMSetCursor(WMSetCursor_t& message);            // WM_SETCURSOR
    virtual void WMSize(WMSize_t& message);                      // WM_SIZE: bounds follow
    virtual void WMSysChar(WMKey_t& message);                    // WM_SYSCHAR
    virtual void WMSysCommand(WMSysCommand_t& message);          // WM_SYSCOMMAND
    virtual void WMSysKeyDown(WMKey_t& message);                 // WM_SYSKEYDOWN
    virtual void WMSysKeyUp(WMKey_t& message);                   // WM_SYSKEYUP
    // WM_TIMER: 201 clears the header hover once the cursor moved; 202 stops.
    virtual void WMTimer(WMTimer_t& message);
    virtual void WMWindowPosChanged(WMWindowPosMsg_t& message);  // WM_WINDOWPOSCHANGED
    virtual void WMWindowPosChanging(WMWindowPosMsg_t& message); // WM_WINDOWPOSCHANGING

public:
    // Routes one message of the window to its handler. Returns the result;
    // handled tells whether default processing is still to come, with the
    // parameters as they come back. Without a window nothing is handled.
    virtual LRESULT ProcessMessages(UINT& message, WPARAM& wParam, LPARAM& lParam, BOOL& handled);

    // Timers of the header hover.
    static const UINT_PTR kHoverTimer = 201;
    static const UINT_PTR kSpareTimer = 202;
    static const UINT kHoverPeriodMs = 50;

protected:
    // Reads the bounds from the window (not while the skin is being realised).
    void UpdateBounds();
    // Stores bounds without touching the window, for a control whose bounds
    // are not its window's (the splitter's are the area it divides).
    void StoreBounds(int x, int y, int width, int height) {
        m_left = x;
        m_top = y;
        m_width = width;
        m_height = height;
    }
    bool IsTopLevel() const;

private:
    bool Route(WMMessage_t& record);
    template <class View>
    void Call(void (ClsSkinnedControl::*handler)(View&), WMMessage_t& record);
    void LeaveOwner();
    bool SendSysCommand(UINT command);

    COrvDropTarget m_dropTarget;
    HWND m_hWndC = nullptr;
    int m_height = 0;
    int m_width = 0;
    int m_left = 0;
    int m_top = 0;
    CTypedPtrArray<CPtrArray, ClsSkinnedControl*> m_owned;
    ControlBorderInfo_t* m_frame = nullptr;
    ClsSkinnedHeader* m_header = nullptr;
    int m_realizing = 0;
    POINT m_hoverCursor = {0, 0};
    ClsSkinnedControl* m_owner = nullptr;
};
