#pragma once
// A radio button drawn from the six-band image of its skin record: bands 0
// to 2 unchecked (normal, hovered, pushed), 3 to 5 the same checked.
#include "ButtonSkinInfo.h"
#include "CSkinnedButtonBase.h"
#include "ControlsExport.h"

#include <windows.h>

// Checking one radio button of a group (a click, Space, or an arrow key
// moving the focus through the group, here or through the dialog manager)
// unchecks the other skinned radio buttons of its
// group, as a person expects of radio buttons; the parent is told with
// BN_CLICKED as usual. The record lives in the host control.
class CTL_API CSkinnedRadioButton : public CSkinnedButtonBase {
public:
    // Makes the window: a visible, sibling-clipping, owner-drawn button;
    // with group it starts a group (and is the group's tab stop).
    CSkinnedRadioButton(CWnd* parent, UINT id, bool group, RadioButtonSkinInfo_t* skin = nullptr);
    ~CSkinnedRadioButton() override;

    RadioButtonSkinInfo_t* GetSkinInfo() const { return m_skin; }
    void SetSkinInfo(RadioButtonSkinInfo_t* skin);

    // Sets the flag and the system's check state and repaints at once.
    void SetCheck(int check);
    bool GetChecked() const { return m_checked; }
    // The band shown now.
    int GetBand() const override;

    const char* GetRuntimeClassName() const override;

protected:
    const SkinnedButtonRecord_t* GetRecord() const override { return m_skin; }
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    // Checks this button and unchecks the others of its group.
    void CheckInGroup();
    void TrackHover(LPARAM lParam, WPARAM keys);
    // The next or previous skinned radio button of the group, or null.
    CSkinnedRadioButton* Neighbour(bool previous) const;

    RadioButtonSkinInfo_t* m_skin;
    bool m_checked = false;
};
