#include "COrvChat.h"

#include "ChatSession.h"
#include "IrcConnection.h"

#include <winsock2.h>

namespace {

const char kWindowClass[] = "OrvChatEngineWindow";
const UINT kLinesMessage = WM_APP + 1;
// Time the QUIT gets to leave before the socket closes.
const DWORD kQuitGraceMs = 500;

HINSTANCE ThisModule() {
    HMODULE module = nullptr;
    GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCSTR>(&ThisModule), &module);
    return module;
}

class WinsockUse {
public:
    WinsockUse() { m_ok = WSAStartup(MAKEWORD(2, 2), &m_data) == 0; }
    ~WinsockUse() {
        if (m_ok) WSACleanup();
    }
    WinsockUse(const WinsockUse&) = delete;
    WinsockUse& operator=(const WinsockUse&) = delete;

private:
    WSADATA m_data{};
    bool m_ok = false;
};

// The hidden message-only window through which the socket thread wakes the
// engine's own thread.
class NotifyWindow {
public:
    explicit NotifyWindow(COrvChat::Impl* owner);
    ~NotifyWindow() {
        if (m_hwnd) DestroyWindow(m_hwnd);
    }
    NotifyWindow(const NotifyWindow&) = delete;
    NotifyWindow& operator=(const NotifyWindow&) = delete;
    HWND Handle() const { return m_hwnd; }

private:
    static LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    HWND m_hwnd = nullptr;
};

}  // namespace

class COrvChat::Impl {
public:
    explicit Impl(IIRCOrvMain* main)
        : window(this),
          connection(window.Handle(), kLinesMessage),
          session(main, [this](const std::string& line, bool urgent) { connection.Send(line, urgent); }) {}

    // Takes every line the socket thread has queued.
    void Drain() {
        // A callback that pumps messages (a message box) must not handle
        // later lines before the current one is done.
        if (draining) return;
        struct Guard {
            bool& flag;
            explicit Guard(bool& f) : flag(f) { flag = true; }
            ~Guard() { flag = false; }
        } guard(draining);
        std::string line;
        bool lost = false;
        while (connection.IsOpen() && connection.Receive(line, lost)) {
            if (!session.HandleLine(line)) {
                lost = true;
                break;
            }
        }
        if (lost && connection.IsOpen()) {
            connection.Close(0);
            session.End(true);
        }
    }

    WinsockUse winsock;
    NotifyWindow window;
    IrcConnection connection;
    ChatSession session;
    bool draining = false;
    int delayMs = 500;
    int pingSeconds = 60;
};

namespace {

NotifyWindow::NotifyWindow(COrvChat::Impl* owner) {
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = &NotifyWindow::Proc;
    wc.hInstance = ThisModule();
    wc.lpszClassName = kWindowClass;
    RegisterClassExA(&wc);  // fails harmlessly when already registered
    m_hwnd = CreateWindowExA(0, kWindowClass, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, owner);
}

LRESULT CALLBACK NotifyWindow::Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    } else if (message == kLinesMessage) {
        if (auto* impl = reinterpret_cast<COrvChat::Impl*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA))) {
            // Nothing may unwind through the system's code.
            try {
                impl->Drain();
            } catch (...) {
            }
        }
        return 0;
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

}  // namespace

COrvChat::COrvChat(IIRCOrvMain* main) : m_impl(new Impl(main)) {}

COrvChat::~COrvChat() {
    m_impl->connection.Close(0);
}

const char* COrvChat::GetRuntimeClassName() const { return "COrvChat"; }

void COrvChat::SetDelay(int delayMs) { m_impl->delayMs = delayMs < 0 ? 0 : delayMs; }

void COrvChat::SetIRCPingRate(int seconds) { m_impl->pingSeconds = seconds < 1 ? 1 : seconds; }

CString COrvChat::GetIdentity() {
    return m_impl->session.IsRegistered() ? CString(m_impl->session.Nick().c_str()) : CString();
}

int COrvChat::Connect(const char* host, int port) {
    if (m_impl->connection.IsOpen()) Disconnect();
    if (!m_impl->window.Handle()) return 1;
    if (!m_impl->connection.Open(host, port, m_impl->delayMs, m_impl->pingSeconds)) return 1;
    m_impl->session.Begin();
    return 0;
}

BOOL COrvChat::IsInChat() { return m_impl->session.IsInChat() ? TRUE : FALSE; }

void COrvChat::Disconnect() {
    if (!m_impl->connection.IsOpen()) return;
    m_impl->connection.Send("QUIT :Orvane", true);
    m_impl->connection.Close(kQuitGraceMs);
    m_impl->session.End(false);
}

BOOL COrvChat::IsConnected() {
    return m_impl->connection.IsOpen() && m_impl->session.IsRegistered() ? TRUE : FALSE;
}

IIRCChatClient* COrvChat::FindClient(const char* identity) { return m_impl->session.FindClient(identity); }

void COrvChat::NotifyClients(int code) { m_impl->session.NotifyClients(code); }

void COrvChat::AddClient(IIRCChatClient* client) { m_impl->session.AddClient(client); }

void COrvChat::RemoveClient(IIRCChatClient* client) { m_impl->session.RemoveClient(client); }

int COrvChat::GetClientCount() { return m_impl->session.ClientCount(); }

int COrvChat::Command(int code, IIRCCmdCallBack* callback, const void* target, int) {
    if (!IsConnected()) return 1;
    return m_impl->session.Command(code, callback, target);
}

int COrvChat::CancelCommand(int code, IIRCCmdCallBack* callback) {
    return m_impl->session.CancelCommand(code, callback);
}

int COrvChat::Notify(int code, const char* target, INT_PTR parameter) {
    if (!IsConnected()) return 1;
    return m_impl->session.Notify(code, target, parameter);
}

int COrvChat::SendText(const char* target, const char* line, BOOL isRoom, char color) {
    if (!IsConnected()) return 1;
    return m_impl->session.SendText(target, line, isRoom != FALSE, color);
}
