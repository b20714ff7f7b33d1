// The main frame's shell: the message panel's banner (which address it
// shows and its timer), the start information, the splitter's place, the
// toolbar's state, the help-tip switch and the requests of the toolbar's
// further buttons.
#include "OrvMainFrame.h"

#include "OrvBrowser.h"
#include "OrvRegisteredMessages.h"
#include "res/OrvResources.h"

#include "CStartInfoDialog.h"
#include "OrvHtmlText.h"

#include "OrvMessagePanelCtrl.h"
#include "OrvSkinReader.h"
#include "OrvToolBarCtrl.h"

#include "AfxTrace.h"

#include <shellapi.h>

#include <cctype>

namespace {

void Trace(const CString& text) { ::OutputDebugStringA("orvane: " + text + "\n"); }

}  // namespace

bool OrvMainFrame::OnShellMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == OrvMessages().changeBanner) {
        OnChangeBanner(wParam, lParam);
        return true;
    }
    if (message == kStartInfoMessage) {
        OnStartInfoMessage();
        return true;
    }
    if (message == kShellStateMessage) {
        UpdateToolbarState();
        return true;
    }
    if (message == kOpenChatMessage) {
        OnOpenChatMessage(wParam, lParam);
        return true;
    }
    if (message == kContactsFlowMessage) {
        OnContactsFlowMessage(wParam);
        return true;
    }
    // Hiding to the tray empties the banner; the window still hides.
    if (message == WM_SHOWWINDOW && !wParam) ShowBanner(0);
    return false;
}

// ---------------------------------------------------------------- banner

void OrvMainFrame::OnChangeBanner(WPARAM, LPARAM stateAndMinimized) {
    if (!IsWindowVisible()) {
        ShowBanner(0);
        return;
    }
    ShowBanner(LOWORD(stateAndMinimized) != WA_INACTIVE ? 1 : 2);
}

void OrvMainFrame::ShowBanner(int address) {
    m_bannerAddress = address;
    if (OrvMessagePanelCtrl* panel = m_skinReader ? m_skinReader->GetMessagePanelCtrl() : nullptr)
        panel->SetURL(address == 1 ? m_panelUrl1 : address == 2 ? m_panelUrl2 : CString());
    // The first tick shows the banner, the later ones reload it.
    m_bannerTicks = 0;
    if (m_hWnd) {
        KillTimer(kBannerTimerId);
        SetTimer(kBannerTimerId, m_bannerIntervalMs);
    }
}

void OrvMainFrame::OnBannerTimer() {
    OrvMessagePanelCtrl* panel = m_skinReader ? m_skinReader->GetMessagePanelCtrl() : nullptr;
    const bool first = m_bannerTicks == 0;
    if (m_bannerTicks < 2) ++m_bannerTicks;  // only "first" and "later" matter
    if (!panel) return;
    if (first)
        panel->SetBannerVisible(1);
    else if (!panel->GetURL().IsEmpty())
        panel->RepeatURL();
}

// ---------------------------------------------------------------- start information

void OrvMainFrame::OnStartInfoMessage() {
    if (!IsWindowVisible() || IsIconic() || m_startInfoOpen) return;
    // Whatever window of the program has the focus comes forward (a dialog
    // over the main window, or the main window itself).
    HWND focused = ::GetFocus();
    HWND top = focused ? ::GetAncestor(focused, GA_ROOT) : nullptr;
    if (!top) top = m_hWnd;
    ::SetForegroundWindow(top);
    ::BringWindowToTop(top);

    const CString path = m_programDirectory + kStartInfoFile;
    CString text;
    if (m_programDirectory.IsEmpty() || !OrvHtmlText::FromFile(path, &text)) return;
    CStartInfoDialog dialog;
    dialog.SetText(text);
    dialog.SetShowAgain(m_registry.GetStatistic());
    if (!dialog.Create(this)) {
        Trace("the start-information box could not be made");
        return;
    }
    m_startInfoOpen = true;
    const int result = RunDialog(dialog);
    m_startInfoOpen = false;
    if (result == COrvSkinnedDialog::kNext) {
        m_registry.SetStatistic(dialog.GetShowAgain());
        UpdateMenuStates();
    }
}

// ---------------------------------------------------------------- splitter

int OrvMainFrame::SplitterPlaceFor(unsigned long saved) const {
    const int fallback = m_skinReader ? m_skinReader->GetSearchCtrlWidth() : 0;
    // A stored value beyond any screen is no position.
    if (saved == 0 || saved > 100000) return fallback;
    return static_cast<int>(saved) < fallback ? fallback : static_cast<int>(saved);
}

void OrvMainFrame::PlaceSplitter() {
    if (!m_skinReader) return;
    m_skinReader->SetSplitterPos(SplitterPlaceFor(m_state.GetSplitterPos()));
}

// ---------------------------------------------------------------- toolbar

bool OrvMainFrame::ToolbarButtonEnabled(int index) {
    if (m_sessionState != ssOnline) return false;
    switch (index) {
    case 0: return m_history.Index() > 0;                  // back
    case 1: return m_history.Index() < m_history.Top();    // forward
    case 2: return true;                                   // home
    case 3: return true;                                   // Add/Remove Contacts
    case 4: {                                              // the map page
        CSingleLock lock(m_lock);
        return !m_mapPageAddress.IsEmpty();
    }
    case 5: return m_chat.IsConnected() != FALSE;          // chat rooms
    case 6: return true;                                   // personal information
    default: return false;
    }
}

void OrvMainFrame::UpdateToolbarState() {
    OrvToolBarCtrl* toolBar = m_skinReader ? m_skinReader->GetToolBarCtrl() : nullptr;
    if (!toolBar) return;
    for (int i = 0; i < OrvToolBarCtrl::kButtonCount; ++i) toolBar->EnableButton(i, ToolbarButtonEnabled(i));
}

void OrvMainFrame::SetMapPageAddress(const CString& address) {
    {
        CSingleLock lock(m_lock);
        m_mapPageAddress = address;
    }
    UpdateToolbarState();
}

// On the navigation worker: talks to the window only by posted messages.
void OrvMainFrame::RunToolbarRequest(const ORVNAVIGATEINFO& request) {
    switch (request.kind) {
    case 5:
        if (m_hWnd) PostMessage(kContactsFlowMessage, 5);
        break;
    case 6: {
        CString map;
        {
            CSingleLock lock(m_lock);
            map = m_mapPageAddress;
        }
        if (!map.IsEmpty()) OrvBrowser::Open(nullptr, map + GetRequestedRoot(), nullptr);
        break;
    }
    case 7:
        if (m_hWnd) PostMessage(kOpenChatMessage, 0, 0);
        break;
    case 8:
        if (m_hWnd) PostMessage(WM_COMMAND, ID_TOOLS_EDIT_PERSONAL_INFO, 0);
        break;
    default:
        break;
    }
}

void OrvMainFrame::OnOpenChatMessage(WPARAM id, LPARAM name) {
    // The strings are the sender's and live only while it waits: never read
    // them from a posted message.
    if (id && name && ::InSendMessage()) {
        OpenChatWith(reinterpret_cast<const char*>(id), reinterpret_cast<const char*>(name));
        return;
    }
    ++m_chatRequests;
    if (!id && !name) {
        Trace("the chat rooms are asked for; they are not in the program yet");
        return;
    }
    Trace("a chat request without its sender's strings is dropped");
}

void OrvMainFrame::OnContactsFlowMessage(WPARAM first) {
    if (first != 5) return;
    ++m_contactsFlowRequests;
    Trace("the Add/Remove Contacts flow is asked for; it is not in the program yet");
}

// ---------------------------------------------------------------- help tips

void OrvMainFrame::ToggleHelpTips() {
    m_helpTips = !m_helpTips;
    if (m_skinReader) {
        m_skinReader->SetToolTipEnabled(m_helpTips);
        m_skinReader->SetToolTipBalloonEnabled(m_helpTips);
    }
    UpdateMenuStates();
}

// ---------------------------------------------------------------- presence

bool OrvMainFrame::IsInPrivateChat() { return m_chat.IsInChat() != FALSE; }

void OrvMainFrame::OpenChatWith(const CString& id, const CString& name) {
    ++m_chatRequests;
    Trace("a private chat with " + id + " (" + name + ") is asked for; private chats are not in the program yet");
}

namespace {

// An address the mail program may be handed: one "@" inside, and only the
// characters addresses are made of, so that nothing else reaches the shell.
bool IsPlainMailAddress(const CString& address) {
    const int at = address.Find('@');
    if (at <= 0 || at == address.GetLength() - 1 || address.Find('@', at + 1) >= 0) return false;
    for (int i = 0; i < address.GetLength(); ++i) {
        const unsigned char c = static_cast<unsigned char>(address[i]);
        if (!(isalnum(c) || c == '.' || c == '-' || c == '_' || c == '+' || c == '@')) return false;
    }
    return true;
}

}  // namespace

void OrvMainFrame::RunContactCommand(int command, const ORVCONTACTINFO& contact) {
    switch (command) {
    case ORVNAVCMD_SEND_EMAIL: {
        if (contact.emailPrivate || !IsPlainMailAddress(contact.email)) break;
        const CString url = "mailto:" + contact.email;
        PostSearchTask([this, url] {
            const HINSTANCE opened = ::ShellExecuteA(m_hWnd, "open", url, nullptr, nullptr, SW_SHOWNORMAL);
            if (reinterpret_cast<INT_PTR>(opened) <= 32) Trace("no mail program opened " + url);
        });
        break;
    }
    case ORVNAVCMD_EDIT_MY_CONTACTS:
        if (m_hWnd) PostMessage(WM_COMMAND, ID_TOOLS_EDIT_MY_CONTACTS, 0);
        break;
    case ORVNAVCMD_EDIT_PERSONAL_INFO:
        if (m_hWnd) PostMessage(WM_COMMAND, ID_TOOLS_EDIT_PERSONAL_INFO, 0);
        break;
    case ORVNAVCMD_CHAT: {
        if (contact.id == GetMemberId()) {
            PostSearchTask([this] { ShowMessage("You can't chat with yourself.", "Chat", MB_OK | MB_ICONINFORMATION); });
        } else if (contact.canChat) {
            const CString id = contact.id, name = contact.firstName + " " + contact.lastName;
            PostSearchTask([this, id, name] { OpenChatWith(id, name); });
        }
        break;
    }
    case ORVNAVCMD_VIEW_MAP: {
        CString map;
        {
            CSingleLock lock(m_lock);
            map = m_mapPageAddress;
        }
        if (!map.IsEmpty()) OrvBrowser::Open(nullptr, map + contact.id, nullptr);
        break;
    }
    default:
        break;
    }
}
