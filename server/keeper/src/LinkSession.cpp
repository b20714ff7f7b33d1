#include "LinkSession.h"

#include "IrcLine.h"

namespace keeper {

LinkSession::LinkSession(Settings settings, RoomKeeper& keeper, Sink sink)
    : m_settings(std::move(settings)), m_keeper(keeper), m_sink(std::move(sink)) {}

void LinkSession::Start() {
    m_gotPass = m_gotServer = m_registered = m_burstDone = false;
    // Flags: C = CHANINFO, H = extended handshake, S = SERVICE, X = owner,
    // admin and half-op modes (all parsed); no Z: no compressed link.
    m_sink("PASS " + m_settings.sendPassword + " 0210-IRC+ orvane-keeper|1.0:CHSX P");
    m_sink("SERVER " + m_settings.serverName + " 1 :Orvane room keeper");
}

void LinkSession::Stop() {
    if (m_registered) m_keeper.OnUnlinked();
    m_gotPass = m_gotServer = m_registered = m_burstDone = false;
}

void LinkSession::FinishBurst() {
    if (!m_registered || m_burstDone) return;
    m_burstDone = true;
    m_keeper.OnBurstDone();
}

void LinkSession::Ping() {
    if (m_registered) m_sink(":" + m_settings.serverName + " PING :" + m_settings.serverName);
}

bool LinkSession::HandleLine(const std::string& text) {
    IrcLine line;
    if (!IrcLine::Parse(text, line)) return true;
    const std::string& command = line.command;
    if (command == "ERROR") return false;
    if (command == "PING") {
        m_sink(":" + m_settings.serverName + " PONG " + m_settings.serverName + " :" + line.Param(0));
        FinishBurst();
        return true;
    }
    if (command == "PONG") return true;
    if (!m_registered) {
        if (command == "PASS") {
            if (line.Param(0) != m_settings.expectPassword) return false;
            m_gotPass = true;
        } else if (command == "SERVER") {
            if (!m_gotPass || line.Param(0) != m_settings.peerName) return false;
            m_gotServer = true;
        } else if (command == "376" && m_gotServer) {
            m_sink(":" + m_settings.serverName + " 376 " + m_settings.peerName + " :End of MOTD command");
            m_registered = true;
            m_keeper.OnLinked();
        }
        return true;
    }
    m_keeper.HandleLine(line);
    return true;
}

}  // namespace keeper
