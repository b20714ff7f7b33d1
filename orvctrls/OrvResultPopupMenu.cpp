#include "OrvResultPopupMenu.h"

#include "OrvResultRules.h"

#include "ClsSkinnedMenuItem.h"
#include "OrvLocaleManager.h"

namespace {

CString LocaleText(OrvLocaleManager* locale, const char* key) { return locale ? locale->GetString(key) : CString(); }

// The system menu the items are read from, destroyed (with its popup) at
// the end of the scope.
class SystemMenu {
public:
    SystemMenu() : m_bar(::CreateMenu()), m_popup(::CreatePopupMenu()) {}
    ~SystemMenu() {
        if (m_bar) ::DestroyMenu(m_bar);  // destroys an attached popup too
        if (m_popup && !m_attached) ::DestroyMenu(m_popup);
    }
    SystemMenu(const SystemMenu&) = delete;
    SystemMenu& operator=(const SystemMenu&) = delete;
    bool IsValid() const { return m_bar && m_popup; }
    HMENU Popup() const { return m_popup; }
    HMENU Attach() {
        m_attached = ::AppendMenuA(m_bar, MF_POPUP, reinterpret_cast<UINT_PTR>(m_popup), "") != 0;
        return m_bar;
    }

private:
    HMENU m_bar;
    HMENU m_popup;
    bool m_attached = false;
};

}  // namespace

bool OrvResultPopupMenu::Build(OrvLocaleManager* locale, HWND receiver) {
    SystemMenu menu;
    if (!menu.IsValid()) return false;
    HMENU popup = menu.Popup();
    ::AppendMenuA(popup, MF_STRING, ORVMENU_CHAT, LocaleText(locale, "IDS_SKIN_SUBM_CHAT").GetString());
    ::AppendMenuA(popup, MF_STRING, ORVMENU_SEARCH_PATH, "Search Path");
    ::AppendMenuA(popup, MF_STRING, ORVMENU_VIEW_MAP, "View Orvane Map");
    ::AppendMenuA(popup, MF_SEPARATOR, 0, nullptr);
    ::AppendMenuA(popup, MF_STRING, ORVMENU_ADD_TO_SOURCE,
                  LocaleText(locale, "IDS_SKIN_SUBM_ADDEMAILTOSOURCE").GetString());
    ::AppendMenuA(popup, MF_STRING, ORVMENU_ADD_TO_DESTINATION,
                  LocaleText(locale, "IDS_SKIN_SUBM_ADDEMAILTODESTINATION").GetString());
    if (!CreateItemsFrom(menu.Attach())) return false;
    SetCmdReceiverHandle(receiver);
    return true;
}

void OrvResultPopupMenu::EnableCommand(UINT command, bool enabled) {
    if (ClsSkinnedMenuItem* item = FindItemByCommand(command)) item->SetEnabled(enabled);
}
