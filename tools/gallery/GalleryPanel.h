#pragma once
// A plain skinned panel of the gallery: its frame and background from a
// control record, an optional header above it, and a line of text in the
// middle.
#include "ClsSkinnedWnd.h"

#include "CString.h"
#include "CWnd.h"

class GalleryPanel : public ClsSkinnedWnd<CWnd> {
public:
    GalleryPanel(HWND parent, UINT id, const char* text, COLORREF textColor);
    ~GalleryPanel() override;
    void CreateHandle() override;

protected:
    void WMNcHitTest(WMNCHitTest_t& message) override;  // header buttons
    void WMPaint(WMNoParams_t& message) override;

private:
    HWND m_parent;
    UINT m_id;
    CString m_text;
    COLORREF m_textColor;
};
