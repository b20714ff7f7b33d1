#include "ClsSkinnedPopupMenu.h"

#include "CSkin.h"

ClsSkinnedPopupMenu::ClsSkinnedPopupMenu() = default;

ClsSkinnedPopupMenu::~ClsSkinnedPopupMenu() {
    // Before the skin record goes: no window may paint from it afterwards.
    CloseMenu();
}

bool ClsSkinnedPopupMenu::CreateItemsFrom(HMENU menu) {
    // An empty POPUP block loads as a plain item without a sub-menu: the
    // menu then loads with no items, and still counts as loaded.
    if (HMENU first = ::GetSubMenu(menu, 0)) CreateMenuItems(first, &m_root);
    return true;
}

bool ClsSkinnedPopupMenu::TrackPopupMenu(int x, int y, int offset, bool selectFirst) {
    if (GetIsOpen() && !OnMenuThread()) return false;
    CloseMenu();
    HWND receiver = GetCmdReceiverHandle();
    if (!receiver || !::IsWindow(receiver) || m_root.GetCount() == 0) return false;
    if (!m_root.ActivateSubMenuAt(x, y, offset)) return false;
    if (selectFirst)
        if (ClsSkinnedMenuItem* first = m_root.GetNextSelectable(+1)) m_root.SetHoveredItem(first);
    return true;
}

bool ClsSkinnedPopupMenu::ApplySkin(const char* componentName) {
    if (!componentName) return false;
    CSkinRecordRef<S_STD_SKININFO> found(CSkin::GetInstance()->GetComponent(componentName));
    auto* record = dynamic_cast<PopupMenuSkin*>(found.Get());
    if (!record) return false;
    record->AddRef();
    SetSkinInfo(record->GetInfo());
    // The previous record is let go only now that nothing points into it.
    m_skin.Reset(record);
    return true;
}
