#include "ChatAuthCheck.h"

#include "ChatNames.h"

#include <httplib.h>
#include <nlohmann/json.hpp>

#include <cstdlib>
#include <fstream>

namespace keeper {

std::string ChatAuthCheck::MemberIdOfUser(const std::string& user) {
    if (user.size() > ChatNames::MaxIdentity) return std::string();
    return ChatNames::MemberIdOf(user);
}

std::string ChatAuthCheck::CredentialOf(const std::string& input) {
    const std::string credential = input.substr(0, input.find_first_of(std::string("\0\r\n", 3)));
    if (credential.empty() || credential.size() > MaxCredential) return std::string();
    for (char c : credential) {
        const unsigned char u = static_cast<unsigned char>(c);
        if (u <= ' ' || u >= 0x7F) return std::string();
    }
    return credential;
}

bool ChatAuthCheck::ReadServerAddress(const std::string& path, std::string& host, int& port) {
    std::ifstream in(path, std::ios::binary);
    std::string line;
    if (!std::getline(in, line)) return false;
    while (!line.empty() && (line.back() == '\r' || line.back() == ' ')) line.pop_back();
    const size_t colon = line.rfind(':');
    if (colon == std::string::npos || colon == 0) return false;
    const std::string digits = line.substr(colon + 1);
    if (digits.empty() || digits.size() > 5 || digits.find_first_not_of("0123456789") != std::string::npos) return false;
    host = line.substr(0, colon);
    port = std::atoi(digits.c_str());
    return port > 0 && port <= 65535;
}

bool ChatAuthCheck::AskServer(const std::string& host, int port, const std::string& memberId,
                              const std::string& credential) {
    httplib::Client client(host, port);
    // The chat server gives up on the whole log-in after its PONG time-out.
    client.set_connection_timeout(3, 0);
    client.set_read_timeout(5, 0);
    client.set_write_timeout(5, 0);
    const nlohmann::json body = {{"id", memberId}, {"credential", credential}};
    const auto answer = client.Post("/api/v1/chat-auth", body.dump(), "application/json");
    if (!answer || answer->status != 200) return false;
    const auto json = nlohmann::json::parse(answer->body, nullptr, false);
    if (!json.is_object()) return false;
    const auto code = json.find("code");
    return code != json.end() && code->is_string() && code->get<std::string>() == "0";
}

}  // namespace keeper
