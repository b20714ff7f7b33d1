#pragma once
// The row of seven skinned buttons of the main window: back, forward, home,
// add source, add destination, chat and edit personal information. Every
// click goes to the main frame as a navigation request of kind id + 1.
#include "OrvCtrlsExport.h"
#include "OrvToolTip.h"

#include "ButtonSkinInfo.h"
#include "CSkinnedButton.h"
#include "ClsSkinnedWnd.h"

class OrvINavigate;
class OrvLocaleManager;

class ORVCTRLS_API OrvToolBarCtrl : public ClsSkinnedWnd<CWnd> {
public:
    static constexpr UINT kControlId = 70;
    static constexpr int kButtonCount = 7;
    static constexpr const char* kWindowClass = "OrvToolBarCtrl";

    OrvToolBarCtrl();
    ~OrvToolBarCtrl() override;

    // Makes the window (at the stored bounds), the tool tip and the seven
    // buttons (ids 1 to 7) with their tips. navigate and locale are not
    // owned; either may be null.
    bool Create(CWnd* parent, OrvINavigate* navigate, OrvLocaleManager* locale);

    // index 0 to 6; other indexes are ignored.
    void EnableButton(int index, bool enabled);
    bool GetButtonEnabled(int index) const;
    CSkinnedButton* GetButton(int index);
    // The place and image of button index, which the skin reader fills;
    // null outside 0 to 6.
    ButtonSkinInfo_t* GetButtonSkinInfo(int index);

    bool GetToolTipActivated() const { return m_toolTipsActive; }
    // Changes the tips only when the value changes.
    void SetToolTipActivated(bool active);
    const OrvToolTip& GetToolTip() const { return m_toolTip; }

    // The frame and the buttons' places after a skin change, the buttons
    // moved in one deferred batch.
    void RealizeSkin() override;
    using ClsSkinnedControl::SetPos;

    // The tip key of button id 1 to 7 (null for others).
    static const char* TipKey(UINT id);

    const char* GetRuntimeClassName() const override;

protected:
    BOOL PreCreateWindow(CREATESTRUCTA& create) override;
    void CreateHandle() override;
    void WMCommand(WMCommand_t& message) override;
    void WMPaint(WMNoParams_t& message) override;
    void WMEraseBkGnd(WMEraseBkGnd_t& message) override;

private:
    CWnd* m_parent = nullptr;
    OrvINavigate* m_navigate = nullptr;
    ButtonSkinInfo_t m_buttonSkins[kButtonCount];
    CSkinnedButton m_buttons[kButtonCount];
    OrvToolTip m_toolTip;
    bool m_toolTipsActive = false;
};
