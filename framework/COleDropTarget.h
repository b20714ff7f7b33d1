#pragma once
#include "CObject.h"
#include "COleDataObject.h"
#include "CPoint.h"
#include "FrameworkExport.h"

#include <windows.h>
#include <ole2.h>

class CWnd;

// A window's part in OLE drag and drop: registered on one window, it hears
// of every drag that passes over it through the virtual handlers below and
// answers with the effect it would take. The system holds a small reference
// counted go-between, never this object, so the target may die at any time:
// its destructor revokes the registration, and the registration also ends by
// itself when the window is destroyed.
//
// OLE must be initialised on the thread (COleInitializer), and Register is
// called on the thread that owns the window; the handlers run there.
class FW_API COleDropTarget : public CObject {
public:
    COleDropTarget();
    ~COleDropTarget() override;
    COleDropTarget(const COleDropTarget&) = delete;
    COleDropTarget& operator=(const COleDropTarget&) = delete;

    // Makes this the drop target of window (a target serves one window:
    // an earlier registration is revoked first). False when there is no
    // window, the window has a drop target already, OLE is not initialised
    // on this thread, or the window belongs to another thread.
    bool Register(CWnd* window);
    bool Register(HWND window);
    void Revoke();
    HWND GetWindow() const { return m_window; }
    bool IsRegistered() const { return m_window != nullptr; }

    const char* GetRuntimeClassName() const override;

    // The handlers, with the point in the window's client coordinates and
    // the key state as MK_* flags. The base versions take nothing: enter and
    // over answer DROPEFFECT_NONE, drop answers false, scroll answers
    // DROPEFFECT_NONE (no scrolling).
    virtual DROPEFFECT OnDragEnter(CWnd* window, COleDataObject* data, DWORD keyState, CPoint point);
    virtual DROPEFFECT OnDragOver(CWnd* window, COleDataObject* data, DWORD keyState, CPoint point);
    virtual void OnDragLeave(CWnd* window);
    virtual BOOL OnDrop(CWnd* window, COleDataObject* data, DROPEFFECT effect, CPoint point);
    // Asked before enter and over; an answer with DROPEFFECT_SCROLL set is
    // the answer of the step, and enter or over is not called.
    virtual DROPEFFECT OnDragScroll(CWnd* window, DWORD keyState, CPoint point);

private:
    class Sink;
    static LRESULT CALLBACK WindowEnds(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                       UINT_PTR id, DWORD_PTR target);

    Sink* m_sink = nullptr;  // one reference, ours; the system holds others while registered
    HWND m_window = nullptr;
};
