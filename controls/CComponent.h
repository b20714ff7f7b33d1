#pragma once
#include "CSubclassWnd.h"
#include "ControlsExport.h"
#include "SkinnedMessages.h"

#include "CPoint.h"
#include "CSize.h"
#include "CString.h"

// A skin component attached from outside to an existing window (a caption,
// a frame, a push button of a dialog). It hooks the window (CSubclassWnd),
// sees every message and changes only what its class overrides: each
// handler of the message table receives the message record (handled, result
// 0); the base handlers pass the message on down the chain (Default) and
// keep its result. A handler that leaves the record handled answers with its
// result; one that clears Handled sends the message on with the parameters
// as it left them.
//
// A component finds its skin record in CSkin under GetOwnerSkinName(): the
// theme its window answers to WM_GET_SKIN_THEMA, a backslash, and its own
// GetComponentName() ("MainFrame\caption"). Skin changes arrive as
// CSkin::WM_SKIN_CHANGED.
class CTL_API CComponent : public CSubclassWnd {
public:
    // Registered as "wmGetSkinThema" when the library loads. lParam points
    // to a CString that a window's theme component fills.
    static const UINT WM_GET_SKIN_THEMA;

    CComponent();
    ~CComponent() override;

    // Virtual operations, in their fixed order.
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    virtual bool Install(HWND window);
    virtual void Uninstall();
    // Drops what the component built from the skin (the base holds nothing).
    virtual void Invalidate();
    // Invalidate, then the whole window invalidated, erased and updated now.
    virtual void Refresh();
    // Redraws the window with its frame now.
    virtual void Repaint();
    virtual CString GetComponentName() const = 0;
    virtual LRESULT OnSkinChanged();
    // Writes the window's theme into theme (the base writes nothing).
    virtual void OnGetSkinThema(CString* theme);

protected:
    // The message table, in its fixed order.
    virtual void OnMove(WMMove_t& message);                       // WM_MOVE
    virtual void OnSize(WMSize_t& message);                       // WM_SIZE
    virtual void OnActivate(WMActivate_t& message);               // WM_ACTIVATE
    virtual void OnPaint(WMNoParams_t& message);                  // WM_PAINT
    virtual void OnEraseBkGnd(WMEraseBkGnd_t& message);           // WM_ERASEBKGND
    virtual void OnActivateApp(WMActivateApp_t& message);         // WM_ACTIVATEAPP
    virtual void OnSetCursor(WMSetCursor_t& message);             // WM_SETCURSOR
    virtual void OnNcCalcSize(WMNCCalcSize_t& message);           // WM_NCCALCSIZE
    virtual void OnNcHitTest(WMNCHitTest_t& message);             // WM_NCHITTEST
    virtual void OnNcPaint(WMNCPaint_t& message);                 // WM_NCPAINT
    virtual void OnNcActivate(WMNCActivate_t& message);           // WM_NCACTIVATE
    virtual void OnNCMouseMove(WMNCHitMessage_t& message);        // WM_NCMOUSEMOVE
    virtual void OnNcLButtonDown(WMNCHitMessage_t& message);      // WM_NCLBUTTONDOWN
    virtual void OnNCLButtonUp(WMNCHitMessage_t& message);        // WM_NCLBUTTONUP
    virtual void OnNcLButtonDblClk(WMNCHitMessage_t& message);    // WM_NCLBUTTONDBLCLK
    virtual void OnNcRButtonDown(WMNCHitMessage_t& message);      // WM_NCRBUTTONDOWN
    virtual void OnInitMenuPopup(WMInitMenuPopup_t& message);     // WM_INITMENUPOPUP
    virtual void OnMouseMove(WMMouse_t& message);                 // WM_MOUSEMOVE
    virtual void OnLButtonDown(WMMouse_t& message);               // WM_LBUTTONDOWN
    virtual void OnLButtonUp(WMMouse_t& message);                 // WM_LBUTTONUP
    virtual void OnRButtonDown(WMMouse_t& message);               // WM_RBUTTONDOWN
    virtual void OnRButtonUp(WMMouse_t& message);                 // WM_RBUTTONUP
    virtual void OnQueryNewPalette(WMNoParams_t& message);        // WM_QUERYNEWPALETTE
    virtual void OnPaletteChanged(WMPaletteChanged_t& message);   // WM_PALETTECHANGED
    // WM_GETMINMAXINFO: the result is returned.
    virtual LRESULT OnGetMinMaxInfo(MINMAXINFO* info);
    // WM_SYSCOMMAND: command is the SC_* code with its low bits, point the
    // screen position of a mouse-chosen command.
    virtual LRESULT OnSysCommand(UINT command, CPoint point);

public:
    // The system's frame size for the hooked window: sizing frame with the
    // thick-frame style, dialog frame otherwise.
    CSize GetFrameSize() const;
    // The name of this component's skin record: "<theme>\<component name>",
    // or the component name alone when no window answers a theme.
    CString GetOwnerSkinName() const;

private:
    bool RouteTable(WMMessage_t& record);
    template <class View>
    void Call(void (CComponent::*handler)(View&), WMMessage_t& record);
};
