#pragma once
// A link label: a skinned label drawn italic, underlined and blue, that the
// host hit-tests to act on a click (and to show the hand cursor).
#include "CSkinnedLabel.h"

class CTL_API CActiveSkinnedLabel : public CSkinnedLabel {
public:
    enum : COLORREF { kLinkColor = 0xFF0000 };  // blue, red in the low byte

    explicit CActiveSkinnedLabel(const char* text = nullptr);
    ~CActiveSkinnedLabel() override;

    void Draw(HDC dc) override;
    // True inside the record's rectangle (left and top inclusive, right and
    // bottom exclusive), in the host's coordinates.
    bool HitTest(int x, int y) const;
};
