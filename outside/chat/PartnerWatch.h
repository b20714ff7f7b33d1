#pragma once
// Watches whether the partners of the private chats are still on the chat
// server. No channel is shared with a private partner, so his QUIT never
// reaches us; instead the engine asks the server (ISON) every IntervalMs for
// both forms of each partner's identity, and a partner who was there and is
// no longer is reported as gone.
#include <windows.h>

#include <deque>
#include <map>
#include <set>
#include <string>
#include <vector>

class PartnerWatch {
public:
    static constexpr DWORD IntervalMs = 2000;
    // Partners asked for in one ISON line.
    static constexpr size_t PartnersPerQuery = 10;

    // The member keys (folded member ids) to watch now; others are
    // forgotten. A key new to the watch starts as present when it is in
    // seen (the partner was heard from before his window was watched).
    void Watch(const std::set<std::string>& memberKeys, const std::set<std::string>& seen);
    // The ISON lines due at now ("ISON O1 R1 O2 R2 ..."); empty when none.
    std::vector<std::string> Poll(DWORD now);
    // One ISON answer (the nicks present, blank-separated): the member keys
    // that were present and are gone now.
    std::vector<std::string> OnReply(const std::string& nicks);
    // The partner showed up (a line from him) or is known to be gone.
    void SetPresent(const std::string& memberKey, bool present);
    void Clear();

private:
    std::map<std::string, int> m_state;  // member key -> -1 unknown, 0 absent, 1 present
    std::deque<std::vector<std::string>> m_asked;  // keys of the ISONs not answered yet
    DWORD m_lastPoll = 0;
    bool m_polled = false;
};
