// The acquaintance graph kept in memory: who lists whom, as an undirected
// graph in compressed sparse rows of 32-bit person ids, with an overlay of
// recently changed nodes that is merged into the rows from time to time.
#pragma once

#include <cstddef>
#include <cstdint>
#include <unordered_map>
#include <utility>
#include <vector>

#include "OrvRwLock.h"

namespace orv {

struct OrvPathSearch {
    std::vector<std::vector<uint32_t>> paths;  // each from a source to a target
    int hops = -1;                             // steps of the shortest paths, -1 when none
};

class OrvGraph {
public:
    OrvGraph() = default;
    OrvGraph(const OrvGraph&) = delete;
    OrvGraph& operator=(const OrvGraph&) = delete;

    // Replaces everything from (lister, listed) pairs: links are undirected
    // (duplicates and self loops dropped); a node's rank counts its listers.
    void build(uint32_t nodeCount, std::vector<std::pair<uint32_t, uint32_t>> listings);

    // The full new neighbour set of one node (the caller keeps both ends consistent).
    void setNeighbours(uint32_t node, std::vector<uint32_t> neighbours);

    void setRank(uint32_t node, uint32_t rank);
    uint32_t rank(uint32_t node) const;

    uint32_t nodeCount() const;
    size_t degree(uint32_t node) const;
    std::vector<uint32_t> neighbours(uint32_t node) const;
    size_t memoryBytes() const;
    size_t overlaySize() const;

    // Merges the overlay into the rows.
    void compact();

    // Up to maxPaths shortest paths of at most maxDepth steps from any source
    // to any target, by bidirectional breadth-first search; the paths are
    // built from the search's levels. Sources and targets must not overlap.
    OrvPathSearch shortestPaths(const std::vector<uint32_t>& sources,
                                const std::vector<uint32_t>& targets, int maxDepth,
                                size_t maxPaths) const;

    static constexpr size_t kCompactThreshold = 4096;
    static constexpr int kMaxDepth = 15;

private:
    struct Span {
        const uint32_t* begin;
        const uint32_t* end;
        size_t size() const { return static_cast<size_t>(end - begin); }
    };
    Span adjacency(uint32_t node) const;  // caller holds the lock
    void compactLocked();

    mutable OrvRwLock mutex_;  // a change waits for no more than the reads under way
    uint32_t nodeCount_ = 0;
    std::vector<uint64_t> offsets_;  // nodeCount_ + 1 entries once built
    std::vector<uint32_t> targets_;
    std::unordered_map<uint32_t, std::vector<uint32_t>> overlay_;
    std::vector<uint64_t> overlayBits_;  // one bit per node: has an overlay entry
    std::vector<uint32_t> ranks_;
};

}  // namespace orv
