// Sessions of logged-in members (128-bit random identifiers with an idle
// expiry), the presence each session reports, queued server notices, and
// the slowing down of repeated failed log-ins per address.
#pragma once

#include <cstdint>
#include <mutex>
#include <optional>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace orv {

class OrvSessions {
public:
    explicit OrvSessions(int64_t idleSeconds);

    std::string open(uint32_t member, int64_t now);
    // The member of a live session, renewing it; nullopt when unknown or expired.
    std::optional<uint32_t> touch(const std::string& session, int64_t now);
    // The member of a live session without renewing it (a check made on the
    // member's behalf by another service is not activity of his).
    std::optional<uint32_t> peek(const std::string& session, int64_t now) const;
    bool close(const std::string& session);
    void closeMember(uint32_t member);
    size_t count() const;

    // status: 0 on line, 1 away, 2 available to friends.
    void setPresence(const std::string& session, int status, const std::string& nickname, int64_t now);
    // The member's presence from his most recently updated live session, -1 for none.
    int presenceOf(uint32_t member) const;

    void noticeAll(const std::string& text);
    void noticeMember(uint32_t member, const std::string& text);
    std::vector<std::string> takeNotices(const std::string& session);

    // Log-in throttling per address: seconds still to wait, 0 when allowed.
    int64_t loginWait(const std::string& email, int64_t now);
    void loginFailed(const std::string& email, int64_t now);
    void loginSucceeded(const std::string& email);

    static constexpr int kFreeFailures = 5;
    static constexpr int64_t kFailureWindow = 15 * 60;
    static constexpr int64_t kMaxWait = 300;

private:
    struct Session {
        uint32_t member = 0;
        int64_t lastSeen = 0;
        int presence = -1;
        int64_t presenceAt = 0;
        std::string nickname;
        std::vector<std::string> notices;
    };
    struct Failures {
        int count = 0;
        int64_t last = 0;
    };
    void sweepLocked(int64_t now);
    void eraseLocked(const std::string& session);

    mutable std::mutex mutex_;
    int64_t idleSeconds_;
    int64_t lastSweep_ = 0;
    std::unordered_map<std::string, Session> sessions_;
    std::unordered_map<uint32_t, std::unordered_set<std::string>> byMember_;
    std::unordered_map<std::string, Failures> failures_;
};

}  // namespace orv
