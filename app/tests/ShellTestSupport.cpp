#include "ShellTestSupport.h"

#include "OrvApp.h"
#include "OrvRegistry.h"
#include "TestSupport.h"

#include "IRCChat.h"

#include <winsock2.h>

namespace shelltest {

std::string ProgramDirectory() {
    char path[1000] = {};
    ::GetModuleFileNameA(nullptr, path, sizeof path - 1);
    return std::string(OrvApp::DirectoryOf(path));
}

RecordingServer::RecordingServer(bool answer) : m_answer(answer) {
    m_thread = std::thread([this] { Serve(); });
}

RecordingServer::~RecordingServer() {
    m_stop = true;
    // Closing the listener ends the accept; held connections close after.
    m_listener.Close();
    if (m_thread.joinable()) m_thread.join();
    std::lock_guard<std::mutex> lock(m_mutex);
    for (SOCKET held : m_held) closesocket(held);
}

int RecordingServer::CountWith(const std::string& text) const {
    std::lock_guard<std::mutex> lock(m_mutex);
    int count = 0;
    for (const std::string& request : m_requests)
        if (request.find(text) != std::string::npos) ++count;
    return count;
}

void RecordingServer::Serve() {
    while (!m_stop) {
        const SOCKET client = accept(m_listener.Socket(), nullptr, nullptr);
        if (client == INVALID_SOCKET) return;
        Handle(client);
    }
}

void RecordingServer::Handle(SOCKET client) {
    // One request per connection is all the channel needs here: headers,
    // then Content-Length bytes of body.
    std::string data;
    char buffer[4096];
    size_t bodyStart = std::string::npos;
    size_t length = 0;
    for (;;) {
        const int got = recv(client, buffer, sizeof buffer, 0);
        if (got <= 0) break;
        data.append(buffer, static_cast<size_t>(got));
        if (data.size() > 1 << 20) break;
        if (bodyStart == std::string::npos) {
            const size_t end = data.find("\r\n\r\n");
            if (end == std::string::npos) continue;
            bodyStart = end + 4;
            std::string lower = data.substr(0, end);
            for (char& c : lower) c = static_cast<char>(::tolower(static_cast<unsigned char>(c)));
            const size_t field = lower.find("content-length:");
            if (field != std::string::npos) length = std::strtoul(lower.c_str() + field + 15, nullptr, 10);
        }
        if (data.size() >= bodyStart + length) break;
    }
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_requests.push_back(data);
    }
    if (!m_answer) {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_held.push_back(client);
        return;
    }
    const std::string body = "{\"code\":\"0\"}";
    const std::string reply = "HTTP/1.1 200 OK\r\nContent-Type: application/json\r\nConnection: close\r\n"
                              "Content-Length: " +
                              std::to_string(body.size()) + "\r\n\r\n" + body;
    send(client, reply.data(), static_cast<int>(reply.size()), 0);
    shutdown(client, SD_SEND);
    closesocket(client);
}

bool OpenFrame(ShellFrame& frame, const std::string& url) {
    OrvRegistry registry;
    registry.SetUrl(url.c_str());
    registry.SetEmail("ann@example.com");
    registry.SetSerkey("secret-pass");
    registry.SetFName("Ann");
    registry.SetLName("Lee");
    registry.Register();
    registry.Logon();
    frame.SetUrl(url.c_str());
    frame.SetProgramDirectory(ProgramDirectory().c_str());
    OrvApp::CreateServices(frame, ProgramDirectory().c_str());
    if (!OrvApp::RegisterMainWindowClass(::GetModuleHandleA(nullptr))) return false;
    if (!OrvApp::CreateMainWindow(frame)) return false;
    return true;
}

void BringOnLine(ShellFrame& frame) {
    frame.LogIn();
    frame.OnChatEvent(ORVCHAT_MAIN_CONNECTED, 0, 0);
}

bool SetClient(CWnd& window, int width, int height) {
    RECT client{};
    RECT outer{};
    window.GetClientRect(&client);
    window.GetWindowRect(&outer);
    // The skinned frame draws its own border: measure it rather than ask
    // the system for a standard one.
    const int extraX = (outer.right - outer.left) - (client.right - client.left);
    const int extraY = (outer.bottom - outer.top) - (client.bottom - client.top);
    window.SetWindowPos(static_cast<HWND>(nullptr), 0, 0, width + extraX, height + extraY,
                        SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    window.GetClientRect(&client);
    return client.right - client.left == width && client.bottom - client.top == height;
}

}  // namespace shelltest
