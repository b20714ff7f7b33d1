#pragma once
#include "CCaptionButton.h"
#include "CComponent.h"
#include "ClsBitMap.h"
#include "ControlsExport.h"
#include "S_STD_SKININFO.h"
#include "SkinComponents.h"

#include "CRect.h"
#include "CRgn.h"
#include "CString.h"

#include <cstdint>

// What a caption shows besides its text.
enum CaptionStyle_e : uint32_t {
    csNormal = 0,     // close, maximise (restore) and minimise
    csCloseOnly = 1,  // a tool window, or one that can neither minimise nor maximise
};

// The skinned caption of a top-level window or dialog: a component hooked on
// the window that takes the window's top CaptionSkin::Border.InterationStep
// rows as its non-client caption and paints them from the "<theme>\caption"
// record: the caption image (active over inactive) stretched between its two
// end cells, the window's small icon, the text, and the caption buttons. The
// window's shape follows the ends' magenta pixels (round corners); inside
// that shape the caption answers hit tests for its buttons, the sizing strip
// along its top and sides, and the caption itself.
//
// The system draws nothing of its own caption: text and icon changes,
// activation, the caption buttons, the window menu key and the caption's
// context menu are handled here. Without a record the caption leaves
// everything to the system. User-interface thread only.
class CTL_API CCaption : public CComponent {
public:
    // Hovering over a button is followed with this timer of the window.
    enum : UINT_PTR { kHoverTimerId = 4660 };
    enum : UINT { kHoverTimerMs = 50 };
    // The caption when drawing fails (a record without a usable image).
    enum : COLORREF { kFailureColor = 0xFF0000 };

    CCaption();
    ~CCaption() override;

    // Takes the window's text, its active state and its style.
    bool Install(HWND window) override;
    void Uninstall() override;
    // Drops the caption images (rebuilt on the next painting).
    void Invalidate() override;
    CString GetComponentName() const override;
    // Takes the record of the new skin, drops the images, reshapes, redraws.
    LRESULT OnSkinChanged() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    // True while a caption record of the window's theme is in use.
    bool IsSkinned() const { return m_skin.Get() != nullptr; }
    // The record's caption height, or the system's caption height without one.
    int GetHeight() const;
    // Copies the caption's hit region (window coordinates) into region;
    // false without a record.
    bool GetCaptionRegion(CRgn* region);
    void SetCaptionStyle(CaptionStyle_e style);
    CaptionStyle_e GetCaptionStyle() const { return m_style; }
    bool GetActive() const { return m_active; }
    // The text the caption shows.
    const CString& GetCaptionText() const { return m_text; }
    int GetButtonCount() const { return kButtonCount; }
    // 0 close, 1 maximise, 2 minimise; null for other indices.
    CCaptionButton* GetButton(int index);
    // The caption's answer at a point of the window (window coordinates):
    // HTNOWHERE outside its region or without a record.
    UINT HitTest(POINT point);
    // Paints the caption on the window now.
    void Redraw();
    // Draws the caption, buttons included, into dc at window coordinates.
    void Draw(HDC dc);
    // Gives the window the shape of its caption for its current size (or
    // takes the shape away without a record).
    void UpdateShape();

protected:
    void OnNcCalcSize(WMNCCalcSize_t& message) override;
    void OnNcHitTest(WMNCHitTest_t& message) override;
    void OnNcPaint(WMNCPaint_t& message) override;
    void OnNcActivate(WMNCActivate_t& message) override;
    void OnNCMouseMove(WMNCHitMessage_t& message) override;
    void OnNcLButtonDown(WMNCHitMessage_t& message) override;
    void OnNCLButtonUp(WMNCHitMessage_t& message) override;
    void OnNcLButtonDblClk(WMNCHitMessage_t& message) override;
    void OnNcRButtonDown(WMNCHitMessage_t& message) override;
    void OnMouseMove(WMMouse_t& message) override;
    void OnLButtonUp(WMMouse_t& message) override;
    LRESULT OnSysCommand(UINT command, CPoint point) override;

private:
    enum : int { kButtonCount = 3 };

    void LoadSkin();
    void ReadWindowState();
    void ReadStyle();
    CSize WindowSize() const;
    // Buttons placed for a caption of that width.
    void LayoutButtons(int width);
    // The images for this width, rebuilt when missing or of another size;
    // filled with kFailureColor when drawing fails.
    void EnsureImages(int width);
    bool BuildImage(ClsBitMap& image, int width, bool active);
    // The window's small icon at the icon offset; returns where text may start.
    int DrawIcon(HDC dc, int height);
    void EnsureRegion(int width);
    CCaptionButton* ButtonAt(POINT point);
    CCaptionButton* ButtonWithHitTest(UINT hitTest);
    void SetHoverButton(CCaptionButton* button);
    void PressButton(CCaptionButton* button);
    // Ends tracking a pressed button; returns the command to act on (0: none).
    UINT EndTracking(bool act);
    void CheckHover();
    LRESULT CallWithoutSystemCaption(UINT message, WPARAM wParam, LPARAM lParam);
    void ShowSystemMenu(POINT screenPoint);
    bool InCaption(UINT hitTest) const;

    CSkinRecordRef<CaptionSkin> m_skin;
    // Index 0 inactive, 1 active; built with icon and text.
    ClsBitMap m_images[2];
    bool m_active = false;
    CRgn m_region;
    int m_regionWidth = -1;
    CString m_text;
    CaptionStyle_e m_style = csNormal;
    bool m_styleSet = false;
    CCaptionButton m_close;
    CCaptionButton m_maximize;
    CCaptionButton m_minimize;
    CCaptionButton* m_tracking = nullptr;
    bool m_rightPressed = false;
    bool m_shaped = false;
    CSize m_shapeSize{-1, -1};
};
