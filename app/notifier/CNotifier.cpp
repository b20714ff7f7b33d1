#include "CNotifier.h"

#include "CInvitationWindow.h"
#include "CNoticeWindow.h"
#include "CTrayMenuWindow.h"

#include "IRCChat.h"

namespace {
constexpr UINT kReapMessage = WM_APP + 0x40;
}  // namespace

CNotifier::CNotifier() = default;

CNotifier::~CNotifier() {
    CloseAll();
    m_retired.clear();
    m_reaper.Close();
    if (m_owner && m_owner->IsWindow()) m_owner->DestroyWindow();
}

bool CNotifier::EnsureWindows() {
    if (!m_reaper.IsOpen() && !m_reaper.Create([this](UINT message, WPARAM, LPARAM) -> LRESULT {
            if (message == kReapMessage) m_retired.clear();
            return 0;
        }))
        return false;
    if (!m_owner) {
        auto owner = std::make_unique<CWnd>();
        if (!owner->CreateEx(WS_EX_TOOLWINDOW, nullptr, "Orvane cloud", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr))
            return false;
        m_owner = std::move(owner);
    }
    return true;
}

bool CNotifier::MakeRoom(size_t needed) {
    // Room for what the member must answer is made by dropping the newest
    // waiting notices; invitations are never dropped.
    while (m_queue.size() + needed > kMaxQueue) {
        auto last = m_queue.end();
        for (auto it = m_queue.begin(); it != m_queue.end(); ++it)
            if (it->kind == nkNotice) last = it;
        if (last == m_queue.end()) return false;
        m_queue.erase(last);
    }
    return true;
}

bool CNotifier::AddNotice(const CString& text, POINT point, UINT bitmap) {
    NOTIFYREQUEST request;
    request.text = text;
    request.kind = nkNotice;
    request.param = bitmap;
    request.x = point.x;
    request.y = point.y;
    if (m_queue.size() >= kMaxQueue) {
        ::OutputDebugStringA("notifier: queue full, notice dropped\n");
        return false;
    }
    m_queue.push_back(request);
    ShowNext();
    return true;
}

bool CNotifier::AddInvitation(const CString& identity, const CString& text, const CString& name, POINT point) {
    if (identity.IsEmpty() || HasInvitation(identity)) return false;
    NOTIFYREQUEST request;
    request.text = text;
    request.text2 = name;
    request.identity = identity;
    request.kind = nkInvitation;
    request.x = point.x;
    request.y = point.y;
    // An invitation on show that this one replaces comes back into the
    // queue: room for both.
    const bool displaces = m_showing && m_current.kind == nkInvitation;
    if (!MakeRoom(displaces ? 2 : 1)) {
        ::OutputDebugStringA("notifier: queue full of invitations, invitation refused\n");
        return false;
    }
    m_queue.push_front(request);
    ShowNext(true);
    return true;
}

bool CNotifier::ShowMenu(DWORD param, POINT point) {
    if (m_showing && m_current.kind != nkNotice) return false;
    // A menu that offers nothing is not shown.
    if (((param >> 8) & (miOnline | miFriends | miOffline | miClose | miCloud)) == 0) return false;
    NOTIFYREQUEST request;
    request.kind = nkMenu;
    request.param = param;
    request.x = point.x;
    request.y = point.y;
    if (!MakeRoom(1)) return false;
    m_queue.push_front(request);
    ShowNext(true);
    return true;
}

bool CNotifier::HasInvitation(const CString& identity) const {
    if (m_showing && m_current.kind == nkInvitation && IsEqualID(m_current.identity, identity)) return true;
    for (const NOTIFYREQUEST& request : m_queue)
        if (request.kind == nkInvitation && IsEqualID(request.identity, identity)) return true;
    return false;
}

void CNotifier::RemoveInvitation(const CString& identity) {
    if (m_showing && m_current.kind == nkInvitation && IsEqualID(m_current.identity, identity)) {
        CloseCurrent();
        return;
    }
    for (auto it = m_queue.begin(); it != m_queue.end(); ++it)
        if (it->kind == nkInvitation && IsEqualID(it->identity, identity)) {
            m_queue.erase(it);
            return;
        }
}

void CNotifier::ShowNext(bool replaceShowing) {
    if (m_queue.empty()) return;
    if (m_showing) {
        // A notice waits its turn, and so does an invitation that was
        // displaced before; only a new invitation or menu replaces.
        if (!replaceShowing || m_queue.front().kind == nkNotice) return;
        if (m_current.kind == nkInvitation) {
            // The invitation on show is not lost: it comes back next.
            NOTIFYREQUEST displaced = m_current;
            ClosePopup();
            m_queue.insert(m_queue.begin() + 1, displaced);
        } else {
            ClosePopup();
        }
    }
    if (!EnsureWindows()) {
        ::OutputDebugStringA("notifier: no owner window; requests wait\n");
        return;
    }
    NOTIFYREQUEST next = m_queue.front();
    m_queue.pop_front();
    std::unique_ptr<CNotifyPopup> popup = MakePopup(next);
    m_current = next;
    m_showing = true;
    m_window = std::move(popup);
    if (!m_window->Open(m_owner->GetSafeHwnd())) {
        // Nothing could be shown: an invitation counts as not answered.
        m_showing = false;
        m_retired.push_back(std::move(m_window));
        m_reaper.Post(kReapMessage);
    }
}

std::unique_ptr<CNotifyPopup> CNotifier::MakePopup(const NOTIFYREQUEST& request) {
    switch (request.kind) {
    case nkInvitation: return std::make_unique<CInvitationWindow>(*this, request);
    case nkMenu: return std::make_unique<CTrayMenuWindow>(*this, request);
    default: return std::make_unique<CNoticeWindow>(*this, request);
    }
}

void CNotifier::ClosePopup() {
    if (!m_showing && !m_window) return;
    const int kind = m_current.kind;
    m_showing = false;
    // Out of m_window first: hiding it may report back (a menu that loses
    // the activation), which must find it gone.
    std::unique_ptr<CNotifyPopup> window = std::move(m_window);
    if (window) {
        window->Close();
        m_retired.push_back(std::move(window));
        m_reaper.Post(kReapMessage);
    }
    OnPopupClosed(kind);
}

void CNotifier::CloseCurrent() {
    ClosePopup();
    ShowNext();
}

void CNotifier::CloseAll() {
    m_queue.clear();
    ClosePopup();
}

bool CNotifier::FireTimer(UINT id) {
    if (!m_window || !m_window->IsWindow() || !m_timers.IsRunning(m_window->GetSafeHwnd(), id)) return false;
    m_window->OnTick(id);
    return true;
}

void CNotifier::OnInvitationAnswer(CNotifyPopup* popup, bool accept) {
    if (!popup || popup != m_window.get()) return;
    const NOTIFYREQUEST request = m_current;
    m_answering = popup;
    popup->ShowWindow(SW_HIDE);
    m_timers.StopAll(popup->GetSafeHwnd());
    if (accept)
        OnAcceptInvitation(request.identity, request.text2);
    else
        OnDeclineInvitation(request.identity, request.text2);
    m_answering = nullptr;
    // The handler may have closed it already.
    if (m_window.get() == popup) CloseCurrent();
}

void CNotifier::OnMenuChoice(CNotifyPopup* popup, int value) {
    if (!popup || popup != m_window.get()) return;
    m_answering = popup;
    popup->ShowWindow(SW_HIDE);
    switch (value) {
    case miOnline: OnPresenceOnline(); break;
    case miFriends: OnPresenceFriends(); break;
    case miOffline: OnPresenceAway(); break;
    case miClose: OnCloseProgram(); break;
    case miCloud: OnSwitchCloud(); break;
    default: break;
    }
    m_answering = nullptr;
    if (m_window.get() == popup) CloseCurrent();
}

void CNotifier::OnPopupDone(CNotifyPopup* popup) {
    if (popup && popup == m_window.get() && popup != m_answering) CloseCurrent();
}
