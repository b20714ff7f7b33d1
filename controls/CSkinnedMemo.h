#pragma once
// The multi-line counterpart of the skinned edit: the same frame, colours,
// font, callback and contact drops, with a vertical scroll bar inside the
// frame. Enter starts a new line; Tab moves on to the next control in
// dialogs instead of writing a tab.
#include "CSkinnedEdit.h"

class CTL_API CSkinnedMemo : public CSkinnedEdit {
public:
    CSkinnedMemo();
    // Makes the window at once.
    CSkinnedMemo(CWnd* parent, UINT id, EditSkinInfo_t* skin = nullptr);
    ~CSkinnedMemo() override;

    const char* GetRuntimeClassName() const override;

protected:
    DWORD WindowStyle() const override;
    bool ForwardsEnter() const override { return false; }
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
};
