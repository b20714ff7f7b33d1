#pragma once
// The keeper's main loop: keeps the link to the chat server up (again and
// again when the chat server restarts), feeds its lines to the protocol,
// checks the link with PINGs and saves the rooms when they change.
#include "KeeperOptions.h"
#include "LinkSession.h"
#include "RoomKeeper.h"
#include "RoomStore.h"
#include "ServerLink.h"

#include <atomic>
#include <chrono>
#include <memory>

namespace keeper {

class KeeperService {
public:
    explicit KeeperService(const KeeperOptions& options);

    // Runs until stop is set; returns the exit code.
    int Run(const std::atomic<bool>& stop);

    // Timings of the link.
    static constexpr std::chrono::milliseconds RetryFirst{200};
    static constexpr std::chrono::milliseconds RetryMost{5000};
    static constexpr std::chrono::seconds QuietBeforePing{60};
    static constexpr std::chrono::seconds BurstAtMost{5};

private:
    using Clock = std::chrono::steady_clock;

    void Log(const std::string& text) const;
    void TryLink();
    void DropLink(const std::string& why);
    void Service(short events);
    void SaveRooms();

    KeeperOptions m_options;
    ServerLink m_link;
    RoomKeeper m_keeper;
    LinkSession m_session;
    std::unique_ptr<RoomStore> m_store;
    unsigned long m_savedVersion = 0;

    bool m_outputFailed = false;
    std::chrono::milliseconds m_retry = RetryFirst;
    Clock::time_point m_nextTry;
    Clock::time_point m_lastData;
    Clock::time_point m_linkedAt;
    bool m_pinged = false;
};

}  // namespace keeper
