#include "COrvChat.h"

#include "ChatSession.h"
#include "IrcConnection.h"

#include <CMessageWindow.h>
#include <CWinsockStartup.h>

#include <algorithm>
#include <string>

namespace {

const UINT kLinesMessage = WM_APP + 1;
const UINT_PTR kTickTimer = 1;
const UINT kTickMs = 500;
// Time the QUIT gets to leave before the socket closes.
const DWORD kQuitGraceMs = 500;
// Lines handled per message, so that a flood never holds the thread.
const int kLinesPerBatch = 200;

}  // namespace

class COrvChat::Impl {
public:
    explicit Impl(IIRCOrvMain* main)
        : connection([this] { window.Post(kLinesMessage); }), session(main, connection), m_main(main) {
        window.Create([this](UINT message, WPARAM wParam, LPARAM) -> LRESULT {
            if (message == kLinesMessage) Drain();
            if (message == WM_TIMER && wParam == kTickTimer) Tick();
            return 0;
        });
    }

    // Calls from threads other than the creating one would race with the
    // socket thread's wake-ups and run callbacks on the wrong thread.
    bool OnOwnerThread(const char* call) const {
        if (window.IsOwningThread()) return true;
        std::string text = std::string("chat: ") + call + " called from another thread; refused\n";
        OutputDebugStringA(text.c_str());
        return false;
    }

    int Connect(const char* host, int port) {
        if (connection.IsOpen()) Disconnect();
        const std::string memberId = m_main ? m_main->GetMemberId().GetString() : "";
        const std::string identity = ChatSession::IdentityOf(memberId, m_main && m_main->IsAway());
        if (identity.empty()) {
            OutputDebugStringA("chat: Connect refused: the member id cannot form a chat identity\n");
            return 1;
        }
        if (!ChatSession::IsCredentialText(sessionId)) {
            OutputDebugStringA("chat: Connect refused: no usable session id\n");
            return 1;
        }
        if (!window.IsOpen() || !connection.Open(host, port, delayMs, pingSeconds)) return 1;
        const DWORD identityWaitMs = static_cast<DWORD>(std::min(30, std::max(2, pingSeconds))) * 1000;
        session.Begin(identity, sessionId, identityWaitMs);
        window.SetTimer(kTickTimer, kTickMs);
        return 0;
    }

    void Disconnect() {
        if (!connection.IsOpen()) return;
        window.KillTimer(kTickTimer);
        connection.SendLine("QUIT :Orvane", true);
        connection.Close(kQuitGraceMs);
        session.End(false);
    }

    void Lose(int reason) {
        window.KillTimer(kTickTimer);
        connection.Close(0);
        session.End(true, reason);
    }

    // Takes the lines the socket thread has queued, a batch at a time.
    void Drain() {
        // A callback that pumps messages (a message box) must not handle
        // later lines before the current one is done.
        if (draining) return;
        struct Guard {
            bool& flag;
            explicit Guard(bool& f) : flag(f) { flag = true; }
            ~Guard() { flag = false; }
        } guard(draining);
        for (int handled = 0; handled < kLinesPerBatch; ++handled) {
            if (!connection.IsOpen()) return;
            std::string line;
            bool lost = false;
            int reason = 0;
            if (!connection.Receive(line, lost, reason)) {
                if (lost) Lose(session.LostReason() ? session.LostReason() : reason);
                return;
            }
            if (!session.HandleLine(line)) {
                Lose(session.LostReason());
                return;
            }
        }
        // More waiting: the rest after whatever else the thread has to do.
        window.Post(kLinesMessage);
    }

    void Tick() {
        if (connection.IsOpen() && !session.Tick(GetTickCount())) Lose(session.LostReason());
    }

    CWinsockStartup winsock;
    CMessageWindow window;
    IrcConnection connection;
    ChatSession session;
    bool draining = false;
    int delayMs = 500;
    int pingSeconds = 60;
    std::string sessionId;

private:
    IIRCOrvMain* m_main;
};

COrvChat::COrvChat(IIRCOrvMain* main) : m_impl(new Impl(main)) {}

COrvChat::~COrvChat() { m_impl->connection.Close(0); }

const char* COrvChat::GetRuntimeClassName() const { return "COrvChat"; }

void COrvChat::SetDelay(int delayMs) {
    if (m_impl->OnOwnerThread("SetDelay")) m_impl->delayMs = delayMs < 0 ? 0 : delayMs;
}

void COrvChat::SetIRCPingRate(int seconds) {
    if (m_impl->OnOwnerThread("SetIRCPingRate")) m_impl->pingSeconds = seconds < 1 ? 1 : seconds;
}

void COrvChat::SetSessionId(const char* sessionId) {
    if (m_impl->OnOwnerThread("SetSessionId")) m_impl->sessionId = sessionId ? sessionId : "";
}

CString COrvChat::GetIdentity() {
    if (!m_impl->OnOwnerThread("GetIdentity") || !m_impl->session.IsRegistered()) return CString();
    return CString(m_impl->session.Nick().c_str());
}

int COrvChat::Connect(const char* host, int port) {
    if (!m_impl->OnOwnerThread("Connect")) return 1;
    return m_impl->Connect(host, port);
}

BOOL COrvChat::IsInChat() {
    return m_impl->OnOwnerThread("IsInChat") && m_impl->session.IsInChat() ? TRUE : FALSE;
}

void COrvChat::Disconnect() {
    if (m_impl->OnOwnerThread("Disconnect")) m_impl->Disconnect();
}

BOOL COrvChat::IsConnected() {
    if (!m_impl->OnOwnerThread("IsConnected")) return FALSE;
    return m_impl->connection.IsOpen() && m_impl->session.IsRegistered() ? TRUE : FALSE;
}

IIRCChatClient* COrvChat::FindClient(const char* identity) {
    return m_impl->OnOwnerThread("FindClient") ? m_impl->session.FindClient(identity) : nullptr;
}

void COrvChat::NotifyClients(int code) {
    if (m_impl->OnOwnerThread("NotifyClients")) m_impl->session.NotifyClients(code);
}

void COrvChat::AddClient(IIRCChatClient* client) {
    if (m_impl->OnOwnerThread("AddClient")) m_impl->session.AddClient(client);
}

void COrvChat::RemoveClient(IIRCChatClient* client) {
    if (m_impl->OnOwnerThread("RemoveClient")) m_impl->session.RemoveClient(client);
}

int COrvChat::GetClientCount() {
    return m_impl->OnOwnerThread("GetClientCount") ? m_impl->session.ClientCount() : 0;
}

int COrvChat::Command(int code, IIRCCmdCallBack* callback, const void* target, int) {
    if (!m_impl->OnOwnerThread("Command") || !IsConnected()) return 1;
    return m_impl->session.Command(code, callback, target);
}

int COrvChat::CancelCommand(int code, IIRCCmdCallBack* callback) {
    return m_impl->OnOwnerThread("CancelCommand") ? m_impl->session.CancelCommand(code, callback) : 0;
}

int COrvChat::Notify(int code, const char* target, INT_PTR parameter) {
    if (!m_impl->OnOwnerThread("Notify") || !IsConnected()) return 1;
    return m_impl->session.Notify(code, target, parameter);
}

int COrvChat::SendText(const char* target, const char* line, BOOL isRoom, char color) {
    if (!m_impl->OnOwnerThread("SendText") || !IsConnected()) return 1;
    return m_impl->session.SendText(target, line, isRoom != FALSE, color);
}
