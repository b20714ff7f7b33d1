#include "ChatTestNetwork.h"

#include <CSocketHandle.h>
#include <CWinsockStartup.h>

#include <windows.h>

#include <fstream>
#include <sstream>
#include <vector>

namespace chattest {

namespace {

std::string ReadWholeFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// The value of "name":"value" in a flat JSON answer.
std::string JsonString(const std::string& json, const std::string& name) {
    const std::string key = "\"" + name + "\":\"";
    const size_t at = json.find(key);
    if (at == std::string::npos) return std::string();
    const size_t start = at + key.size();
    return json.substr(start, json.find('"', start) - start);
}

std::string Post(int port, const std::string& path, const std::string& body) {
    CWinsockStartup winsock;
    CSocketHandle s(socket(AF_INET, SOCK_STREAM, IPPROTO_TCP));
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<u_short>(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (connect(s.Get(), reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) return std::string();
    const std::string request = "POST " + path + " HTTP/1.1\r\nHost: 127.0.0.1\r\nContent-Type: application/json\r\n"
                                "Connection: close\r\nContent-Length: " + std::to_string(body.size()) + "\r\n\r\n" + body;
    send(s.Get(), request.data(), static_cast<int>(request.size()), 0);
    std::string answer;
    char chunk[4096];
    int got;
    while ((got = recv(s.Get(), chunk, sizeof chunk, 0)) > 0) answer.append(chunk, got);
    const size_t bodyAt = answer.find("\r\n\r\n");
    return bodyAt == std::string::npos ? std::string() : answer.substr(bodyAt + 4);
}

}  // namespace

ChatTestNetwork::~ChatTestNetwork() {
    if (m_chat) m_chat->Stop();
    if (m_server) m_server->Stop();
    if (!m_dir.empty() && m_dir.find("/chatnet-") != std::string::npos) orvtest::LaunchUnix("/bin/rm -rf " + m_dir);
}

bool ChatTestNetwork::Start(const std::string& name, bool withKeeper) {
    m_name = name + "-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(GetTickCount());
    m_dir = orvtest::Env("ORV_SERVICE_DIR") + "/chatnet-" + m_name;
    CreateDirectoryA(orvtest::WinePath(m_dir).c_str(), nullptr);
    std::vector<std::string> chat = {"/bin/bash", orvtest::Env("ORV_SOURCE_DIR") + "/scripts/ngircd/run-ngircd.sh",
                                     "@PORT@", m_dir + "/chat", orvtest::Env("ORV_HOST_BUILD_DIR") + "/server/keeper"};
    if (!withKeeper) chat.push_back("--no-keeper");
    m_chat = std::make_unique<orvtest::UnixService>("chat-" + m_name, chat);
    if (!m_chat->Start()) return false;
    m_server = std::make_unique<orvtest::UnixService>(
        "server-" + m_name,
        std::vector<std::string>{orvtest::Env("ORV_HOST_BUILD_DIR") + "/server/orvane-server", "--port", "@PORT@",
                                 "--data", m_dir + "/data", "--password-strength", "min", "--password-resend-seconds",
                                 "0", "--chat-port", std::to_string(m_chat->Port())});
    if (!m_server->Start()) return false;
    // The chat server's PAM helper finds the server here (it must be able
    // to read it: it runs as "nobody").
    const std::string address = orvtest::WinePath(m_dir + "/chat/auth-server");
    std::ofstream(address, std::ios::binary) << "127.0.0.1:" << m_server->Port() << "\n";
    return true;
}

void ChatTestNetwork::StopChat() {
    if (m_chat) m_chat->Stop();
}

Account ChatTestNetwork::SignUp(const std::string& email) {
    Account account;
    const int port = m_server->Port();
    Post(port, "/api/v1/verify-user", "{\"email\":\"" + email + "\"}");
    Post(port, "/api/v1/add-user",
         "{\"firstName\":\"Chat\",\"lastName\":\"Tester\",\"email\":\"" + email +
             "\",\"occupation\":\"Tester\",\"hiddenEmail\":\"0\",\"hiddenChat\":\"0\",\"contacts\":\"\"}");
    // The password stands alone on a line indented by four blanks, in the
    // server's outbox.
    std::string password;
    const std::string outbox = orvtest::WinePath(m_dir + "/data/outbox");
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((outbox + "\\*.eml").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::string mail = ReadWholeFile(outbox + "\\" + found.cFileName);
            if (mail.find("To: " + email + "\r\n") == std::string::npos) continue;
            const size_t at = mail.find("\r\n    ");
            if (at != std::string::npos) password = mail.substr(at + 6, mail.find("\r\n", at + 6) - at - 6);
        } while (FindNextFileA(search, &found));
        FindClose(search);
    }
    const std::string login = Post(port, "/api/v1/check-user",
                                   "{\"email\":\"" + email + "\",\"password\":\"" + password +
                                       "\",\"clientKind\":\"1\",\"version\":\"1.0\"}");
    account.id = JsonString(login, "memberId");
    account.session = JsonString(login, "sessionId");
    return account;
}

std::string ChatTestNetwork::Logs() const {
    std::string logs;
    if (m_chat) logs += "--- chat server\n" + m_chat->Log();
    if (m_server) logs += "--- orvane-server\n" + m_server->Log();
    return logs;
}

}  // namespace chattest
