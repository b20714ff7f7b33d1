#pragma once
#include "CSButton.h"
#include "CSWindow.h"
#include "ControlsExport.h"

#include "CBrush.h"

#include <memory>
#include <vector>

// The skin of a dialog, put on from outside (usually in its WM_INITDIALOG):
// everything CSWindow does, and the dialog's push buttons become CSButtons
// (check boxes, radio buttons, group boxes and buttons somebody else already
// took stay as they are). The client area is filled with the colour of the
// "dialog" record, on which static texts and check boxes are written
// transparently, in the text colour of the theme's button record unless the
// dialog chose a colour of its own. The buttons belong to this component and are given back
// with it. User-interface thread only.
class CTL_API CSDialog : public CSWindow {
public:
    // The record of the dialogs' background colour, and the colour without it.
    static const char* const kBackgroundRecord;
    enum : COLORREF { kDefaultBackground = 0xC8D0D4 };

    CSDialog();
    ~CSDialog() override;

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    // Push buttons made since installing are skinned too.
    LRESULT OnSkinChanged() override;

    int GetButtonCount() const { return static_cast<int>(m_buttons.size()); }
    CSButton* GetButton(int index) const;
    // The client area's colour: the "dialog" record's, or kDefaultBackground.
    COLORREF GetBackgroundColor() const;

protected:
    void OnHooked() override;
    void OnUnhooking() override;
    void OnEraseBkGnd(WMEraseBkGnd_t& message) override;
    void OnActivate(WMActivate_t& message) override;

private:
    void SkinPushButtons();
    // The record's colour when there is one.
    bool GetRecordColor(COLORREF* color) const;
    // The text colour of the "<theme>\button" record when there is one.
    bool GetTextColorOfTheme(COLORREF* color) const;

    std::vector<std::unique_ptr<CSButton>> m_buttons;
    CBrush m_brush;
    COLORREF m_brushColor = CLR_INVALID;
};
