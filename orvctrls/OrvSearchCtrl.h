#pragma once
// The search field of the main window: a skinned edit and a search button.
// The trimmed text goes to the main frame through OrvISearch; a blank
// field searches for "chat".
#include "OrvCtrlsExport.h"
#include "OrvToolTip.h"

#include "ButtonSkinInfo.h"
#include "CSkinnedButton.h"
#include "CSkinnedEdit.h"
#include "ClsSkinnedWnd.h"
#include "EditSkinInfo.h"

class OrvISearch;
class OrvLocaleManager;

class ORVCTRLS_API OrvSearchCtrl : public ClsSkinnedWnd<CWnd> {
public:
    static constexpr UINT kControlId = 60;
    static constexpr UINT kEditId = 1;
    static constexpr UINT kButtonId = 2;
    static constexpr const char* kWindowClass = "OrvSearchCtrl";
    static constexpr const char* kBlankSearch = "chat";

    // Makes the window at once (zero size until the skin reader places
    // it), its edit, button and tool tip. search and locale are not owned.
    OrvSearchCtrl(CWnd* parent, OrvISearch* search, OrvLocaleManager* locale);
    ~OrvSearchCtrl() override;

    void SetSearchText(const CString& text);
    CString GetSearchText() const;
    bool GetEnabledSearchButton() const { return m_button.GetEnabled(); }
    void SetEnabledSearchButton(bool enabled) { m_button.SetEnabled(enabled); }
    bool GetToolTipActivated() const { return m_toolTipsActive; }
    void SetToolTipActivated(bool active);
    const OrvToolTip& GetToolTip() const { return m_toolTip; }

    // The records the skin reader fills on every skin change.
    EditSkinInfo_t* GetEditSkinInfo() { return &m_editSkin; }
    ButtonSkinInfo_t* GetButtonSkinInfo() { return &m_buttonSkin; }
    CSkinnedEdit& GetEdit() { return m_edit; }
    CSkinnedButton& GetButton() { return m_button; }

    // The frame, the edit and the button after a skin change.
    void RealizeSkin() override;
    // The search button's action: trims the field (blank: "chat"), writes
    // the text back and hands it to OrvISearch.
    void OnBtnSearchClicked();

    const char* GetRuntimeClassName() const override;

protected:
    BOOL PreCreateWindow(CREATESTRUCTA& create) override;
    void CreateHandle() override;
    void WMCommand(WMCommand_t& message) override;
    void WMKeyDown(WMKey_t& message) override;
    void WMChar(WMKey_t& message) override;
    void WMPaint(WMNoParams_t& message) override;
    void WMEraseBkGnd(WMEraseBkGnd_t& message) override;

private:
    CWnd* m_parent;
    OrvISearch* m_search;
    EditSkinInfo_t m_editSkin;
    ButtonSkinInfo_t m_buttonSkin;
    CSkinnedEdit m_edit;
    CSkinnedButton m_button;
    OrvToolTip m_toolTip;
    bool m_toolTipsActive = false;
};
