// orvane-chat-auth ADDRESS_FILE: the chat server's PAM helper (see
// ChatAuthCheck.h). Exit code 0 lets the client in; every other code keeps
// it out. It prints nothing: PAM runs it quietly.
#include "ChatAuthCheck.h"

#include <cstdlib>
#include <iostream>
#include <iterator>
#include <string>

int main(int argc, char** argv) {
    if (argc != 2) return 2;
    const char* user = std::getenv("PAM_USER");
    const std::string memberId = keeper::ChatAuthCheck::MemberIdOfUser(user ? user : "");
    // More than a credential and its end is not one.
    std::string input;
    char c;
    while (input.size() <= keeper::ChatAuthCheck::MaxCredential + 2 && std::cin.get(c)) input += c;
    const std::string credential = keeper::ChatAuthCheck::CredentialOf(input);
    if (memberId.empty() || credential.empty()) return 1;
    std::string host;
    int port = 0;
    if (!keeper::ChatAuthCheck::ReadServerAddress(argv[1], host, port)) return 3;
    return keeper::ChatAuthCheck::AskServer(host, port, memberId, credential) ? 0 : 1;
}
