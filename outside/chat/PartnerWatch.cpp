#include "PartnerWatch.h"

#include <algorithm>

constexpr DWORD PartnerWatch::IntervalMs;
constexpr size_t PartnerWatch::PartnersPerQuery;

namespace {

std::string Fold(const std::string& text) {
    std::string out(text);
    for (char& c : out)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return out;
}

}  // namespace

void PartnerWatch::Watch(const std::set<std::string>& memberKeys, const std::set<std::string>& seen) {
    for (auto it = m_state.begin(); it != m_state.end();)
        it = memberKeys.count(it->first) ? std::next(it) : m_state.erase(it);
    for (const std::string& key : memberKeys) m_state.emplace(key, seen.count(key) ? 1 : -1);
}

std::vector<std::string> PartnerWatch::Poll(DWORD now) {
    std::vector<std::string> lines;
    if (m_state.empty() || (m_polled && now - m_lastPoll < IntervalMs)) return lines;
    // A server that has not answered the last round is not asked again yet.
    if (!m_asked.empty() && now - m_lastPoll < 4 * IntervalMs) return lines;
    m_asked.clear();
    m_lastPoll = now;
    m_polled = true;
    std::vector<std::string> keys;
    std::string line;
    for (const auto& entry : m_state) {
        keys.push_back(entry.first);
        line += " O" + entry.first + " R" + entry.first;
        if (keys.size() == PartnersPerQuery) {
            lines.push_back("ISON" + line);
            m_asked.push_back(keys);
            keys.clear();
            line.clear();
        }
    }
    if (!keys.empty()) {
        lines.push_back("ISON" + line);
        m_asked.push_back(keys);
    }
    return lines;
}

std::vector<std::string> PartnerWatch::OnReply(const std::string& nicks) {
    std::vector<std::string> gone;
    if (m_asked.empty()) return gone;
    const std::vector<std::string> keys = m_asked.front();
    m_asked.pop_front();
    std::set<std::string> present;
    size_t pos = 0;
    while (pos < nicks.size()) {
        size_t end = nicks.find(' ', pos);
        if (end == std::string::npos) end = nicks.size();
        const std::string nick = nicks.substr(pos, end - pos);
        if (nick.size() > 1) present.insert(Fold(nick.substr(1)));
        pos = end + 1;
    }
    for (const std::string& key : keys) {
        auto it = m_state.find(key);
        if (it == m_state.end()) continue;
        const int now = present.count(key) ? 1 : 0;
        if (it->second == 1 && now == 0) gone.push_back(key);
        it->second = now;
    }
    return gone;
}

void PartnerWatch::SetPresent(const std::string& memberKey, bool present) {
    auto it = m_state.find(memberKey);
    if (it != m_state.end()) it->second = present ? 1 : 0;
}

void PartnerWatch::Clear() {
    m_state.clear();
    m_asked.clear();
    m_polled = false;
}
