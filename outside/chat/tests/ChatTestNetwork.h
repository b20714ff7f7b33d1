#pragma once
// The chat's network for the engine's tests under Wine: orvane-server (for
// the members' session ids), and the chat server with its room keeper
// (scripts/ngircd/run-ngircd.sh), each a Linux service on a free loopback
// port with folders of its own, removed again at the end.
#include "TestSupport.h"

#include <memory>
#include <string>

namespace chattest {

struct Account {
    std::string id;
    std::string session;
};

class ChatTestNetwork {
public:
    ChatTestNetwork() = default;
    ~ChatTestNetwork();
    ChatTestNetwork(const ChatTestNetwork&) = delete;
    ChatTestNetwork& operator=(const ChatTestNetwork&) = delete;

    // name keeps the services of parallel networks apart; withKeeper false
    // runs the chat server without its keeper.
    bool Start(const std::string& name, bool withKeeper = true);
    void StopChat();
    int ChatPort() const { return m_chat ? m_chat->Port() : 0; }
    // Signs a member up and logs him in.
    Account SignUp(const std::string& email);
    std::string Logs() const;

private:
    std::string m_name;
    std::string m_dir;  // Unix path
    std::unique_ptr<orvtest::UnixService> m_chat;
    std::unique_ptr<orvtest::UnixService> m_server;
};

}  // namespace chattest
