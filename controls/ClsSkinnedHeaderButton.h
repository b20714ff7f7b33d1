#pragma once
#include "ClsBitMap.h"
#include "ControlsExport.h"

#include "CRect.h"

#include <cstdint>

// The buttons a skinned header can show, and what its parent acts on.
enum HeaderButton_e : int32_t {
    hbNone = 0,
    hbMinimize = 1,
    hbMaximize = 2,
    hbClose = 3,
    hbRestore = 4,
};

// What lies under a point of a header (ClsSkinnedHeader::GetItemFromPoint).
enum HeaderTestPlaces_e : int32_t {
    htpNowhere = 0,  // outside the header
    htpCaption = 1,
    htpMinimize = 2,
    htpMaximize = 3,
    htpClose = 4,
    htpRestore = 5,
};

// One button of a skinned header: an image of four equal bands (0 normal,
// 1 hovered, 2 pressed, 3 disabled, top to bottom), drawn with magenta
// transparent at its position in the header's image.
class CTL_API ClsSkinnedHeaderButton {
public:
    ClsBitMap& GetImage() { return m_image; }
    const ClsBitMap& GetImage() const { return m_image; }
    int GetWidth() const { return m_image.GetWidth(); }
    // The height of one band.
    int GetHeight() const { return m_image.GetHeight() / 4; }
    const CPoint& GetPos() const { return m_pos; }
    void SetPos(const CPoint& pos) { m_pos = pos; }
    CRect GetRect() const { return CRect(m_pos, CSize(GetWidth(), GetHeight())); }
    bool GetEnabled() const { return m_enabled; }
    void SetEnabled(bool enabled) { m_enabled = enabled; }
    bool GetHovered() const { return m_hovered; }
    void SetHovered(bool hovered) { m_hovered = hovered; }
    bool GetPushed() const { return m_pushed; }
    void SetPushed(bool pushed) { m_pushed = pushed; }
    // 3 disabled, 2 pushed while hovered, 1 hovered, 0 otherwise.
    int GetBand() const;
    void Draw(CDC* dc) const;

private:
    ClsBitMap m_image;
    CPoint m_pos;
    bool m_enabled = true;
    bool m_hovered = false;
    bool m_pushed = false;
};
