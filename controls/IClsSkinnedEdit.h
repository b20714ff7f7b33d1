#pragma once
// What the host of a skinned edit hears of it: keys (which it may change
// before the edit sees them) and button releases. Enter never reaches it:
// the edit hands Enter to its parent instead. The base versions do nothing.
#include "ControlsExport.h"

class CSkinnedEdit;

class CTL_API IClsSkinnedEdit {
public:
    // WM_KEYDOWN other than Enter: key and flags (the message's key data)
    // may be changed.
    virtual void OnEditKeyDown(CSkinnedEdit* edit, unsigned* key, long* flags);
    // WM_CHAR other than Enter: the character may be changed.
    virtual void OnEditKeyChar(CSkinnedEdit* edit, unsigned* key);
    // WM_LBUTTONUP at (x, y) of the edit's client area with the MK_* keys.
    virtual void OnEditMouseUp(CSkinnedEdit* edit, int x, int y, unsigned keys);

protected:
    // Never deleted through this interface.
    ~IClsSkinnedEdit() = default;
};
