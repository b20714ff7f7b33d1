#include <gtest/gtest.h>

#include <algorithm>
#include <queue>
#include <random>
#include <set>

#include "OrvGraph.h"

using namespace orv;

namespace {

using Edges = std::vector<std::pair<uint32_t, uint32_t>>;

// Every path must be a walk along edges of the stated length with no repeats.
void expectValidPaths(const OrvGraph& g, const OrvPathSearch& r, uint32_t s, uint32_t t) {
    std::set<std::vector<uint32_t>> distinct;
    for (const auto& p : r.paths) {
        ASSERT_EQ(p.size(), static_cast<size_t>(r.hops) + 1);
        EXPECT_EQ(p.front(), s);
        EXPECT_EQ(p.back(), t);
        for (size_t i = 0; i + 1 < p.size(); ++i) {
            auto n = g.neighbours(p[i]);
            EXPECT_TRUE(std::binary_search(n.begin(), n.end(), p[i + 1]));
        }
        EXPECT_TRUE(distinct.insert(p).second) << "duplicate path";
    }
}

// Reference: distance and number of shortest paths by plain BFS.
std::pair<int, uint64_t> reference(const OrvGraph& g, uint32_t s, uint32_t t) {
    std::vector<int> dist(g.nodeCount(), -1);
    std::vector<uint64_t> count(g.nodeCount(), 0);
    std::queue<uint32_t> q;
    dist[s] = 0;
    count[s] = 1;
    q.push(s);
    while (!q.empty()) {
        uint32_t u = q.front();
        q.pop();
        for (uint32_t w : g.neighbours(u)) {
            if (dist[w] < 0) {
                dist[w] = dist[u] + 1;
                q.push(w);
            }
            if (dist[w] == dist[u] + 1) count[w] += count[u];
        }
    }
    return {dist[t], count[t]};
}

Edges chain(uint32_t n) {
    Edges e;
    for (uint32_t i = 0; i + 1 < n; ++i) e.push_back({i, i + 1});
    return e;
}

}  // namespace

TEST(Graph, BuildsUndirectedDeduplicatedRowsAndRanks) {
    OrvGraph g;
    // 1 and 2 list each other; 3 lists 1 twice in the input; 4 lists itself.
    g.build(5, {{1, 2}, {2, 1}, {3, 1}, {3, 1}, {4, 4}});
    EXPECT_EQ(g.neighbours(1), (std::vector<uint32_t>{2, 3}));
    EXPECT_EQ(g.neighbours(2), (std::vector<uint32_t>{1}));
    EXPECT_TRUE(g.neighbours(4).empty());
    EXPECT_EQ(g.rank(1), 3u);  // listed by 2 and, in the input, twice by 3
    EXPECT_EQ(g.rank(3), 0u);
}

TEST(Graph, GridHasAllShortestPaths) {
    // 3 x 3 grid: corner to corner has C(4,2) = 6 shortest paths of 4 steps.
    Edges e;
    for (uint32_t r = 0; r < 3; ++r)
        for (uint32_t c = 0; c < 3; ++c) {
            uint32_t n = r * 3 + c;
            if (c < 2) e.push_back({n, n + 1});
            if (r < 2) e.push_back({n, n + 3});
        }
    OrvGraph g;
    g.build(9, e);
    auto r = g.shortestPaths({0}, {8}, 6, 100);
    EXPECT_EQ(r.hops, 4);
    EXPECT_EQ(r.paths.size(), 6u);
    expectValidPaths(g, r, 0, 8);
    auto one = g.shortestPaths({0}, {8}, 6, 1);
    EXPECT_EQ(one.paths.size(), 1u);
    expectValidPaths(g, one, 0, 8);
}

TEST(Graph, NoPathBetweenComponents) {
    OrvGraph g;
    g.build(6, {{0, 1}, {1, 2}, {3, 4}, {4, 5}});
    auto r = g.shortestPaths({0}, {5}, 6, 100);
    EXPECT_TRUE(r.paths.empty());
    EXPECT_EQ(r.hops, -1);
}

TEST(Graph, DepthBoundOfSixSteps) {
    OrvGraph g;
    g.build(8, chain(8));  // 0 .. 7: seven steps end to end
    auto six = g.shortestPaths({0}, {6}, 6, 100);
    ASSERT_EQ(six.paths.size(), 1u);
    EXPECT_EQ(six.hops, 6);
    expectValidPaths(g, six, 0, 6);
    EXPECT_TRUE(g.shortestPaths({0}, {7}, 6, 100).paths.empty());
    EXPECT_EQ(g.shortestPaths({0}, {7}, 7, 100).hops, 7);
}

TEST(Graph, CapsAtOneHundredDistinctPaths) {
    // s - 15 a's - 15 b's (every a knows every b) - t: 225 paths of 3 steps.
    Edges e;
    const uint32_t s = 0, t = 31;
    for (uint32_t a = 1; a <= 15; ++a) {
        e.push_back({s, a});
        for (uint32_t b = 16; b <= 30; ++b) e.push_back({a, b});
    }
    for (uint32_t b = 16; b <= 30; ++b) e.push_back({b, t});
    OrvGraph g;
    g.build(32, e);
    auto r = g.shortestPaths({s}, {t}, 6, 100);
    EXPECT_EQ(r.hops, 3);
    EXPECT_EQ(r.paths.size(), 100u);
    expectValidPaths(g, r, s, t);
}

TEST(Graph, HubsShortenPaths) {
    // Two long chains joined by a hub that knows every node of both.
    const uint32_t n = 20001, hub = 20000;
    Edges e = chain(10000);
    for (uint32_t i = 10000; i + 1 < 20000; ++i) e.push_back({i, i + 1});
    for (uint32_t i = 0; i < 20000; ++i) e.push_back({hub, i});
    OrvGraph g;
    g.build(n, e);
    auto r = g.shortestPaths({5}, {15000}, 6, 100);
    EXPECT_EQ(r.hops, 2);
    ASSERT_EQ(r.paths.size(), 1u);
    EXPECT_EQ(r.paths[0], (std::vector<uint32_t>{5, hub, 15000}));
    // Neighbours of each other: one step, the hub is no shortcut.
    auto near = g.shortestPaths({5}, {6}, 6, 100);
    EXPECT_EQ(near.hops, 1);
    EXPECT_EQ(near.paths.size(), 1u);
}

TEST(Graph, MatchesPlainBreadthFirstSearchOnRandomGraphs) {
    std::mt19937 rng(7);
    for (int round = 0; round < 30; ++round) {
        // Sparse graphs have long paths; dense ones with a few hubs take the
        // probing of small frontiers and the predecessor search by levels.
        const uint32_t n = 300;
        const int edges = round < 15 ? 450 : 2500;
        Edges e;
        for (int k = 0; k < edges; ++k) e.push_back({rng() % n, rng() % n});
        if (round >= 15)
            for (uint32_t hub = 0; hub < 3; ++hub)
                for (uint32_t k = 0; k < 120; ++k) e.push_back({hub, rng() % n});
        OrvGraph g;
        g.build(n, e);
        for (int q = 0; q < 20; ++q) {
            uint32_t s = rng() % n, t = rng() % n;
            if (s == t) continue;
            auto [dist, count] = reference(g, s, t);
            auto r = g.shortestPaths({s}, {t}, 6, 100);
            if (dist < 0 || dist > 6) {
                EXPECT_TRUE(r.paths.empty());
                continue;
            }
            EXPECT_EQ(r.hops, dist);
            EXPECT_EQ(r.paths.size(), std::min<uint64_t>(count, 100));
            expectValidPaths(g, r, s, t);
        }
    }
}

TEST(Graph, TwoHubsWithManyCommonFriends) {
    // Hubs 0 and 1 share the friends 2..151; each also has 50 of its own.
    Edges e;
    for (uint32_t f = 2; f < 152; ++f) {
        e.push_back({0, f});
        e.push_back({1, f});
    }
    for (uint32_t f = 152; f < 202; ++f) e.push_back({0, f});
    for (uint32_t f = 202; f < 252; ++f) e.push_back({1, f});
    e.push_back({300, 100});  // a leaf next to one common friend
    OrvGraph g;
    g.build(301, e);
    auto r = g.shortestPaths({0}, {1}, 6, 100);
    EXPECT_EQ(r.hops, 2);
    EXPECT_EQ(r.paths.size(), 100u);
    expectValidPaths(g, r, 0, 1);
    auto leaf = g.shortestPaths({300}, {1}, 6, 100);
    EXPECT_EQ(leaf.hops, 2);
    ASSERT_EQ(leaf.paths.size(), 1u);
    EXPECT_EQ(leaf.paths[0], (std::vector<uint32_t>{300, 100, 1}));
    auto leafToOwn = g.shortestPaths({300}, {210}, 6, 100);
    EXPECT_EQ(leafToOwn.hops, 3);
    EXPECT_EQ(leafToOwn.paths, (std::vector<std::vector<uint32_t>>{{300, 100, 1, 210}}));
    // From a friend of one hub only to one of the other: through any common friend.
    auto across = g.shortestPaths({160}, {210}, 6, 100);
    EXPECT_EQ(across.hops, 4);
    EXPECT_EQ(across.paths.size(), 100u);
    expectValidPaths(g, across, 160, 210);
}

TEST(Graph, SeveralTargetsGiveThePathsToTheNearest) {
    OrvGraph g;
    g.build(10, chain(10));
    auto r = g.shortestPaths({0}, {9, 3, 7}, 6, 100);
    ASSERT_EQ(r.paths.size(), 1u);
    EXPECT_EQ(r.paths[0], (std::vector<uint32_t>{0, 1, 2, 3}));
}

TEST(Graph, OverlayChangesAreSearchedAndSurviveCompaction) {
    OrvGraph g;
    g.build(6, chain(6));
    EXPECT_EQ(g.shortestPaths({0}, {5}, 6, 100).hops, 5);
    // A new person 9 beyond the built rows links 0 and 5.
    g.setNeighbours(0, {1, 9});
    g.setNeighbours(5, {4, 9});
    g.setNeighbours(9, {0, 5});
    auto r = g.shortestPaths({0}, {5}, 6, 100);
    EXPECT_EQ(r.hops, 2);
    EXPECT_EQ(r.paths[0], (std::vector<uint32_t>{0, 9, 5}));
    EXPECT_EQ(g.overlaySize(), 3u);
    g.compact();
    EXPECT_EQ(g.overlaySize(), 0u);
    EXPECT_EQ(g.nodeCount(), 10u);
    EXPECT_EQ(g.shortestPaths({0}, {5}, 6, 100).paths[0], (std::vector<uint32_t>{0, 9, 5}));
    // Removing the link again.
    g.setNeighbours(9, {});
    g.setNeighbours(0, {1});
    g.setNeighbours(5, {4});
    EXPECT_EQ(g.shortestPaths({0}, {5}, 6, 100).hops, 5);
}
