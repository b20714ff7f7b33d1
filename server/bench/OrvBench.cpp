// Benchmark of the acquaintance graph: builds a large graph with hubs and
// islands from a fixed seed, times one shortest path and search-paths with up
// to 100 paths (answer JSON included) for a fixed set of pairs, and writes the
// graph and the pairs for the networkx comparison (run-bench.sh).
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "OrvGraph.h"
#include "OrvJson.h"

using namespace orv;

namespace {

struct Options {
    uint32_t members = 1000000;
    double listingsPerMember = 20;  // each listing is one link; links run both ways
    uint32_t pairs = 1000;
    uint32_t hubs = 20;
    uint64_t seed = 20261207;
    std::string out;
};

const char* kFirst[] = {"James", "Mary", "John", "Patricia", "Robert", "Jennifer", "Michael", "Linda",
                        "William", "Elizabeth", "David", "Barbara", "Noa", "Yael", "Avi", "Tamar", "Omer",
                        "Maya", "Luca", "Sofia", "Mateo", "Elena", "Kenji", "Priya", "Chen", "Olga"};
const char* kLast[] = {"Smith", "Johnson", "Williams", "Brown", "Jones", "Garcia", "Miller", "Davis", "Cohen",
                       "Levi", "Rossi", "Muller", "Dubois", "Silva", "Tanaka", "Patel", "Wang", "Ivanov"};
const char* kJobs[] = {"Software engineer", "Nurse", "Teacher", "Accountant", "Electrician", "Designer",
                       "Pharmacist", "Lawyer", "Architect", "Chef", "Journalist", "Student"};

// The directory the answers are written from: derived from the id.
struct Directory {
    uint64_t mix(uint32_t id, uint64_t salt) const {
        uint64_t x = (static_cast<uint64_t>(id) + 1) * 0x9E3779B97F4A7C15ull ^ salt;
        x ^= x >> 31;
        x *= 0xBF58476D1CE4E5B9ull;
        return x ^ (x >> 29);
    }
    std::string first(uint32_t id) const { return kFirst[mix(id, 1) % (sizeof kFirst / sizeof *kFirst)]; }
    std::string last(uint32_t id) const { return kLast[mix(id, 2) % (sizeof kLast / sizeof *kLast)]; }
    std::string job(uint32_t id) const { return kJobs[mix(id, 3) % (sizeof kJobs / sizeof *kJobs)]; }
};

std::string record(const Directory& d, const OrvGraph& g, uint32_t id) {
    std::string first = d.first(id), last = d.last(id);
    std::string email = first + "." + last + std::to_string(id) + "@example.com";
    for (char& c : email) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return OrvJsonObject()
        .str("id", std::to_string(id))
        .num("isMember", 1)
        .num("nodeRank", g.rank(id))
        .str("firstName", first)
        .str("lastName", last)
        .str("email", email)
        .str("occupation", d.job(id))
        .num("emailPrivate", 0)
        .num("chatHidden", 0)
        .str("chatPresence", "")
        .num("canChat", 0)
        .finish();
}

// The search-path answer as the server writes it: each person once, copied into each path.
std::string answer(const Directory& d, const OrvGraph& g, const OrvPathSearch& found) {
    std::vector<uint32_t> ids;
    for (const auto& p : found.paths) ids.insert(ids.end(), p.begin(), p.end());
    std::sort(ids.begin(), ids.end());
    ids.erase(std::unique(ids.begin(), ids.end()), ids.end());
    std::vector<std::string> written(ids.size());
    for (size_t i = 0; i < ids.size(); ++i) written[i] = record(d, g, ids[i]);
    std::string paths = "[";
    for (size_t i = 0; i < found.paths.size(); ++i) {
        if (i) paths += ',';
        paths += '[';
        for (size_t k = 0; k < found.paths[i].size(); ++k) {
            if (k) paths += ',';
            size_t at = static_cast<size_t>(std::lower_bound(ids.begin(), ids.end(), found.paths[i][k]) - ids.begin());
            paths += written[at];
        }
        paths += ']';
    }
    paths += ']';
    return OrvJsonObject()
        .str("code", found.paths.empty() ? "11" : "0")
        .str("sourceEmail", "")
        .str("destination", "")
        .str("hops", found.hops < 0 ? std::string() : std::to_string(found.hops))
        .num("count", static_cast<int64_t>(found.paths.size()))
        .raw("paths", paths)
        .finish();
}

long peakRssKiB() {
    std::ifstream in("/proc/self/status");
    std::string line;
    while (std::getline(in, line))
        if (line.rfind("VmHWM:", 0) == 0) return std::stol(line.substr(6));
    return 0;
}

double percentile(std::vector<double> v, double p) {
    if (v.empty()) return 0;
    std::sort(v.begin(), v.end());
    size_t i = static_cast<size_t>(std::ceil(p / 100.0 * static_cast<double>(v.size()))) - 1;
    return v[std::min(i, v.size() - 1)];
}

double mean(const std::vector<double>& v) {
    double s = 0;
    for (double x : v) s += x;
    return v.empty() ? 0 : s / static_cast<double>(v.size());
}

}  // namespace

int main(int argc, char** argv) {
    Options o;
    for (int i = 1; i + 1 < argc; i += 2) {
        std::string k = argv[i], v = argv[i + 1];
        if (k == "--members") o.members = static_cast<uint32_t>(std::stoul(v));
        else if (k == "--listings") o.listingsPerMember = std::stod(v);
        else if (k == "--pairs") o.pairs = static_cast<uint32_t>(std::stoul(v));
        else if (k == "--hubs") o.hubs = static_cast<uint32_t>(std::stoul(v));
        else if (k == "--seed") o.seed = std::stoull(v);
        else if (k == "--out") o.out = v;
        else {
            std::fprintf(stderr, "usage: orvserver_bench [--members N] [--listings L] [--pairs P] [--hubs H] [--seed S] [--out DIR]\n");
            return 2;
        }
    }
    std::mt19937_64 rng(o.seed);
    auto uniform = [&](uint64_t n) { return rng() % n; };
    auto unit = [&] { return static_cast<double>(rng() >> 11) * 0x1.0p-53; };

    // Islands at the end of the id range: small groups nobody else knows,
    // for pairs with no connection.
    const uint32_t n = o.members;
    const uint32_t islandSize = 10, islandCount = std::max<uint32_t>(1, n / 10000);
    const uint32_t mainland = n - islandSize * islandCount;
    std::vector<std::pair<uint32_t, uint32_t>> listings;
    listings.reserve(static_cast<size_t>(n * (o.listingsPerMember + 1)));
    std::vector<uint32_t> hubs;
    while (hubs.size() < o.hubs) {
        uint32_t h = static_cast<uint32_t>(uniform(mainland));
        if (std::find(hubs.begin(), hubs.end(), h) == hubs.end()) hubs.push_back(h);
    }
    // Members list people near them (their circles), people anywhere, and
    // people who are already well known (preferential attachment).
    const double spread = o.listingsPerMember - 5;
    for (uint32_t i = 0; i < mainland; ++i) {
        auto count = static_cast<uint32_t>(5 + std::floor(-spread * std::log(1 - unit())));
        count = std::min<uint32_t>(count, 1000);
        for (uint32_t k = 0; k < count; ++k) {
            double r = unit();
            uint32_t t;
            if (r < 0.45) {
                int64_t off = static_cast<int64_t>(uniform(4001)) - 2000;
                t = static_cast<uint32_t>((static_cast<int64_t>(i) + off + mainland) % mainland);
            } else if (r < 0.8 || listings.empty()) {
                t = static_cast<uint32_t>(uniform(mainland));
            } else {
                const auto& e = listings[uniform(listings.size())];
                t = (rng() & 1) ? e.first : e.second;
            }
            if (t != i) listings.emplace_back(i, t);
        }
    }
    // A few very well-known members.
    for (size_t j = 0; j < hubs.size(); ++j) {
        uint32_t fans = static_cast<uint32_t>(mainland / 10 / (j + 1));
        for (uint32_t k = 0; k < fans; ++k) listings.emplace_back(static_cast<uint32_t>(uniform(mainland)), hubs[j]);
    }
    for (uint32_t isl = 0; isl < islandCount; ++isl)
        for (uint32_t k = 0; k < islandSize; ++k) {
            uint32_t a = mainland + isl * islandSize + k;
            uint32_t b = mainland + isl * islandSize + (k + 1) % islandSize;
            listings.emplace_back(a, b);
        }

    // Pairs: mostly random members, some with hubs, some with no connection.
    std::vector<std::pair<uint32_t, uint32_t>> pairs;
    uint32_t noPath = o.pairs / 20, hubPairs = o.pairs / 10;
    for (uint32_t k = 0; k < noPath; ++k)
        pairs.emplace_back(static_cast<uint32_t>(uniform(mainland)), mainland + static_cast<uint32_t>(uniform(n - mainland)));
    for (uint32_t k = 0; k < hubPairs; ++k) {
        uint32_t h = hubs[uniform(hubs.size())];
        uint32_t other = k % 3 == 0 ? hubs[uniform(hubs.size())] : static_cast<uint32_t>(uniform(mainland));
        if (other == h) other = static_cast<uint32_t>(uniform(mainland));
        pairs.emplace_back(h, other);
    }
    while (pairs.size() < o.pairs) {
        uint32_t a = static_cast<uint32_t>(uniform(mainland)), b = static_cast<uint32_t>(uniform(mainland));
        if (a != b) pairs.emplace_back(a, b);
    }

    if (!o.out.empty()) {
        std::ofstream e(o.out + "/edges.bin", std::ios::binary);
        for (auto& l : listings) {
            uint32_t v[2] = {l.first, l.second};
            e.write(reinterpret_cast<const char*>(v), sizeof v);
        }
        std::ofstream p(o.out + "/pairs.txt");
        for (auto& pr : pairs) p << pr.first << ' ' << pr.second << '\n';
    }

    size_t listingCount = listings.size();
    auto t0 = std::chrono::steady_clock::now();
    OrvGraph graph;
    graph.build(n, std::move(listings));
    double buildSeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    uint64_t links = 0;
    size_t maxDegree = 0;
    for (uint32_t v = 0; v < n; ++v) {
        links += graph.degree(v);
        maxDegree = std::max(maxDegree, graph.degree(v));
    }

    Directory dir;
    std::vector<double> one, many;
    std::vector<int> hops(pairs.size());
    size_t manyPaths = 0, answerBytes = 0, found = 0;
    // A warm-up round touches the arrays once, as a running server would have.
    for (size_t k = 0; k < std::min<size_t>(pairs.size(), 50); ++k)
        graph.shortestPaths({pairs[k].first}, {pairs[k].second}, 15, 1);
    for (size_t k = 0; k < pairs.size(); ++k) {
        auto a = std::chrono::steady_clock::now();
        auto r = graph.shortestPaths({pairs[k].first}, {pairs[k].second}, OrvGraph::kMaxDepth, 1);
        auto b = std::chrono::steady_clock::now();
        one.push_back(std::chrono::duration<double, std::milli>(b - a).count());
        hops[k] = r.hops;
    }
    for (size_t k = 0; k < pairs.size(); ++k) {
        auto a = std::chrono::steady_clock::now();
        auto r = graph.shortestPaths({pairs[k].first}, {pairs[k].second}, 6, 100);
        std::string json = answer(dir, graph, r);
        auto b = std::chrono::steady_clock::now();
        many.push_back(std::chrono::duration<double, std::milli>(b - a).count());
        manyPaths += r.paths.size();
        answerBytes += json.size();
        found += r.paths.empty() ? 0 : 1;
    }
    if (std::getenv("ORV_BENCH_SLOW")) {
        std::vector<size_t> order(pairs.size());
        for (size_t k = 0; k < order.size(); ++k) order[k] = k;
        std::sort(order.begin(), order.end(), [&](size_t a, size_t b) { return one[a] > one[b]; });
        for (size_t k = 0; k < 15; ++k) {
            size_t i = order[k];
            std::fprintf(stderr, "slow: %.3f ms (100 paths %.3f ms) hops %d degrees %zu %zu\n", one[i], many[i], hops[i],
                         graph.degree(pairs[i].first), graph.degree(pairs[i].second));
        }
    }
    if (!o.out.empty()) {
        std::ofstream h(o.out + "/orvane-hops.txt");
        for (int x : hops) h << x << '\n';
    }
    std::printf("{\n");
    std::printf("  \"members\": %u, \"listings\": %zu, \"links\": %llu, \"averageDegree\": %.2f, \"maxDegree\": %zu,\n",
                n, listingCount, static_cast<unsigned long long>(links / 2), static_cast<double>(links) / n, maxDegree);
    std::printf("  \"buildSeconds\": %.2f, \"graphBytes\": %zu, \"peakRssBytes\": %ld,\n", buildSeconds,
                graph.memoryBytes(), peakRssKiB() * 1024);
    std::printf("  \"onePath\": {\"p50ms\": %.4f, \"p99ms\": %.4f, \"meanms\": %.4f, \"maxms\": %.4f},\n",
                percentile(one, 50), percentile(one, 99), mean(one), percentile(one, 100));
    std::printf("  \"searchPaths\": {\"p50ms\": %.4f, \"p99ms\": %.4f, \"meanms\": %.4f, \"maxms\": %.4f, "
                "\"pairsWithPaths\": %zu, \"averagePaths\": %.1f, \"averageAnswerBytes\": %.0f}\n",
                percentile(many, 50), percentile(many, 99), mean(many), percentile(many, 100), found,
                static_cast<double>(manyPaths) / static_cast<double>(pairs.size()),
                static_cast<double>(answerBytes) / static_cast<double>(pairs.size()));
    std::printf("}\n");
    return 0;
}
