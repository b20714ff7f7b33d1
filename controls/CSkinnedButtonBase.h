#pragma once
// What the skinned push button and radio button share: the hovered and
// pushed flags, drawing the band of the current state from the record's
// image (with the dotted focus rectangle), painting, and moving to the
// record's place.
#include "ButtonSkinInfo.h"
#include "ControlsExport.h"

#include "CButton.h"

#include <windows.h>

class CTL_API CSkinnedButtonBase : public CButton {
public:
    ~CSkinnedButtonBase() override;

    bool GetHovered() const { return m_hovered; }
    bool GetPushed() const { return m_pushed; }
    // The band of the image the button shows now.
    virtual int GetBand() const = 0;

    // Draws the button now into dc, or into its own window when null.
    void RePaint(CDC* dc = nullptr);
    // Moves the window to the record's place (no z-order change, old bits
    // not copied), through batch when one is given; returns the batch.
    HDWP SetPos(HDWP batch);
    void DrawItem(LPDRAWITEMSTRUCT item) override;

protected:
    // focusInset: how far inside the edge the focus rectangle is drawn.
    explicit CSkinnedButtonBase(int focusInset);

    // The derived button's record (null: none yet).
    virtual const SkinnedButtonRecord_t* GetRecord() const = 0;
    // After a new record or a skin change: the new place, drawn at once.
    void ApplyRecord();
    // The painting messages (a skin change, erasing, painting, printing):
    // true with result when message was one of them.
    bool HandlePaintMessage(UINT message, WPARAM wParam, LRESULT& result);
    // Repaints after the default handling of the messages that change how
    // the button looks: focus lost, enabling, state, press, capture and
    // keyboard cues.
    void RepaintAfter(UINT message);

    bool m_hovered = false;
    bool m_pushed = false;

private:
    void Draw(HDC dc, bool focused);

    const int m_focusInset;
};
