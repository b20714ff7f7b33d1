#pragma once
// The chat's network for one test: orvane-server, the chat server (ngircd
// through scripts/ngircd/run-ngircd.sh, with PAM) and the room keeper, each
// on free loopback ports with its own folder; members signed up at the
// real server to get their session ids.
#include "ChildProcess.h"

#include <string>

class ChatNetwork {
public:
    struct Member {
        std::string id;
        std::string email;
        std::string session;
        std::string Identity() const { return "O" + id; }
        std::string Away() const { return "R" + id; }
    };

    ChatNetwork();
    ~ChatNetwork();
    ChatNetwork(const ChatNetwork&) = delete;
    ChatNetwork& operator=(const ChatNetwork&) = delete;

    // Everything: the server, the chat server and its keeper.
    bool Start();
    bool StartServer();
    // withKeeper false: the chat server alone (StartKeeper runs it apart).
    bool StartChat(bool withKeeper);
    void StopChat();
    bool StartKeeper(const std::string& stateFile);
    void StopKeeper();

    Member SignUp(const std::string& email);
    int ChatPort() const { return m_chatPort; }
    const std::string& Dir() const { return m_dir; }
    std::string ChatDir() const { return m_dir + "/chat"; }
    std::string Logs();

    static int FreePort();
    static bool WaitForPort(int port);

private:
    void WriteAuthAddress();

    std::string m_dir;
    int m_serverPort = 0;
    int m_chatPort = 0;
    int m_members = 0;
    ChildProcess m_server;
    ChildProcess m_chat;
    ChildProcess m_keeper;
};
