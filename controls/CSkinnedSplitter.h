#pragma once
#include "ClsSkinnedWnd.h"
#include "ControlsExport.h"

#include "CPtrArray.h"
#include "CTypedPtrArray.h"
#include "CWnd.h"

#include <cstdint>

// The sides of a splitter.
enum ContainerSide_e : int32_t {
    csLeft = 0,
    csRight = 1,
};

// The draggable vertical bar between two groups of panes. Its stored bounds
// (GetLeft ... GetHeight) are the whole area it divides; its window is only
// the bar, at the splitter position (the width of the left side) within
// that area. Panes keep their own top and height; the splitter sets their
// left and width. It owns its panes (SetOwnerC): deleting the splitter
// deletes them. Neither side becomes narrower than the minimum size while
// the area allows it. User-interface thread only.
class CTL_API CSkinnedSplitter : public ClsSkinnedWnd<CWnd> {
public:
    static constexpr int kDefaultWidth = 6;

    // A splitter for parent's client area; its window is made by GetHandleC.
    explicit CSkinnedSplitter(HWND parent = nullptr);
    ~CSkinnedSplitter() override;

    void SetParentHandle(HWND parent) { m_parent = parent; }

    // Adds a pane at the end of a side and takes ownership of it.
    void Add(ContainerSide_e side, ClsSkinnedControl* control);
    void AddLeft(ClsSkinnedControl* control) { Add(csLeft, control); }
    void AddRight(ClsSkinnedControl* control) { Add(csRight, control); }
    int GetPaneCount(ContainerSide_e side) {
        ForgetLostPanes();
        return Panes(side).GetSize();
    }
    ClsSkinnedControl* GetPane(ContainerSide_e side, int index) {
        ForgetLostPanes();
        return index >= 0 && index < Panes(side).GetSize() ? Panes(side).GetAt(index) : nullptr;
    }

    int GetSplitterPos() const { return m_position; }
    // Moves the bar and the panes so that the left side is p wide, kept
    // between the minimum and the area's width less the bar and the
    // minimum. Nothing happens without an area or when p is the position.
    void SetSplitterPos(int p);
    int GetSplitterWidth() const { return m_barWidth; }
    void SetSplitterWidth(int width);
    int GetMinSize() const { return m_minSize; }
    // Re-applies the position when a side is now narrower than m.
    void SetMinSize(int m);
    bool GetIsDragging() const { return m_dragging; }

    // The area to divide; the bar follows it (and the panes, when the area
    // no longer holds the position).
    using ClsSkinnedControl::SetPos;
    HDWP SetPos(HDWP batch, int x, int y, int width, int height) override;
    void CreateHandle() override;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    void WMLButtonDown(WMMouse_t& message) override;   // starts dragging
    void WMLButtonUp(WMMouse_t& message) override;     // ends it
    void WMMouseMove(WMMouse_t& message) override;     // drags
    void WMMove(WMMove_t& message) override;           // the bounds stay the area's
    void WMSize(WMSize_t& message) override;           // the bounds stay the area's
    void WMSetCursor(WMSetCursor_t& message) override; // the sizing cursor

private:
    const CTypedPtrArray<CPtrArray, ClsSkinnedControl*>& Panes(ContainerSide_e side) const {
        return side == csLeft ? m_left : m_right;
    }
    // The position p clamped to the minimum on both sides.
    int Clamp(int p) const;
    bool HasArea() const { return GetWidth() > 0 && GetHeight() > 0; }
    int RightWidth(int p) const { return GetWidth() - p - m_barWidth; }
    // Places every pane and the bar for position p through batch.
    HDWP PlacePanes(HDWP batch, int p);
    HDWP PlaceBar(HDWP batch, int p);
    void Apply(int p);
    void ForgetLostPanes();
    void StopDragging();

    HWND m_parent;
    CTypedPtrArray<CPtrArray, ClsSkinnedControl*> m_left;
    CTypedPtrArray<CPtrArray, ClsSkinnedControl*> m_right;
    int m_minSize = 0;
    int m_position = 0;
    int m_barWidth = kDefaultWidth;
    bool m_dragging = false;
    int m_dragX = 0;
};
