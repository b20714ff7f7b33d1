#pragma once
#include "ControlsExport.h"

#include "CRect.h"

#include <windows.h>

class CCaption;
class CDC;
class ClsBitMap;

// One button of a skinned caption: close, maximise (restore while the window
// is maximised) or minimise. It is no window: its caption places it, tracks
// the mouse over it and draws it, magenta left out, from the caption's 4 x 4
// grid of pictures (columns minimise, restore, maximise, close; rows normal,
// hovered, pressed, disabled).
class CTL_API CCaptionButton {
public:
    // Columns of the picture grid.
    enum : int { kColumnMinimize = 0, kColumnRestore = 1, kColumnMaximize = 2, kColumnClose = 3 };

    CCaptionButton(CCaption* owner, int column, UINT hitTest);

    CCaption* GetOwner() const { return m_owner; }
    bool GetHover() const { return m_hover; }
    void SetHover(bool hover) { m_hover = hover; }
    // Pressed while the mouse that went down on it is still over it.
    bool GetPressed() const { return m_pressed; }
    void SetPressed(bool pressed) { m_pressed = pressed; }
    bool GetEnabled() const { return m_enabled; }
    void SetEnabled(bool enabled) { m_enabled = enabled; }
    // Hidden buttons are neither drawn nor hit.
    bool GetVisible() const { return m_visible; }
    void SetVisible(bool visible) { m_visible = visible; }
    int GetColumn() const { return m_column; }
    void SetColumn(int column) { m_column = column; }
    // HTCLOSE, HTMAXBUTTON or HTMINBUTTON.
    UINT GetHitTest() const { return m_hitTest; }
    // In the window's coordinates.
    const CRect& GetRect() const { return m_rect; }
    void SetRect(const RECT& rect) { m_rect = rect; }

    // The grid row of the state: 3 disabled, else 2 pressed, 1 hovered, 0.
    int GetRow() const;
    // Draws the picture of the state into dc, whose origin is the window's.
    // cellWidth x cellHeight is one cell of grid.
    void Draw(CDC* dc, const ClsBitMap& grid, int cellWidth, int cellHeight) const;

private:
    CCaption* m_owner;
    int m_column;
    UINT m_hitTest;
    CRect m_rect;
    bool m_hover = false;
    bool m_pressed = false;
    bool m_enabled = true;
    bool m_visible = false;
};
