#pragma once
// A push button drawn from the four-band image of its skin record: normal,
// hovered, pushed and disabled.
#include "ButtonSkinInfo.h"
#include "CSkinnedButtonBase.h"
#include "ControlsExport.h"

#include <windows.h>

// The record lives in the host control and is re-formed there on every skin
// change; the button borrows it. Its own enabled flag (SetEnabled) greys
// the button and swallows clicks while the window stays enabled, so the
// tool tip still sees the pointer over it; EnableWindow sets both.
class CTL_API CSkinnedButton : public CSkinnedButtonBase {
public:
    // The bands of the image, from the top.
    enum Band_e : int { bnNormal = 0, bnHovered = 1, bnPushed = 2, bnDisabled = 3 };
    static const UINT_PTR kHoverTimer = 101;
    static const UINT kHoverPeriodMs = 50;

    explicit CSkinnedButton(ButtonSkinInfo_t* skin = nullptr);
    ~CSkinnedButton() override;

    using CButton::Create;
    // A visible, sibling-clipping, owner-drawn push button with an empty
    // caption, in the tab order, at the record's place. Its window text,
    // never drawn, may carry an access key ("&Search") for dialogs.
    bool Create(CWnd* parent, UINT id);

    ButtonSkinInfo_t* GetSkinInfo() const { return m_skin; }
    void SetSkinInfo(ButtonSkinInfo_t* skin);
    // The tool tip control mouse messages are relayed to (null: none).
    void SetToolTip(HWND toolTip) { m_toolTip = toolTip; }
    HWND GetToolTip() const { return m_toolTip; }

    // Any change clears the pushed state and repaints; enabling also gives
    // the mouse capture back.
    void SetEnabled(bool enabled);
    bool GetEnabled() const { return m_enabled; }
    void EnableWindow(bool enabled);
    // The band shown now: 3 disabled, 2 hovered and pushed (or pushed from
    // the keyboard), 1 hovered, 0 otherwise.
    int GetBand() const override;

    const char* GetRuntimeClassName() const override;

protected:
    const SkinnedButtonRecord_t* GetRecord() const override { return m_skin; }
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void RelayToToolTip(UINT message, WPARAM wParam, LPARAM lParam);
    void SetHovered(bool hovered);
    bool IsUnderCursor() const;

    ButtonSkinInfo_t* m_skin;
    HWND m_toolTip = nullptr;
    bool m_enabled = true;
};
