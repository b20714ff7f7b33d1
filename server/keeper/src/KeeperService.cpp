#include "KeeperService.h"

#include <poll.h>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace keeper {

namespace {

RoomKeeper::Settings KeeperSettings(const KeeperOptions& options) {
    RoomKeeper::Settings settings;
    settings.serverName = options.serverName;
    settings.nick = options.nick;
    settings.maxRooms = options.maxRooms;
    settings.maxRoomsPerMember = options.maxRoomsPerMember;
    return settings;
}

LinkSession::Settings SessionSettings(const KeeperOptions& options) {
    LinkSession::Settings settings;
    settings.serverName = options.serverName;
    settings.peerName = options.peerName;
    settings.sendPassword = options.keeperPassword;
    settings.expectPassword = options.serverPassword;
    return settings;
}

}  // namespace

constexpr std::chrono::milliseconds KeeperService::RetryFirst;
constexpr std::chrono::milliseconds KeeperService::RetryMost;
constexpr std::chrono::seconds KeeperService::QuietBeforePing;
constexpr std::chrono::seconds KeeperService::BurstAtMost;

KeeperService::KeeperService(const KeeperOptions& options)
    : m_options(options),
      m_keeper(KeeperSettings(options), [this](const std::string& line) {
          if (!m_link.Send(line)) m_outputFailed = true;
      }),
      m_session(SessionSettings(options), m_keeper, [this](const std::string& line) {
          if (!m_link.Send(line)) m_outputFailed = true;
      }) {
    if (!options.stateFile.empty()) {
        m_store = std::make_unique<RoomStore>(options.stateFile);
        m_keeper.AdoptRooms(m_store->Load());
        m_savedVersion = m_keeper.RoomsVersion();
    }
}

void KeeperService::Log(const std::string& text) const {
    std::fprintf(stderr, "orvane-keeper: %s\n", text.c_str());
    std::fflush(stderr);
}

void KeeperService::TryLink() {
    std::string error;
    if (!m_link.Connect(m_options.chatHost, m_options.chatPort, 5000, error)) {
        m_nextTry = Clock::now() + m_retry;
        m_retry = std::min(RetryMost, m_retry * 2);
        return;
    }
    Log("linked to " + m_options.chatHost + ":" + std::to_string(m_options.chatPort));
    m_outputFailed = false;
    m_lastData = m_linkedAt = Clock::now();
    m_pinged = false;
    m_session.Start();
}

void KeeperService::DropLink(const std::string& why) {
    Log("link dropped: " + why);
    m_link.Close();
    m_session.Stop();
    m_retry = RetryFirst;
    m_nextTry = Clock::now() + m_retry;
}

void KeeperService::Service(short events) {
    if (events & (POLLIN | POLLHUP | POLLERR)) {
        std::vector<std::string> lines;
        const bool open = m_link.Read(lines);
        if (!lines.empty()) {
            m_lastData = Clock::now();
            m_pinged = false;
        }
        for (const std::string& line : lines) {
            if (!m_session.HandleLine(line)) {
                m_link.Flush();
                DropLink("refused by the chat server or not the chat server: " + line.substr(0, 200));
                return;
            }
        }
        if (!open) {
            DropLink("closed by the chat server");
            return;
        }
    }
    if (m_outputFailed) {
        DropLink("the chat server does not take our lines");
        return;
    }
    if (!m_link.Flush()) DropLink("write failed");
}

void KeeperService::SaveRooms() {
    if (!m_store || m_keeper.RoomsVersion() == m_savedVersion) return;
    std::string error;
    if (m_store->Save(m_keeper.Rooms(), error)) {
        m_savedVersion = m_keeper.RoomsVersion();
    } else {
        Log(error);
    }
}

int KeeperService::Run(const std::atomic<bool>& stop) {
    m_nextTry = Clock::now();
    while (!stop) {
        const Clock::time_point now = Clock::now();
        m_keeper.Tick(now);
        if (!m_link.IsOpen()) {
            if (now >= m_nextTry) TryLink();
        } else {
            if (!m_session.IsBurstDone() && m_session.IsRegistered() && now - m_linkedAt > BurstAtMost)
                m_session.FinishBurst();
            if (now - m_lastData > QuietBeforePing && !m_pinged) {
                m_session.Ping();
                m_pinged = true;
            } else if (now - m_lastData > 2 * QuietBeforePing) {
                DropLink("the chat server stopped answering");
            }
        }
        SaveRooms();
        if (!m_link.IsOpen()) {
            ::poll(nullptr, 0, 100);
            continue;
        }
        pollfd p{m_link.Fd(), static_cast<short>(POLLIN | (m_link.HasPendingOutput() ? POLLOUT : 0)), 0};
        const int ready = ::poll(&p, 1, 250);
        if (ready > 0) {
            Service(p.revents);
        } else if (m_link.HasPendingOutput() || m_outputFailed) {
            Service(0);
        }
    }
    if (m_link.IsOpen()) {
        m_link.Send("ERROR :Keeper stopping");
        m_link.Flush();
    }
    SaveRooms();
    return 0;
}

}  // namespace keeper
