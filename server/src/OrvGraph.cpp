#include "OrvGraph.h"

#include <algorithm>
#include <mutex>
#include <shared_mutex>
#include <unordered_map>

namespace orv {

namespace {

// Per-thread search marks, one word per node for both sides so that a visit
// costs one memory access: generation << 32 | distance from the targets << 8 |
// distance from the sources << 4 | seen by targets << 1 | seen by sources.
// A new search only bumps the generation instead of clearing the array.
struct Marks {
    std::vector<uint64_t> words;
    uint64_t generation = 0;

    void prepare(uint32_t nodeCount) {
        if (words.size() < nodeCount) words.resize(nodeCount, 0);
        if (++generation > 0xFFFFFFFFull) {
            std::fill(words.begin(), words.end(), 0);
            generation = 1;
        }
    }
    bool current(uint64_t w) const { return (w >> 32) == generation; }
    bool seen(int s, uint32_t node) const {
        uint64_t w = words[node];
        return current(w) && (w >> s) & 1u;
    }
    int dist(int s, uint32_t node) const { return static_cast<int>((words[node] >> (4 + 4 * s)) & 15u); }
    void mark(int s, uint32_t node, int d) {
        uint64_t w = words[node];
        if (!current(w)) w = generation << 32;
        words[node] = w | (uint64_t{1} << s) | (static_cast<uint64_t>(d) << (4 + 4 * s));
    }
};

thread_local Marks tlsMarks;

}  // namespace

void OrvGraph::build(uint32_t nodeCount, std::vector<std::pair<uint32_t, uint32_t>> edges) {
    std::vector<uint64_t> offsets(static_cast<size_t>(nodeCount) + 1, 0);
    std::vector<uint32_t> ranks(nodeCount, 0);
    for (auto& e : edges) {
        if (e.first == e.second || e.first >= nodeCount || e.second >= nodeCount) continue;
        ++ranks[e.second];
        ++offsets[e.first + 1];
        ++offsets[e.second + 1];
    }
    for (size_t i = 1; i < offsets.size(); ++i) offsets[i] += offsets[i - 1];
    std::vector<uint32_t> targets(offsets.back());
    std::vector<uint64_t> fill(offsets.begin(), offsets.end() - 1);
    for (auto& e : edges) {
        if (e.first == e.second || e.first >= nodeCount || e.second >= nodeCount) continue;
        targets[fill[e.first]++] = e.second;
        targets[fill[e.second]++] = e.first;
    }
    edges.clear();
    edges.shrink_to_fit();
    // Sort and drop duplicates (a pair listing each other gives the edge twice).
    uint64_t write = 0;
    for (uint32_t n = 0; n < nodeCount; ++n) {
        auto b = targets.begin() + static_cast<std::ptrdiff_t>(offsets[n]);
        auto e = targets.begin() + static_cast<std::ptrdiff_t>(offsets[n + 1]);
        std::sort(b, e);
        auto last = std::unique(b, e);
        uint64_t start = write;
        for (auto it = b; it != last; ++it) targets[write++] = *it;
        offsets[n] = start;
    }
    offsets[nodeCount] = write;
    targets.resize(write);
    targets.shrink_to_fit();

    std::unique_lock lock(mutex_);
    nodeCount_ = nodeCount;
    offsets_ = std::move(offsets);
    targets_ = std::move(targets);
    overlay_.clear();
    overlayBits_.assign((static_cast<size_t>(nodeCount) + 63) / 64, 0);
    ranks_ = std::move(ranks);
}

void OrvGraph::setRank(uint32_t node, uint32_t rank) {
    std::unique_lock lock(mutex_);
    if (node >= ranks_.size()) ranks_.resize(static_cast<size_t>(node) + 1, 0);
    ranks_[node] = rank;
}

uint32_t OrvGraph::rank(uint32_t node) const {
    std::shared_lock lock(mutex_);
    return node < ranks_.size() ? ranks_[node] : 0;
}

void OrvGraph::setNeighbours(uint32_t node, std::vector<uint32_t> neighbours) {
    std::sort(neighbours.begin(), neighbours.end());
    neighbours.erase(std::unique(neighbours.begin(), neighbours.end()), neighbours.end());
    neighbours.erase(std::remove(neighbours.begin(), neighbours.end(), node), neighbours.end());
    std::unique_lock lock(mutex_);
    uint32_t needed = node + 1;
    for (uint32_t n : neighbours) needed = std::max(needed, n + 1);
    if (needed > nodeCount_) {
        nodeCount_ = needed;
        overlayBits_.resize((static_cast<size_t>(nodeCount_) + 63) / 64, 0);
    }
    overlay_[node] = std::move(neighbours);
    overlayBits_[node / 64] |= uint64_t{1} << (node % 64);
    if (overlay_.size() >= kCompactThreshold) compactLocked();
}

uint32_t OrvGraph::nodeCount() const {
    std::shared_lock lock(mutex_);
    return nodeCount_;
}

OrvGraph::Span OrvGraph::adjacency(uint32_t node) const {
    if (node < nodeCount_ && (overlayBits_[node / 64] >> (node % 64)) & 1u) {
        const auto& v = overlay_.find(node)->second;
        return {v.data(), v.data() + v.size()};
    }
    if (static_cast<size_t>(node) + 1 < offsets_.size())
        return {targets_.data() + offsets_[node], targets_.data() + offsets_[node + 1]};
    return {nullptr, nullptr};
}

size_t OrvGraph::degree(uint32_t node) const {
    std::shared_lock lock(mutex_);
    return adjacency(node).size();
}

std::vector<uint32_t> OrvGraph::neighbours(uint32_t node) const {
    std::shared_lock lock(mutex_);
    Span s = adjacency(node);
    return std::vector<uint32_t>(s.begin, s.end);
}

size_t OrvGraph::memoryBytes() const {
    std::shared_lock lock(mutex_);
    size_t bytes = offsets_.capacity() * sizeof(uint64_t) + targets_.capacity() * sizeof(uint32_t) +
                   overlayBits_.capacity() * sizeof(uint64_t) + ranks_.capacity() * sizeof(uint32_t);
    for (auto& kv : overlay_) bytes += kv.second.capacity() * sizeof(uint32_t) + 32;
    return bytes;
}

size_t OrvGraph::overlaySize() const {
    std::shared_lock lock(mutex_);
    return overlay_.size();
}

void OrvGraph::compact() {
    std::unique_lock lock(mutex_);
    compactLocked();
}

void OrvGraph::compactLocked() {
    if (overlay_.empty() && offsets_.size() == static_cast<size_t>(nodeCount_) + 1) return;
    std::vector<uint64_t> offsets(static_cast<size_t>(nodeCount_) + 1, 0);
    for (uint32_t n = 0; n < nodeCount_; ++n) offsets[n + 1] = offsets[n] + adjacency(n).size();
    std::vector<uint32_t> targets(offsets.back());
    for (uint32_t n = 0; n < nodeCount_; ++n) {
        Span s = adjacency(n);
        std::copy(s.begin, s.end, targets.begin() + static_cast<std::ptrdiff_t>(offsets[n]));
    }
    offsets_ = std::move(offsets);
    targets_ = std::move(targets);
    overlay_.clear();
    std::fill(overlayBits_.begin(), overlayBits_.end(), 0);
}

OrvPathSearch OrvGraph::shortestPaths(const std::vector<uint32_t>& sources,
                                      const std::vector<uint32_t>& targets, int maxDepth,
                                      size_t maxPaths) const {
    OrvPathSearch result;
    if (sources.empty() || targets.empty() || maxPaths == 0) return result;
    maxDepth = std::min(maxDepth, kMaxDepth);
    std::shared_lock lock(mutex_);
    Marks& m = tlsMarks;
    m.prepare(nodeCount_);

    // Every complete level of both sides is kept: the paths are built from them.
    std::vector<std::vector<uint32_t>> levels[2];
    uint64_t frontierCost[2] = {0, 0};
    for (int s = 0; s < 2; ++s) {
        levels[s].emplace_back();
        for (uint32_t n : (s == 0 ? sources : targets)) {
            if (n >= nodeCount_ || m.seen(s, n)) continue;
            if (m.seen(1 - s, n)) return result;  // overlapping ends: refused by the caller
            m.mark(s, n, 0);
            levels[s][0].push_back(n);
            frontierCost[s] += adjacency(n).size();
        }
        if (levels[s][0].empty()) return result;
    }
    auto frontier = [&](int s) -> const std::vector<uint32_t>& { return levels[s].back(); };

    int depth[2] = {0, 0};
    std::vector<uint32_t> meetings;
    std::vector<uint32_t> next;
    uint64_t* words = m.words.data();
    const uint64_t generation = m.generation;
    auto adjacent = [&](uint32_t a, uint32_t b) {
        Span sa = adjacency(a), sb = adjacency(b);
        if (sa.size() > sb.size()) std::swap(sa, sb), std::swap(a, b);
        return std::binary_search(sa.begin, sa.end, b);
    };
    while (depth[0] + depth[1] < maxDepth && meetings.empty()) {
        // A very small frontier with a large neighbourhood (a well-known
        // person) is probed against the other frontier before anything is
        // expanded: the nodes of the other frontier next to it are exactly
        // the meeting nodes of its next level.
        uint64_t cheapest = std::min(frontierCost[0], frontierCost[1]);
        int small = frontier(0).size() <= frontier(1).size() ? 0 : 1;
        uint64_t probeCost = static_cast<uint64_t>(frontier(0).size()) * frontier(1).size() * 8;
        if (probeCost < cheapest) {
            for (uint32_t w : frontier(1 - small)) {
                for (uint32_t h : frontier(small)) {
                    if (adjacent(w, h)) {
                        meetings.push_back(w);
                        break;
                    }
                }
                if (meetings.size() >= maxPaths) break;
            }
            if (!meetings.empty()) {
                depth[small] += 1;
                for (uint32_t w : meetings) m.mark(small, w, depth[small]);
                break;
            }
        }
        // Otherwise grow the side that is cheaper to expand.
        int s = frontierCost[0] <= frontierCost[1] ? 0 : 1;
        const uint64_t selfBit = uint64_t{1} << s, otherBit = uint64_t{1} << (1 - s);
        int d = depth[s] + 1;
        const uint64_t distBits = static_cast<uint64_t>(d) << (4 + 4 * s);
        next.clear();
        uint64_t cost = 0;
        bool enough = false;
        for (uint32_t u : frontier(s)) {
            Span adj = adjacency(u);
            const size_t n = adj.size();
            for (size_t i = 0; i < n; ++i) {
                if (i + 16 < n) __builtin_prefetch(words + adj.begin[i + 16]);
                uint32_t w = adj.begin[i];
                uint64_t word = words[w];
                bool current = (word >> 32) == generation;
                if (current && (word & selfBit)) continue;
                words[w] = (current ? word : generation << 32) | selfBit | distBits;
                if (current && (word & otherBit)) {
                    meetings.push_back(w);
                    if (meetings.size() >= maxPaths) {
                        enough = true;
                        break;
                    }
                    continue;
                }
                next.push_back(w);
                cost += adjacency(w).size();
            }
            if (enough) break;
        }
        depth[s] = d;
        if (next.empty() && meetings.empty()) return result;
        levels[s].push_back(std::move(next));
        next = std::vector<uint32_t>();
        frontierCost[s] = cost;
    }
    if (meetings.empty()) return result;
    result.hops = depth[0] + depth[1];

    // The nodes one level closer to a side's ends than v, found once per node:
    // by testing the previous level's nodes when that level is the smaller
    // set (a well-known person has more neighbours than a level has nodes),
    // else by scanning v's neighbours. At most `cap` are kept: no more paths
    // are ever built.
    std::unordered_map<uint64_t, std::vector<uint32_t>> predecessors;
    auto preds = [&](int side, uint32_t v, size_t cap) -> const std::vector<uint32_t>& {
        uint64_t key = (static_cast<uint64_t>(side) << 32) | v;
        auto it = predecessors.find(key);
        if (it != predecessors.end()) return it->second;
        std::vector<uint32_t> out;
        int d = m.dist(side, v) - 1;
        Span adj = adjacency(v);
        const auto& level = levels[side][static_cast<size_t>(d)];
        if (level.size() * 8 < adj.size()) {
            for (uint32_t u : level) {
                if (adjacent(u, v)) out.push_back(u);
                if (out.size() >= cap) break;
            }
        } else {
            for (const uint32_t* p = adj.begin; p != adj.end && out.size() < cap; ++p)
                if (m.seen(side, *p) && m.dist(side, *p) == d) out.push_back(*p);
        }
        return predecessors.emplace(key, std::move(out)).first->second;
    };
    // Half paths from a meeting node back to the ends of one side.
    auto halfPaths = [&](int side, uint32_t from, size_t cap) {
        std::vector<std::vector<uint32_t>> out;
        std::vector<std::pair<uint32_t, size_t>> stack{{from, 0}};
        std::vector<uint32_t> path{from};
        while (!stack.empty() && out.size() < cap) {
            auto& top = stack.back();
            if (m.dist(side, top.first) == 0) {
                out.push_back(path);
                stack.pop_back();
                path.pop_back();
                continue;
            }
            const auto& p = preds(side, top.first, cap);
            if (top.second >= p.size()) {
                stack.pop_back();
                path.pop_back();
                continue;
            }
            uint32_t w = p[top.second++];
            stack.push_back({w, 0});
            path.push_back(w);
        }
        return out;
    };

    for (uint32_t meet : meetings) {
        size_t room = maxPaths - result.paths.size();
        if (room == 0) break;
        auto toSource = halfPaths(0, meet, room);
        auto toTarget = halfPaths(1, meet, room);
        for (auto& a : toSource) {
            for (auto& b : toTarget) {
                if (result.paths.size() >= maxPaths) break;
                std::vector<uint32_t> path(a.rbegin(), a.rend());  // source .. meet
                path.insert(path.end(), b.begin() + 1, b.end());  // after meet .. target
                result.paths.push_back(std::move(path));
            }
        }
    }
    return result;
}

}  // namespace orv
