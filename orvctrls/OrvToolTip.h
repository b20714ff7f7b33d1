#pragma once
// The tool tip window of one composite control: one tip per child window
// (the skinned buttons relay their mouse messages to it themselves).
#include "OrvCtrlsExport.h"

#include "CString.h"
#include "CWnd.h"

#include <windows.h>

class ORVCTRLS_API OrvToolTip {
public:
    static constexpr int kMaxTipWidth = 125;

    OrvToolTip();
    ~OrvToolTip();
    OrvToolTip(const OrvToolTip&) = delete;
    OrvToolTip& operator=(const OrvToolTip&) = delete;

    // A top-most tip window owned by owner, balloon shaped (margins -5,
    // at most kMaxTipWidth wide) when asked and the common controls can;
    // created inactive.
    bool Create(HWND owner, bool balloon);
    HWND GetSafeHwnd() const { return m_window.GetSafeHwnd(); }
    bool IsBalloon() const { return m_balloon; }

    // The tip of child window tool; an empty text adds nothing.
    bool AddTool(HWND tool, const CString& text);
    // A tip over a rectangle of the owner's client area (for what has no
    // window of its own, such as a label); id is the owner's choice.
    bool AddRectTool(UINT id, const RECT& rect, const CString& text);
    void MoveRectTool(UINT id, const RECT& rect);
    // The owner's own mouse messages, so its rectangle tips can show.
    void Relay(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    // The text registered for tool, empty when none.
    CString GetToolText(HWND tool) const;
    CString GetRectToolText(UINT id) const;
    int GetToolCount() const;

    void Activate(bool active);
    bool IsActive() const { return m_active; }

private:
    CString GetText(UINT_PTR id, bool isWindow) const;

    CWnd m_window;
    HWND m_owner = nullptr;
    bool m_balloon = false;
    bool m_active = false;
};
