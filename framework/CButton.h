#pragma once
#include "CWnd.h"
#include "FrameworkExport.h"

#include <windows.h>

// A button of the system's "BUTTON" class. An owner-drawn one (BS_OWNERDRAW)
// draws itself in DrawItem, which gets the parent's WM_DRAWITEM when the
// parent is a framework window.
class FW_API CButton : public CWnd {
public:
    using CWnd::Create;
    // A child button (WS_CHILD is added) of the "BUTTON" class.
    bool Create(const char* caption, DWORD style, const RECT& rect, CWnd* parent, UINT id);

    int GetCheck() const;                // BST_UNCHECKED, BST_CHECKED ...
    void SetCheck(int check);
    UINT GetState() const;               // BST_PUSHED, BST_FOCUS, check bits
    void SetState(BOOL highlight);
    UINT GetButtonStyle() const;         // the BS_ type bits
    void SetButtonStyle(UINT style, BOOL redraw = TRUE);

    // Draws an owner-drawn button; the base draws nothing.
    virtual void DrawItem(LPDRAWITEMSTRUCT item);

    const char* GetRuntimeClassName() const override;

protected:
    // WM_DRAWITEM of an owner-drawn button goes to DrawItem.
    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;
};
