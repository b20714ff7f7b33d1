#pragma once
#include "CComponent.h"
#include "ControlsExport.h"
#include "S_STD_SKININFO.h"
#include "SkinComponents.h"

#include "CRect.h"
#include "CRgn.h"

class CCaption;

// The skinned left, right and bottom frame of a top-level window or dialog:
// a component hooked on the window that gives those frames the widths of the
// "<theme>\border" record instead of the system's and paints them from the
// record's three images (active cells over inactive ones), stretched along
// the window, with the two bottom corners at their own size. Inside a
// sizable window the frames answer the sizing hit tests. The top belongs to
// the caption (SetCaption), whose height the side frames start below.
// Without a record, or on a window without a frame, the frames are empty and
// the border leaves everything to the system. User-interface thread only.
class CTL_API CBorder : public CComponent {
public:
    CBorder();
    ~CBorder() override;

    bool Install(HWND window) override;
    void Uninstall() override;
    CString GetComponentName() const override;
    // Takes the record of the new skin (the window recomputes its frame).
    LRESULT OnSkinChanged() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    bool IsSkinned() const { return m_skin.Get() != nullptr; }
    // The caption above the frames; null: the frames start at the top.
    void SetCaption(CCaption* caption) { m_caption = caption; }
    // The frames' widths now: 0 without a record or frame.
    int GetLeftWidth() const;
    int GetRightWidth() const;
    int GetBottomWidth() const;
    // The widths of the left, right and bottom frames (as left, right and
    // bottom) whenever the window is not minimised; 0 without a record or frame.
    CRect GetFrameWidths() const;
    // The frames in window coordinates; empty without a record or frame.
    CRect GetLeftRect() const;
    CRect GetRightRect() const;
    CRect GetBottomRect() const;
    // The union of the three frames; false when they are empty.
    bool GetFrameRegion(CRgn* region) const;
    // The frames' answer at a point of the window (window coordinates):
    // HTNOWHERE outside them.
    UINT HitTest(POINT point) const;
    // Paints the frames on the window now.
    void Redraw();
    // Draws the frames into dc at window coordinates, clipped to them.
    void Draw(HDC dc);

protected:
    void OnNcCalcSize(WMNCCalcSize_t& message) override;
    void OnNcHitTest(WMNCHitTest_t& message) override;
    void OnNcPaint(WMNCPaint_t& message) override;
    void OnNcActivate(WMNCActivate_t& message) override;

private:
    void LoadSkin();
    // A record, and a window with a frame style.
    bool HasFrameStyle() const;
    // The same, and the window is not minimised.
    bool HasFrames() const;
    CSize WindowSize() const;
    int CaptionHeight(int windowHeight) const;

    CSkinRecordRef<FrameSkin> m_skin;
    CCaption* m_caption = nullptr;
    bool m_active = false;
};
