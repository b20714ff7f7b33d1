#pragma once
#include "ButtonTextParam.h"
#include "ClsBitMap.h"
#include "ControlsExport.h"
#include "S_STD_SKININFO.h"
#include "SkinComponents.h"

#include "CString.h"
#include "CWnd.h"

#include <memory>

// A push button of a dialog, skinned in place: the system's "Button" window
// keeps its behaviour (clicks, the default button, keyboard) and this
// framework object paints it from the "<theme>\button" record of its
// parent's theme. The button shows one band of a 6-band image of its own
// size composed from the record: 0 normal, 1 hovered, 2 pushed, 3 disabled,
// 4 default, 5 focused, with its text written into each; its shape is the
// solid part of band 0. Without a record the system draws it. A button that
// is already a CSButton answers WM_IS_SBUTTON_ALREADY_SUB with non-zero.
// User-interface thread only.
class CTL_API CSButton : public CWnd {
public:
    // Registered as "wmIsSButtonAlreadySub" when the library loads.
    static const UINT WM_IS_SBUTTON_ALREADY_SUB;
    // Bands of the image.
    enum : int {
        kBandNormal = 0,
        kBandHover = 1,
        kBandPushed = 2,
        kBandDisabled = 3,
        kBandDefault = 4,
        kBandFocused = 5,
        kBandCount = 6,
    };

    CSButton();
    // Gives the button back to the system.
    ~CSButton() override;

    // Whether a window is a push button (or default push button) of class
    // "Button" that nobody has taken yet: no framework object, no CSButton.
    static bool CanSkin(HWND window);
    // Subclasses such a button and paints it from now on; false for any
    // other window.
    bool Install(HWND button);
    // The system paints the button again; its shape is taken away.
    void Uninstall();

    // With a record of the parent's theme, or an image given with SetImage.
    bool IsSkinned() const { return m_skin.Get() != nullptr || m_customImage; }
    bool GetHover() const { return m_hover; }
    void SetHover(bool hover);
    bool GetPushed() const { return m_pushed; }
    void SetPushed(bool pushed);
    bool GetEnabled() const;
    bool GetDefault() const;
    // The band for the state: 3 disabled, 5 focused, else 2 hovered and
    // pushed, 1 hovered, 4 default, 0.
    int GetStateBand() const;
    // Takes a copy of a 6-band image of the button's width and 6 times its
    // height instead of the one composed from the record, and the shape of
    // its band 0; false (nothing changed) for an image of another size.
    bool SetImage(const ClsBitMap* bitmap);
    const ClsBitMap& GetImage() const { return m_image; }
    // "<parent's theme>\button".
    CString GetSkinName() const;
    // Replaces the record's font and colours for the caption (null: the
    // record's again); the image is composed anew.
    void SetTextParam(const ButtonTextParam_t* param);
    const ButtonTextParam_t* GetTextParam() const { return m_textParam.get(); }

    const char* GetRuntimeClassName() const override;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void LoadSkin();
    // The image composed for the button's size when missing or of another size.
    bool EnsureImage();
    bool ComposeImage(int width, int height);
    void WriteCaptions(CDC& dc, int width, int height);
    void ApplyShape();
    void Paint(HDC dc);
    void RedrawNow();
    // Drops the image; it is composed again for the next painting.
    void Rebuild();
    void ReadPushed();

    CSkinRecordRef<ButtonSkin> m_skin;
    ClsBitMap m_image;
    bool m_customImage = false;
    bool m_hover = false;
    bool m_pushed = false;
    bool m_shaped = false;
    CSize m_shapeSize{-1, -1};
    std::unique_ptr<ButtonTextParam_t> m_textParam;
    // Cleared when the object dies: a message handler that let the system
    // run (which may end the dialog and this object) looks before going on.
    std::shared_ptr<bool> m_alive;
};
