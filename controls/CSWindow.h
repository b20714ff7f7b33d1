#pragma once
#include "CBorder.h"
#include "CCaption.h"
#include "CComponent.h"
#include "ControlsExport.h"

#include "CRect.h"
#include "CString.h"

// The skin of a top-level frame window, put on from outside: the window
// keeps its own class and procedure, and this component hooks it together
// with its caption (CCaption) and frame (CBorder). The window answers
// WM_GET_SKIN_THEMA with the theme given at installing ("MainFrame"), so the
// caption and frame find "MainFrame\caption" and "MainFrame\border".
//
// Installing and every skin change keep the client area where it was on the
// screen and as large as it was: the window grows or shrinks around it. A
// maximised window covers the work area with its caption, its side and
// bottom frames beyond the edges. User-interface thread only.
class CTL_API CSWindow : public CComponent {
public:
    CSWindow();
    ~CSWindow() override;

    // Hooks the window with the theme set before (none: records without theme).
    bool Install(HWND window) override;
    // Hooks the window: this component, its caption and frame, and this
    // component again in front, so that it sees every message first.
    virtual bool Install(HWND window, const char* themeName);
    // Gives the window back its own look, client area kept.
    void Uninstall() override;
    CString GetComponentName() const override;
    // The caption and frame take the new records, the children hear of the
    // change, the frame is recomputed around the unchanged client area.
    LRESULT OnSkinChanged() override;
    void OnGetSkinThema(CString* theme) override;

    const CString& GetThemeName() const { return m_theme; }
    CCaption& GetCaption() { return m_caption; }
    CBorder& GetBorder() { return m_border; }

protected:
    LRESULT OnGetMinMaxInfo(MINMAXINFO* info) override;
    // After the hooks are in place, before the frame is recomputed.
    virtual void OnHooked();
    // Before the hooks leave.
    virtual void OnUnhooking();
    // Recomputes the window's non-client area and sizes it around clientOnScreen.
    static void RecomputeFrame(HWND window, const CRect& clientOnScreen);
    static bool GetClientOnScreen(HWND window, CRect* client);

private:
    CCaption m_caption;
    CBorder m_border;
    CString m_theme;
};
