#pragma once
// The server-to-server protocol of the keeper's link to the chat server
// (RFC 2813 with the chat server's extended handshake): PASS and SERVER both
// ways, the end-of-MOTD exchange, PING and PONG. Once the link is
// registered every other line goes to the RoomKeeper; the first PING after
// the burst tells it the burst is complete.
#include "RoomKeeper.h"

#include <functional>
#include <string>

namespace keeper {

class LinkSession {
public:
    using Sink = std::function<void(const std::string& line)>;

    struct Settings {
        std::string serverName = "keeper.orvane.local";
        std::string peerName = "chat.orvane.local";
        std::string sendPassword;    // what the chat server expects of us
        std::string expectPassword;  // what it must present to us
    };

    LinkSession(Settings settings, RoomKeeper& keeper, Sink sink);

    // The socket is connected: introduce ourselves.
    void Start();
    // False when the link must be dropped (wrong peer, wrong password, ERROR).
    bool HandleLine(const std::string& text);
    // The link is gone.
    void Stop();

    bool IsRegistered() const { return m_registered; }
    bool IsBurstDone() const { return m_burstDone; }
    // The burst ends without a PING after all: called by the owner's timer.
    void FinishBurst();
    // Asks the chat server for a sign of life.
    void Ping();

private:
    Settings m_settings;
    RoomKeeper& m_keeper;
    Sink m_sink;
    bool m_gotPass = false;
    bool m_gotServer = false;
    bool m_registered = false;
    bool m_burstDone = false;
};

}  // namespace keeper
