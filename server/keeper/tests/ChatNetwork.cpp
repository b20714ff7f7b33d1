#include "ChatNetwork.h"

#include <httplib.h>
#include <nlohmann/json.hpp>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

namespace {

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

}  // namespace

ChatNetwork::ChatNetwork() {
    std::string pattern = (std::filesystem::temp_directory_path() / "orvchat-XXXXXX").string();
    m_dir = ::mkdtemp(pattern.data()) ? pattern : std::string();
    // The chat server's PAM helper runs as "nobody" and must reach its folder.
    std::filesystem::permissions(m_dir, std::filesystem::perms::owner_all | std::filesystem::perms::group_exec |
                                             std::filesystem::perms::others_exec);
}

ChatNetwork::~ChatNetwork() {
    m_keeper.Stop();
    m_chat.Stop();
    m_server.Stop();
    std::error_code ignored;
    if (!m_dir.empty()) std::filesystem::remove_all(m_dir, ignored);
}

int ChatNetwork::FreePort() {
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address);
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length);
    ::close(fd);
    return ntohs(address.sin_port);
}

bool ChatNetwork::WaitForPort(int port) {
    for (int i = 0; i < 400; ++i) {
        const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_port = htons(static_cast<uint16_t>(port));
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        const bool open = ::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
        ::close(fd);
        if (open) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return false;
}

bool ChatNetwork::Start() { return StartServer() && StartChat(true); }

bool ChatNetwork::StartServer() {
    if (!m_chatPort) m_chatPort = FreePort();
    m_serverPort = FreePort();
    const std::vector<std::string> command = {
        ORV_SERVER_BINARY, "--port", std::to_string(m_serverPort), "--data", m_dir + "/data",
        "--password-strength", "min", "--password-resend-seconds", "0", "--threads", "8",
        "--chat-port", std::to_string(m_chatPort)};
    if (!m_server.Start(command, m_dir + "/server.log") || !WaitForPort(m_serverPort)) return false;
    WriteAuthAddress();
    return true;
}

void ChatNetwork::WriteAuthAddress() {
    // The chat server's PAM helper (running as "nobody") finds the server here.
    std::filesystem::create_directories(ChatDir());
    const std::string path = ChatDir() + "/auth-server";
    std::ofstream(path) << "127.0.0.1:" << m_serverPort << "\n";
    using std::filesystem::perms;
    std::filesystem::permissions(path, perms::owner_read | perms::owner_write | perms::group_read | perms::others_read);
}

bool ChatNetwork::StartChat(bool withKeeper) {
    if (!m_chatPort) m_chatPort = FreePort();
    std::filesystem::create_directories(ChatDir());
    std::vector<std::string> command = {"/bin/bash", std::string(ORV_SOURCE_DIR) + "/scripts/ngircd/run-ngircd.sh",
                                        std::to_string(m_chatPort), ChatDir(), ORV_KEEPER_BIN_DIR};
    if (!withKeeper) command.push_back("--no-keeper");
    return m_chat.Start(command, m_dir + "/chat.log") && WaitForPort(m_chatPort);
}

void ChatNetwork::StopChat() { m_chat.Stop(); }

bool ChatNetwork::StartKeeper(const std::string& stateFile) {
    return m_keeper.Start({std::string(ORV_KEEPER_BIN_DIR) + "/orvane-keeper", "--chat-port",
                           std::to_string(m_chatPort), "--link-file", ChatDir() + "/keeper.link", "--state", stateFile},
                          m_dir + "/keeper.log");
}

void ChatNetwork::StopKeeper() { m_keeper.Stop(); }

ChatNetwork::Member ChatNetwork::SignUp(const std::string& email) {
    Member member;
    member.email = email;
    httplib::Client client("127.0.0.1", m_serverPort);
    auto call = [&](const std::string& name, const nlohmann::json& body) {
        auto answer = client.Post(("/api/v1/" + name).c_str(), body.dump(), "application/json");
        return answer ? nlohmann::json::parse(answer->body, nullptr, false) : nlohmann::json();
    };
    call("verify-user", {{"email", email}});
    const std::string first = "Member" + std::to_string(++m_members);
    call("add-user", {{"firstName", first}, {"lastName", "Test"}, {"email", email}, {"occupation", "Tester"},
                      {"hiddenEmail", "0"}, {"hiddenChat", "0"}, {"contacts", ""}});
    std::string password;
    for (const auto& entry : std::filesystem::directory_iterator(m_dir + "/data/outbox")) {
        const std::string mail = ReadFile(entry.path().string());
        if (mail.find("To: " + email + "\r\n") == std::string::npos) continue;
        // The password stands alone on a line indented by four blanks.
        const size_t at = mail.find("\r\n    ");
        if (at == std::string::npos) continue;
        password = mail.substr(at + 6, mail.find("\r\n", at + 6) - at - 6);
    }
    const auto login = call("check-user", {{"email", email}, {"password", password}, {"clientKind", "1"},
                                           {"version", "1.0"}});
    if (login.is_object() && login.value("code", "") == "0") {
        member.id = login.value("memberId", "");
        member.session = login.value("sessionId", "");
    }
    return member;
}

std::string ChatNetwork::Logs() {
    return "--- server\n" + m_server.Log() + "--- chat\n" + m_chat.Log() + "--- keeper\n" + m_keeper.Log();
}
