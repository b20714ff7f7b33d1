#pragma once
#include "ClsBitMap.h"
#include "ClsFont.h"
#include "ClsSkinnedHeaderButton.h"
#include "ControlsExport.h"
#include "SkinBorderInfo.h"

#include "CString.h"

class ClsSkinnedControl;

// A caption strip that a skinned control shows above its client area. It is
// no window: the parent control docks it into its non-client area and it
// draws itself there, inside the parent's frame. It has four buttons
// (minimise, maximise or restore, close), a caption in its font and colour,
// an optional filler image under the buttons, and its own frame record.
// The frame record is borrowed (the skin reader owns it); copying a header
// copies everything else.
class CTL_API ClsSkinnedHeader {
public:
    ClsSkinnedHeader();

    const CString& GetCaption() const { return m_caption; }
    void SetCaption(const char* caption) { m_caption = caption ? caption : ""; }
    ClsFont& GetFont() { return m_font; }
    void SetFont(const ClsFont& font) { m_font = font; }
    // Null when there is none.
    ClsBitMap* GetFillerImage() { return m_filler.GetIsValid() ? &m_filler : nullptr; }
    // Copies image; null drops the filler.
    void SetFillerImage(const ClsBitMap* image);
    ControlBorderInfo_t* GetBorder() const { return m_border; }
    void SetBorder(ControlBorderInfo_t* border) { m_border = border; }
    // The header's height (the skin calls it HeaderWidth).
    int GetWidth() const { return m_width; }
    void SetWidth(int width) { m_width = width < 0 ? 0 : width; }
    int GetButtonSpacing() const { return m_buttonSpacing; }
    void SetButtonSpacing(int spacing) { m_buttonSpacing = spacing < 0 ? 0 : spacing; }

    bool GetButtonClose() const { return m_showClose; }
    void SetButtonClose(bool show) { m_showClose = show; }
    bool GetButtonMinimize() const { return m_showMinimize; }
    void SetButtonMinimize(bool show) { m_showMinimize = show; }
    // Maximise and restore share a place: showing one hides the other.
    bool GetButtonMaximize() const { return m_showMaximize; }
    void SetButtonMaximize(bool show);
    bool GetButtonRestore() const { return m_showRestore; }
    void SetButtonRestore(bool show);
    ClsSkinnedHeaderButton* GetButton(HeaderButton_e button);

    HeaderButton_e GetHoveredButton() const { return m_hoveredButton; }
    void SetHoveredButton(HeaderButton_e button);
    HeaderButton_e GetPressedButton() const { return m_pressedButton; }
    bool GetButtonIsPressed() const { return m_pressed; }
    // Pressing presses the hovered button; releasing releases it.
    void SetButtonIsPressed(bool pressed);

    ClsSkinnedControl* GetParent() const { return m_parent; }
    void SetParent(ClsSkinnedControl* parent) { m_parent = parent; }

    // Shrinks the parent's proposed client rectangle (window coordinates of
    // its WM_NCCALCSIZE) by the header, and by the parent's frame when it
    // has one.
    void DockHeader(RECT* rect) const;
    // The room the buttons take at the right end.
    int DetermineRightMargin() const;
    // Draws the header into the parent's window context dc (window
    // coordinates), inside the parent's frame.
    void Draw(HDC dc);
    // Draws the header on the parent's window now, when it has one.
    void Redraw();
    // The place under a point in the parent's window coordinates.
    HeaderTestPlaces_e GetItemFromPoint(int x, int y);
    // The non-client hit-test code of a button under a point (screen
    // coordinates), for the parent's WM_NCHITTEST: HTMINBUTTON, HTMAXBUTTON
    // (maximise and restore), HTCLOSE; HTNOWHERE elsewhere.
    UINT GetHitTestCode(POINT screen);

private:
    struct Layout {
        int width = 0;   // of the header's image
        int height = 0;
        int frameLeft = 0;
        int frameTop = 0;
        int rightMargin = 0;
    };
    Layout MeasureLayout() const;
    // Places the shown buttons from the left end of the right margin.
    void PlaceButtons(const Layout& layout);
    bool IsShown(HeaderButton_e button) const;
    void SyncButtonStates();

    ClsSkinnedHeaderButton m_minimize;
    ClsSkinnedHeaderButton m_maximize;
    ClsSkinnedHeaderButton m_close;
    ClsSkinnedHeaderButton m_restore;
    CString m_caption;
    ClsFont m_font;
    ClsBitMap m_filler;
    ControlBorderInfo_t* m_border = nullptr;
    int m_width = 0;
    int m_buttonSpacing = 2;
    bool m_showClose = false;
    bool m_showMaximize = false;
    bool m_showMinimize = false;
    bool m_showRestore = false;
    HeaderButton_e m_hoveredButton = hbNone;
    HeaderButton_e m_pressedButton = hbNone;
    bool m_pressed = false;
    ClsSkinnedControl* m_parent = nullptr;
};
