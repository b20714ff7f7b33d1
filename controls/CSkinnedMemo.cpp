#include "CSkinnedMemo.h"

CSkinnedMemo::CSkinnedMemo() = default;

CSkinnedMemo::CSkinnedMemo(CWnd* parent, UINT id, EditSkinInfo_t* skin) {
    SetSkinInfo(skin);
    Create(parent, id);
}

CSkinnedMemo::~CSkinnedMemo() { DestroyWindow(); }

const char* CSkinnedMemo::GetRuntimeClassName() const { return "CSkinnedMemo"; }

DWORD CSkinnedMemo::WindowStyle() const {
    return WS_VISIBLE | WS_CLIPSIBLINGS | WS_TABSTOP | WS_VSCROLL | ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN;
}

LRESULT CSkinnedMemo::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_GETDLGCODE) {
        LRESULT code = CSkinnedEdit::WindowProc(message, wParam, lParam);
        const MSG* asked = reinterpret_cast<const MSG*>(lParam);
        if (asked && asked->message == WM_KEYDOWN && asked->wParam == VK_TAB) code &= ~(DLGC_WANTALLKEYS | DLGC_WANTTAB);
        return code;
    }
    return CSkinnedEdit::WindowProc(message, wParam, lParam);
}
