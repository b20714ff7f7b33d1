#pragma once
#include "CObject.h"
#include "CPoint.h"
#include "CRect.h"
#include "CString.h"
#include "FrameworkExport.h"

#include <windows.h>

class CDC;
class CFont;

// A window. The framework keeps one process-wide map from window handles to
// the CWnd objects that own them; every window the framework creates or
// subclasses runs through one window procedure (AfxWndProc), which finds the
// object, calls WindowProc, stops every exception, and on WM_NCDESTROY
// removes the object from the map before calling PostNcDestroy.
//
// WindowProc cracks the messages below into virtual handlers; a handler that
// is not overridden calls Default(), the window's previous procedure (the
// subclassed one, or DefWindowProc). Classes that route messages themselves
// override WindowProc and call DefWindowProc for what they leave.
//
// A CWnd has an identity (the map points at it): it is neither copied nor
// moved. Destroying a CWnd whose window still exists destroys the window.
class FW_API CWnd : public CObject {
public:
    CWnd();
    ~CWnd() override;
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;

    HWND GetSafeHwnd() const { return m_hWnd; }
    operator HWND() const { return m_hWnd; }

    // Creation. A null class name uses the framework's own window class; any
    // other class (registered or a system control) works too, since the
    // window is subclassed as it is created, before WM_NCCREATE. Create makes
    // a child window (WS_CHILD is added); CreateEx any kind.
    virtual bool Create(const char* className, const char* windowName, DWORD style,
                        const RECT& rect, CWnd* parent, UINT id);
    bool CreateEx(DWORD exStyle, const char* className, const char* windowName, DWORD style,
                  int x, int y, int width, int height, HWND parent, HMENU menuOrId,
                  void* param = nullptr);
    bool CreateEx(DWORD exStyle, const char* className, const char* windowName, DWORD style,
                  const RECT& rect, CWnd* parent, UINT id, void* param = nullptr);
    virtual bool DestroyWindow();
    // Called by CreateEx before the window is made: a class may change the
    // styles, class, size or position; false fails the creation. A class
    // registered by a DLL sets hInstance to that DLL (left null, it is the
    // framework's for its own classes, else the program's).
    virtual BOOL PreCreateWindow(CREATESTRUCTA& create);

    // The map. Attach enters a window without routing its messages here;
    // SubclassWindow also puts AfxWndProc in front of its procedure, which
    // DefWindowProc then calls. Both fail for a window another CWnd owns.
    bool Attach(HWND hWnd);
    HWND Detach();
    bool SubclassWindow(HWND hWnd);
    bool SubclassDlgItem(UINT id, CWnd* parent);
    // Restores the previous procedure (when nobody hooked in after us) and
    // detaches.
    HWND UnsubclassWindow();
    // The owning CWnd, or else a temporary wrapper of the calling thread,
    // freed at its next idle time (AfxDeleteTempMaps): do not keep it.
    static CWnd* FromHandle(HWND hWnd);
    // The owning CWnd or null.
    static CWnd* FromHandlePermanent(HWND hWnd);

    // Message routing.
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    virtual LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    // Called by the message loops before a message is dispatched; true takes
    // the message (it is neither translated nor dispatched).
    virtual BOOL PreTranslateMessage(MSG* msg);
    // After WM_NCDESTROY, once the object has left the map: the place for
    // "delete this" of objects that live as long as their window.
    virtual void PostNcDestroy();
    // Notifications a parent passes on to the child that sent them (WM_COMMAND
    // from a control, WM_NOTIFY, WM_DRAWITEM, WM_MEASUREITEM, WM_CTLCOLOR...).
    // True with *result set takes the message away from the parent.
    virtual BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);
    // The message WindowProc is handling passed to DefWindowProc; 0 when
    // this window is not handling one.
    LRESULT Default();
    // Offers msg to PreTranslateMessage of the window it is for and of its
    // parents, up to and including stop; true when one of them took it.
    static BOOL WalkPreTranslateTree(HWND stop, MSG* msg);

    // Thin wrappers.
    BOOL ShowWindow(int command);
    void MoveWindow(int x, int y, int width, int height, BOOL repaint = TRUE);
    void MoveWindow(const RECT& rect, BOOL repaint = TRUE);
    BOOL SetWindowPos(const CWnd* insertAfter, int x, int y, int cx, int cy, UINT flags);
    BOOL SetWindowPos(HWND insertAfter, int x, int y, int cx, int cy, UINT flags);
    void GetClientRect(RECT* rect) const;
    void GetWindowRect(RECT* rect) const;
    void ClientToScreen(POINT* point) const;
    void ClientToScreen(RECT* rect) const;
    void ScreenToClient(POINT* point) const;
    void ScreenToClient(RECT* rect) const;
    void Invalidate(BOOL erase = TRUE);
    void InvalidateRect(const RECT* rect, BOOL erase = TRUE);
    void ValidateRect(const RECT* rect);
    void UpdateWindow();
    BOOL RedrawWindow(const RECT* rect = nullptr, HRGN region = nullptr,
                      UINT flags = RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE);
    void SetWindowText(const char* text);
    CString GetWindowText() const;
    void GetWindowText(CString& text) const;
    int GetWindowTextLength() const;
    CWnd* GetDlgItem(int id) const;
    int GetDlgCtrlID() const;
    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
    BOOL PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
    UINT_PTR SetTimer(UINT_PTR id, UINT elapse, TIMERPROC timerProc = nullptr);
    BOOL KillTimer(UINT_PTR id);
    CWnd* SetCapture();
    static CWnd* GetCapture();
    static BOOL ReleaseCapture();
    CWnd* GetParent() const;
    CWnd* GetTopLevelParent() const;
    BOOL EnableWindow(BOOL enable = TRUE);
    BOOL IsWindowEnabled() const;
    BOOL IsWindowVisible() const;
    BOOL IsWindow() const { return m_hWnd && ::IsWindow(m_hWnd); }
    BOOL IsChild(const CWnd* wnd) const;
    // With a null font the window goes back to the system font.
    void SetFont(CFont* font, BOOL redraw = TRUE);
    CFont* GetFont() const;
    CWnd* SetFocus();
    static CWnd* GetFocus();
    DWORD GetStyle() const;
    DWORD GetExStyle() const;
    BOOL ModifyStyle(DWORD remove, DWORD add, UINT flags = 0);
    BOOL ModifyStyleEx(DWORD remove, DWORD add, UINT flags = 0);
    CDC* GetDC();
    int ReleaseDC(CDC* dc);
    // The system owns a region given to SetWindowRgn from then on: pass a
    // handle detached from its CRgn.
    int SetWindowRgn(HRGN region, BOOL redraw);
    // Copies the window's region into region (which must exist); ERROR without one.
    int GetWindowRgn(HRGN region) const;
    BOOL IsIconic() const;
    BOOL IsZoomed() const;
    HICON SetIcon(HICON icon, BOOL big);
    HICON GetIcon(BOOL big) const;
    BOOL GetWindowPlacement(WINDOWPLACEMENT* placement) const;
    BOOL SetWindowPlacement(const WINDOWPLACEMENT* placement);
    // WM_SETREDRAW: stop or resume drawing during many changes.
    void SetRedraw(BOOL redraw = TRUE);
    void BringWindowToTop();
    BOOL SetForegroundWindow();
    CWnd* GetWindow(UINT command) const;
    // Centres the window over the given window, else over its owner or
    // parent, else over the work area of the screen.
    void CenterWindow(CWnd* alternateOwner = nullptr);
    // Sends the message to every child and, when deep, to their children
    // in turn (each child before its own children).
    void SendMessageToDescendants(UINT message, WPARAM wParam = 0, LPARAM lParam = 0,
                                  BOOL deep = TRUE);

    const char* GetRuntimeClassName() const override;

    HWND m_hWnd = nullptr;

protected:
    // Message handlers, in the order WindowProc tests them. Each base version
    // passes the message to Default().
    virtual int OnCreate(LPCREATESTRUCTA create);            // WM_CREATE: -1 fails creation
    virtual void OnDestroy();                                 // WM_DESTROY
    virtual void OnClose();                                   // WM_CLOSE
    virtual void OnPaint();                                   // WM_PAINT
    virtual BOOL OnEraseBkgnd(CDC* dc);                       // WM_ERASEBKGND: TRUE = erased
    virtual void OnSize(UINT type, int cx, int cy);           // WM_SIZE: SIZE_* and client size
    virtual void OnMove(int x, int y);                        // WM_MOVE: client origin
    virtual void OnTimer(UINT_PTR id);                        // WM_TIMER
    virtual void OnShowWindow(BOOL show, UINT status);        // WM_SHOWWINDOW
    virtual void OnActivate(UINT state, CWnd* other, BOOL minimized);  // WM_ACTIVATE
    virtual void OnSetFocus(CWnd* old);                       // WM_SETFOCUS
    virtual void OnKillFocus(CWnd* next);                     // WM_KILLFOCUS
    virtual BOOL OnSetCursor(CWnd* wnd, UINT hitTest, UINT message);  // WM_SETCURSOR
    virtual void OnMouseMove(UINT flags, CPoint point);       // WM_MOUSEMOVE: MK_* keys, client point
    virtual void OnLButtonDown(UINT flags, CPoint point);     // WM_LBUTTONDOWN
    virtual void OnLButtonUp(UINT flags, CPoint point);       // WM_LBUTTONUP
    virtual void OnLButtonDblClk(UINT flags, CPoint point);   // WM_LBUTTONDBLCLK
    virtual void OnRButtonDown(UINT flags, CPoint point);     // WM_RBUTTONDOWN
    virtual void OnRButtonUp(UINT flags, CPoint point);       // WM_RBUTTONUP
    virtual BOOL OnMouseWheel(UINT flags, short delta, CPoint point);  // WM_MOUSEWHEEL: screen point
    virtual void OnCaptureChanged(CWnd* wnd);                 // WM_CAPTURECHANGED: the new capture
    virtual void OnKeyDown(UINT key, UINT repeat, UINT flags);  // WM_KEYDOWN: virtual key
    virtual void OnKeyUp(UINT key, UINT repeat, UINT flags);    // WM_KEYUP
    virtual void OnChar(UINT ch, UINT repeat, UINT flags);      // WM_CHAR: character code
    // WM_COMMAND: true when handled. The base offers a control's notification
    // to the control (OnChildNotify); false sends the message on to Default().
    virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);
    // WM_NOTIFY: true with *result set when handled; the base as OnCommand.
    virtual BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result);
    virtual void OnSysCommand(UINT id, LPARAM lParam);        // WM_SYSCOMMAND: SC_* command
    virtual void OnContextMenu(CWnd* wnd, CPoint point);      // WM_CONTEXTMENU: screen point
    virtual void OnGetMinMaxInfo(MINMAXINFO* info);           // WM_GETMINMAXINFO
    virtual void OnWindowPosChanging(WINDOWPOS* pos);         // WM_WINDOWPOSCHANGING
    virtual void OnWindowPosChanged(WINDOWPOS* pos);          // WM_WINDOWPOSCHANGED
    virtual void OnActivateApp(BOOL active, DWORD threadId);  // WM_ACTIVATEAPP
    virtual LRESULT OnNcHitTest(CPoint point);                // WM_NCHITTEST: screen point, HT* code
    virtual void OnMouseLeave();                              // WM_MOUSELEAVE (TrackMouseEvent)
    virtual void OnRButtonDblClk(UINT flags, CPoint point);   // WM_RBUTTONDBLCLK
    // The notifications below reach these handlers only when the control's
    // own object did not take them (OnChildNotify).
    // WM_CTLCOLOR*: kind is CTLCOLOR_EDIT, _STATIC, _BTN, _DLG ...; the brush
    // to paint with (the caller keeps it alive).
    virtual HBRUSH OnCtlColor(CDC* dc, CWnd* wnd, UINT kind);
    virtual void OnDrawItem(int id, LPDRAWITEMSTRUCT item);     // WM_DRAWITEM
    virtual void OnMeasureItem(int id, LPMEASUREITEMSTRUCT item);  // WM_MEASUREITEM
    virtual void OnHScroll(UINT code, UINT position, CWnd* scrollBar);  // WM_HSCROLL: SB_* code
    virtual void OnVScroll(UINT code, UINT position, CWnd* scrollBar);  // WM_VSCROLL

    // Cracks one message into the handlers above; false leaves it to
    // DefWindowProc. Derived classes add messages of their own here.
    virtual bool OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);

    WNDPROC m_pfnSuper = nullptr;

private:
    friend struct CWndInternals;
    bool ReflectToChild(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);
    bool HookProcedure(HWND hWnd);
    void ForgetWindow(bool unhook);
    void OnFinalNcDestroy(HWND hWnd);
};

// The one window procedure of every framework window.
FW_API LRESULT CALLBACK AfxWndProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
// Calls wnd->WindowProc the way AfxWndProc does: no exception leaves it, and
// WM_NCDESTROY ends with the object out of the map and PostNcDestroy called.
FW_API LRESULT AfxCallWndProc(CWnd* wnd, HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
// Registers (once) a framework window class with these attributes and
// returns its name, which lives as long as the process.
FW_API const char* AfxRegisterWndClass(UINT classStyle, HCURSOR cursor = nullptr,
                                       HBRUSH background = nullptr, HICON icon = nullptr);
// The message the calling thread's innermost WindowProc is handling, which
// Default() passes on. Code that routes messages itself (window hooks) sets
// it for the span of a message and puts the old one back.
FW_API MSG& AfxGetCurrentMessage();
// Exceptions stopped by the window procedure so far (a trace of each goes to
// the debugger output).
FW_API long AfxGetStoppedExceptionCount();
