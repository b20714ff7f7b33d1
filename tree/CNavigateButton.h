#pragma once
#include "CRootItem.h"

#include "CRgn.h"

class ClsBitMap;

// A page button on the root: its image is a vertical strip of four frames
// (enabled, hovered, pressed, disabled); it is hit where its first frame is
// not magenta. Its rectangle is relative to the root's box.
class TREE_API CRootItem::CNavigateButton : public CObject {
public:
    enum Kind { kNext = 0, kPrevious = 1 };
    enum Frame { kFrameEnabled = 0, kFrameHovered = 1, kFramePressed = 2, kFrameDisabled = 3 };

    CNavigateButton(CRootItem* owner, Kind kind);
    CNavigateButton(const CNavigateButton&) = delete;
    CNavigateButton& operator=(const CNavigateButton&) = delete;

    Kind GetKind() const { return m_kind; }
    // Where the button stands across the root's width: the next button's
    // left edge, the previous button's right edge.
    double GetPosition() const { return m_position; }
    bool IsEnabled() const { return m_enabled; }
    void SetEnabled(bool enabled) { m_enabled = enabled; }
    bool IsHovered() const { return m_hovered; }
    void SetHovered(bool hovered) { m_hovered = hovered; }
    bool IsPressed() const { return m_pressed; }
    void SetPressed(bool pressed) { m_pressed = pressed; }

    // Places the button on a root box of that size.
    void Place(int rootWidth, int rootHeight);
    // Relative to the root's box.
    const CRect& GetRect() const { return m_rect; }
    // The frame drawn now: a disabled button always shows its disabled
    // frame, an enabled one pressed, hovered or plain.
    Frame GetFrame() const;
    // Whether a point relative to the root's box hits the button's shape.
    bool HitTest(CPoint pointInRoot);
    const ClsBitMap& GetImage() const;

    const char* GetRuntimeClassName() const override;

private:
    void UpdateRegion();

    CRootItem* m_owner;
    Kind m_kind;
    double m_position;
    bool m_enabled = false;
    bool m_hovered = false;
    bool m_pressed = false;
    // The shape of the first frame, in the button's own coordinates, made
    // for the skin generation it was made from.
    CRgn m_region;
    int m_regionGeneration = -1;
    CRect m_rect{0, 0, 0, 0};
};
