#pragma once
// The two ends of a search-path: a source and a destination, each typed as
// an e-mail address or placed as a contact (by a command or by dropping a
// dragged contact on its field). The search button hands the request to
// the main frame through OrvISearchPath.
#include "ClsContactInfo.h"
#include "OrvCtrlsExport.h"
#include "OrvToolTip.h"

#include "ButtonSkinInfo.h"
#include "CSkinnedButton.h"
#include "CSkinnedEdit.h"
#include "CSkinnedLabel.h"
#include "ClsSkinnedWnd.h"
#include "EditSkinInfo.h"
#include "IClsSkinnedEdit.h"
#include "LabelSkinInfo.h"

class OrvISearchPath;
class OrvLocaleManager;
struct ORVPATHREQUEST;

class ORVCTRLS_API OrvPathFinderCtrl : public ClsSkinnedWnd<CWnd>, public IClsSkinnedEdit {
public:
    static constexpr UINT kControlId = 50;
    static constexpr UINT kSourceEditId = 6;
    static constexpr UINT kDestinationEditId = 7;
    static constexpr UINT kButtonId = 8;
    // The rectangle tips of the two labels.
    static constexpr UINT kSourceLabelTip = 1;
    static constexpr UINT kDestinationLabelTip = 2;
    static constexpr const char* kWindowClass = "OrvPathFinderCtrl";

    // Makes the window at once (zero size until the skin reader places
    // it), its labels, edits, button and tool tip. searchPath and locale
    // are not owned.
    OrvPathFinderCtrl(CWnd* parent, OrvISearchPath* searchPath, OrvLocaleManager* locale);
    ~OrvPathFinderCtrl() override;

    // Places a contact at an end (null clears it): the field shows its
    // e-mail, or for a private address the private text with the name.
    void SetPathSearchSource(const ORVCONTACTINFO* contact);
    void SetPathSearchDestination(const ORVCONTACTINFO* contact);
    const ClsContactInfo& GetPathSearchSource() const { return m_source; }
    const ClsContactInfo& GetPathSearchDestination() const { return m_destination; }

    // Posts the search button's command to itself.
    bool PerformSearch();
    // Reads both fields; with both non-empty hands the request to
    // OrvISearchPath.
    void OnBtnSearchClicked();
    bool GetEnabledSearchButton() const { return m_button.GetEnabled(); }
    void SetEnabledSearchButton(bool enabled) { m_button.SetEnabled(enabled); }
    bool GetToolTipActivated() const { return m_toolTipsActive; }
    void SetToolTipActivated(bool active);
    const OrvToolTip& GetToolTip() const { return m_toolTip; }

    // The records the skin reader fills on every skin change.
    LabelSkinInfo_t* GetSourceLabelSkinInfo() { return &m_sourceLabelSkin; }
    LabelSkinInfo_t* GetDestinationLabelSkinInfo() { return &m_destinationLabelSkin; }
    LabelSkinInfo_t* GetLinkLabelSkinInfo() { return &m_linkLabelSkin; }
    EditSkinInfo_t* GetSourceEditSkinInfo() { return &m_sourceEditSkin; }
    EditSkinInfo_t* GetDestinationEditSkinInfo() { return &m_destinationEditSkin; }
    ButtonSkinInfo_t* GetButtonSkinInfo() { return &m_buttonSkin; }
    CSkinnedEdit& GetSourceEdit() { return m_sourceEdit; }
    CSkinnedEdit& GetDestinationEdit() { return m_destinationEdit; }
    CSkinnedButton& GetButton() { return m_button; }
    const CSkinnedLabel& GetSourceLabel() const { return m_sourceLabel; }
    const CSkinnedLabel& GetDestinationLabel() const { return m_destinationLabel; }

    void RealizeSkin() override;
    BOOL PreTranslateMessage(MSG* msg) override;

    // The guard of a field that holds a placed contact with a private
    // address: the text cannot be edited, only cleared or replaced.
    void OnEditKeyDown(CSkinnedEdit* edit, unsigned* key, long* flags) override;
    void OnEditKeyChar(CSkinnedEdit* edit, unsigned* key) override;
    void OnEditMouseUp(CSkinnedEdit* edit, int x, int y, unsigned keys) override;

    const char* GetRuntimeClassName() const override;

protected:
    BOOL PreCreateWindow(CREATESTRUCTA& create) override;
    void CreateHandle() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void WMCommand(WMCommand_t& message) override;
    void WMKeyDown(WMKey_t& message) override;
    void WMChar(WMKey_t& message) override;
    void WMPaint(WMNoParams_t& message) override;
    void WMEraseBkGnd(WMEraseBkGnd_t& message) override;

private:
    // The end whose field is edit, null for another window.
    ClsContactInfo* EndOf(const CSkinnedEdit* edit);
    CSkinnedEdit* EditOf(const ClsContactInfo& end);
    void PlaceContact(ClsContactInfo& end, const ORVCONTACTINFO* contact);
    bool HoldsPrivateContact(const ClsContactInfo& end) const;
    CString PrivateText(const ClsContactInfo& end) const;
    // The text of a field, trimmed.
    static CString FieldText(const CSkinnedEdit& edit);

    CWnd* m_parent;
    OrvISearchPath* m_searchPath;
    OrvLocaleManager* m_locale;
    LabelSkinInfo_t m_sourceLabelSkin;
    LabelSkinInfo_t m_destinationLabelSkin;
    LabelSkinInfo_t m_linkLabelSkin;
    EditSkinInfo_t m_sourceEditSkin;
    EditSkinInfo_t m_destinationEditSkin;
    ButtonSkinInfo_t m_buttonSkin;
    CSkinnedLabel m_sourceLabel;
    CSkinnedLabel m_destinationLabel;
    CSkinnedEdit m_sourceEdit;
    CSkinnedEdit m_destinationEdit;
    CSkinnedButton m_button;
    OrvToolTip m_toolTip;
    bool m_toolTipsActive = false;
    ClsContactInfo m_source;
    ClsContactInfo m_destination;
};
