#include "OrvSessions.h"

#include <sodium.h>

#include <algorithm>

namespace orv {

OrvSessions::OrvSessions(int64_t idleSeconds) : idleSeconds_(idleSeconds) {}

std::string OrvSessions::open(uint32_t member, int64_t now) {
    unsigned char raw[16];
    randombytes_buf(raw, sizeof raw);
    static const char hex[] = "0123456789abcdef";
    std::string id;
    for (unsigned char b : raw) {
        id += hex[b >> 4];
        id += hex[b & 15];
    }
    std::lock_guard lock(mutex_);
    sweepLocked(now);
    Session s;
    s.member = member;
    s.lastSeen = now;
    sessions_[id] = std::move(s);
    byMember_[member].insert(id);
    return id;
}

std::optional<uint32_t> OrvSessions::touch(const std::string& session, int64_t now) {
    std::lock_guard lock(mutex_);
    sweepLocked(now);
    auto it = sessions_.find(session);
    if (it == sessions_.end()) return std::nullopt;
    if (now - it->second.lastSeen > idleSeconds_) {
        eraseLocked(session);
        return std::nullopt;
    }
    it->second.lastSeen = now;
    return it->second.member;
}

std::optional<uint32_t> OrvSessions::peek(const std::string& session, int64_t now) const {
    std::lock_guard lock(mutex_);
    auto it = sessions_.find(session);
    if (it == sessions_.end() || now - it->second.lastSeen > idleSeconds_) return std::nullopt;
    return it->second.member;
}

bool OrvSessions::close(const std::string& session) {
    std::lock_guard lock(mutex_);
    if (!sessions_.count(session)) return false;
    eraseLocked(session);
    return true;
}

void OrvSessions::closeMember(uint32_t member) {
    std::lock_guard lock(mutex_);
    auto it = byMember_.find(member);
    if (it == byMember_.end()) return;
    auto ids = it->second;
    for (const auto& id : ids) eraseLocked(id);
}

size_t OrvSessions::count() const {
    std::lock_guard lock(mutex_);
    return sessions_.size();
}

void OrvSessions::eraseLocked(const std::string& session) {
    auto it = sessions_.find(session);
    if (it == sessions_.end()) return;
    auto m = byMember_.find(it->second.member);
    if (m != byMember_.end()) {
        m->second.erase(session);
        if (m->second.empty()) byMember_.erase(m);
    }
    sessions_.erase(it);
}

void OrvSessions::sweepLocked(int64_t now) {
    if (now - lastSweep_ < 30) return;
    lastSweep_ = now;
    std::vector<std::string> expired;
    for (const auto& kv : sessions_)
        if (now - kv.second.lastSeen > idleSeconds_) expired.push_back(kv.first);
    for (const auto& id : expired) eraseLocked(id);
    for (auto it = failures_.begin(); it != failures_.end();)
        it = now - it->second.last > kFailureWindow ? failures_.erase(it) : std::next(it);
}

void OrvSessions::setPresence(const std::string& session, int status, const std::string& nickname,
                              int64_t now) {
    std::lock_guard lock(mutex_);
    auto it = sessions_.find(session);
    if (it == sessions_.end()) return;
    it->second.presence = status;
    it->second.presenceAt = now;
    if (!nickname.empty()) it->second.nickname = nickname;
}

int OrvSessions::presenceOf(uint32_t member) const {
    std::lock_guard lock(mutex_);
    auto m = byMember_.find(member);
    if (m == byMember_.end()) return -1;
    int presence = -1;
    int64_t at = -1;
    for (const auto& id : m->second) {
        const Session& s = sessions_.at(id);
        if (s.presence >= 0 && s.presenceAt > at) {
            presence = s.presence;
            at = s.presenceAt;
        }
    }
    return presence;
}

void OrvSessions::noticeAll(const std::string& text) {
    std::lock_guard lock(mutex_);
    for (auto& kv : sessions_) kv.second.notices.push_back(text);
}

void OrvSessions::noticeMember(uint32_t member, const std::string& text) {
    std::lock_guard lock(mutex_);
    auto m = byMember_.find(member);
    if (m == byMember_.end()) return;
    for (const auto& id : m->second) sessions_.at(id).notices.push_back(text);
}

std::vector<std::string> OrvSessions::takeNotices(const std::string& session) {
    std::lock_guard lock(mutex_);
    auto it = sessions_.find(session);
    if (it == sessions_.end()) return {};
    std::vector<std::string> out;
    out.swap(it->second.notices);
    return out;
}

int64_t OrvSessions::loginWait(const std::string& email, int64_t now) {
    std::lock_guard lock(mutex_);
    auto it = failures_.find(email);
    if (it == failures_.end()) return 0;
    if (now - it->second.last > kFailureWindow) {
        failures_.erase(it);
        return 0;
    }
    int over = it->second.count - kFreeFailures;
    if (over < 0) return 0;
    int64_t wait = over >= 9 ? kMaxWait : std::min<int64_t>(kMaxWait, int64_t{1} << over);
    int64_t left = it->second.last + wait - now;
    return left > 0 ? left : 0;
}

void OrvSessions::loginFailed(const std::string& email, int64_t now) {
    std::lock_guard lock(mutex_);
    Failures& f = failures_[email];
    if (now - f.last > kFailureWindow) f.count = 0;
    ++f.count;
    f.last = now;
}

void OrvSessions::loginSucceeded(const std::string& email) {
    std::lock_guard lock(mutex_);
    failures_.erase(email);
}

}  // namespace orv
