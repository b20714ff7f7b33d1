// Mixed load against a running orvane-server with the demo network: steady
// kept-alive connections that log in, read trees, change their contact list
// and search paths, while bursts of new connections arrive on top. Reports
// throughput, latency percentiles and the connections that failed.
//
// usage: orvserver_loadbench --port N [--connections 64] [--seconds 20]
//                            [--burst 256] [--burst-every-ms 1000]
#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <httplib.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <nlohmann/json.hpp>
#include <random>
#include <string>
#include <thread>
#include <vector>

using nlohmann::json;
using Clock = std::chrono::steady_clock;

namespace {

struct Options {
    int port = 0;
    int connections = 64;
    int seconds = 20;
    int burst = 256;
    int burstEveryMs = 1000;
};

const char* kAccounts[][2] = {{"demo1@example.com", "orvane-demo-1"}, {"demo2@example.com", "orvane-demo-2"},
                              {"demo3@example.com", "orvane-demo-3"}, {"demo4@example.com", "orvane-demo-4"},
                              {"demo5@example.com", "orvane-demo-5"}};
constexpr uint32_t kDemoMembers = 10000;

enum Kind { LogIn, Tree, ListChange, PathSearch, KeywordPath, BurstRequest, KindCount };
const char* kKindNames[] = {"log-in", "tree", "list change", "path search", "keyword path", "burst connection"};

struct Samples {
    std::mutex mutex;
    std::vector<double> ms[KindCount];
    uint64_t failed[KindCount] = {};
    void add(Kind k, double v) {
        std::lock_guard lock(mutex);
        ms[k].push_back(v);
    }
    void fail(Kind k) {
        std::lock_guard lock(mutex);
        ++failed[k];
    }
};

double percentile(std::vector<double> v, double p) {
    if (v.empty()) return 0;
    std::sort(v.begin(), v.end());
    size_t i = static_cast<size_t>(std::ceil(p / 100.0 * static_cast<double>(v.size())));
    return v[std::min(std::max<size_t>(i, 1) - 1, v.size() - 1)];
}

double since(Clock::time_point t) { return std::chrono::duration<double, std::milli>(Clock::now() - t).count(); }

// One steady connection: logs in, then a fixed mix of requests until the end.
void steadyClient(const Options& o, int index, Clock::time_point end, Samples& samples) {
    httplib::Client http("127.0.0.1", o.port);
    http.set_keep_alive(true);
    // Head and body go out in two writes: without this, Nagle's algorithm and
    // the server's delayed acknowledgement add 40 ms to every request.
    http.set_tcp_nodelay(true);
    http.set_read_timeout(60, 0);
    std::mt19937_64 rng(static_cast<uint64_t>(index) * 7919 + 1);
    const char* const* account = kAccounts[index % 5];
    std::string session, memberId;
    auto post = [&](Kind kind, const char* path, const json& body, json* answer) {
        auto t = Clock::now();
        auto res = http.Post(path, body.dump(), "application/json");
        double ms = since(t);
        if (!res || res->status != 200) {
            if (samples.failed[kind] == 0)
                std::fprintf(stderr, "first failed %s: %s\n", kKindNames[kind],
                             res ? ("HTTP " + std::to_string(res->status)).c_str() : httplib::to_string(res.error()).c_str());
            samples.fail(kind);
            return false;
        }
        samples.add(kind, ms);
        if (answer) *answer = json::parse(res->body, nullptr, false);
        return true;
    };
    auto logIn = [&] {
        json a;
        json body = {{"email", account[0]}, {"password", account[1]}, {"clientKind", "1"}, {"version", "1.0"}};
        if (post(LogIn, "/api/v1/check-user", body, &a) && a.value("code", "") == "0") {
            session = a["sessionId"];
            memberId = a["memberId"];
        }
    };
    logIn();
    const std::string mine = "bench" + std::to_string(index) + "@example.com";
    const char* keywords[] = {"nurse", "pilot;cohen", "teacher", "smith", "chef;levi"};
    while (Clock::now() < end) {
        if (session.empty()) {
            logIn();
            continue;
        }
        unsigned roll = static_cast<unsigned>(rng() % 100);
        if (roll < 3) {
            logIn();
        } else if (roll < 50) {
            json body = {{"id", std::to_string(1 + rng() % kDemoMembers)}, {"session", session}};
            post(Tree, "/api/v1/get-tree", body, nullptr);
        } else if (roll < 62) {
            // Add an own address, find its id in the list, drop it again.
            json a;
            post(ListChange, "/api/v1/add-contacts", {{"session", session}, {"list", "Bench,Load," + mine}}, nullptr);
            if (!post(ListChange, "/api/v1/get-contacts", {{"session", session}}, &a)) continue;
            std::string id;
            if (a.is_object() && a["records"].is_array())
                for (auto& r : a["records"])
                    if (r.value("email", "") == mine) id = r.value("id", "");
            if (!id.empty()) post(ListChange, "/api/v1/drop-contacts", {{"session", session}, {"list", id}}, nullptr);
        } else if (roll < 95) {
            json body = {{"source", memberId},
                         {"destination", std::to_string(1 + rng() % kDemoMembers)},
                         {"session", session}};
            post(PathSearch, "/api/v1/search-path", body, nullptr);
        } else {
            json body = {{"source", memberId}, {"keywords", keywords[rng() % 5]}, {"session", session}};
            post(KeywordPath, "/api/v1/search-path-keywords", body, nullptr);
        }
    }
}

// A burst: many new connections opened at once, each sends one tree request
// and waits for the whole answer. A connection that is reset, refused, or
// gets no answer within 30 s is counted as failed.
void burst(const Options& o, const std::string& session, Samples& samples, std::atomic<uint64_t>& resets) {
    struct Conn {
        int fd = -1;
        Clock::time_point start;
        std::string out, in;
        size_t sent = 0;
        bool connected = false, done = false;
    };
    std::string body = json({{"id", "1"}, {"session", session}}).dump();
    std::string request = "POST /api/v1/get-tree HTTP/1.1\r\nHost: 127.0.0.1\r\nContent-Type: application/json\r\n"
                          "Connection: close\r\nContent-Length: " +
                          std::to_string(body.size()) + "\r\n\r\n" + body;
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_port = htons(static_cast<uint16_t>(o.port));
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    std::vector<Conn> conns(static_cast<size_t>(o.burst));
    for (auto& c : conns) {
        c.start = Clock::now();
        c.out = request;
        c.fd = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK, 0);
        if (c.fd < 0) {
            c.done = true;
            samples.fail(BurstRequest);
            continue;
        }
        int r = ::connect(c.fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr);
        if (r != 0 && errno != EINPROGRESS) {
            if (errno == ECONNRESET || errno == ECONNREFUSED) ++resets;
            c.done = true;
            samples.fail(BurstRequest);
        }
    }
    auto deadline = Clock::now() + std::chrono::seconds(30);
    for (;;) {
        std::vector<pollfd> fds;
        std::vector<Conn*> owners;
        for (auto& c : conns) {
            if (c.done) continue;
            fds.push_back({c.fd, static_cast<short>(c.sent < c.out.size() ? POLLOUT : POLLIN), 0});
            owners.push_back(&c);
        }
        if (fds.empty() || Clock::now() > deadline) break;
        if (::poll(fds.data(), fds.size(), 100) < 0) break;
        for (size_t i = 0; i < fds.size(); ++i) {
            Conn& c = *owners[i];
            if (!fds[i].revents) continue;
            auto failed = [&](int err) {
                if (err == ECONNRESET || err == ECONNREFUSED || err == EPIPE) ++resets;
                c.done = true;
                samples.fail(BurstRequest);
            };
            if (c.sent < c.out.size()) {
                ssize_t n = ::send(c.fd, c.out.data() + c.sent, c.out.size() - c.sent, MSG_NOSIGNAL);
                if (n < 0 && errno != EAGAIN) failed(errno);
                else if (n > 0) c.sent += static_cast<size_t>(n);
                continue;
            }
            char buf[8192];
            ssize_t n = ::recv(c.fd, buf, sizeof buf, 0);
            if (n < 0 && errno != EAGAIN) {
                failed(errno);
            } else if (n == 0) {
                c.done = true;
                if (c.in.rfind("HTTP/1.1 200", 0) == 0) samples.add(BurstRequest, since(c.start));
                else failed(c.in.empty() ? ECONNRESET : 0);
            } else if (n > 0) {
                c.in.append(buf, static_cast<size_t>(n));
            }
        }
    }
    for (auto& c : conns) {
        if (!c.done) samples.fail(BurstRequest);
        if (c.fd >= 0) ::close(c.fd);
    }
}

}  // namespace

int main(int argc, char** argv) {
    Options o;
    for (int i = 1; i + 1 < argc; i += 2) {
        std::string k = argv[i];
        int v = std::atoi(argv[i + 1]);
        if (k == "--port") o.port = v;
        else if (k == "--connections") o.connections = v;
        else if (k == "--seconds") o.seconds = v;
        else if (k == "--burst") o.burst = v;
        else if (k == "--burst-every-ms") o.burstEveryMs = v;
    }
    if (o.port <= 0) {
        std::fprintf(stderr, "usage: orvserver_loadbench --port N [--connections 64] [--seconds 20] [--burst 256] "
                             "[--burst-every-ms 1000]\n");
        return 2;
    }
    // The burst connections read trees with a session of their own.
    std::string burstSession;
    {
        httplib::Client http("127.0.0.1", o.port);
        json body = {{"email", kAccounts[0][0]}, {"password", kAccounts[0][1]}, {"clientKind", "1"}, {"version", "1.0"}};
        auto res = http.Post("/api/v1/check-user", body.dump(), "application/json");
        json a = res ? json::parse(res->body, nullptr, false) : json();
        if (!a.is_object() || a.value("code", "") != "0") {
            std::fprintf(stderr, "orvserver_loadbench: demo1 cannot log in on port %d\n", o.port);
            return 1;
        }
        burstSession = a["sessionId"];
    }
    Samples samples;
    std::atomic<uint64_t> resets{0};
    auto start = Clock::now();
    auto end = start + std::chrono::seconds(o.seconds);
    std::vector<std::thread> threads;
    for (int i = 0; i < o.connections; ++i)
        threads.emplace_back([&, i] { steadyClient(o, i, end, samples); });
    // Bursts start on a fixed beat, whether or not the previous one is done.
    std::vector<std::thread> bursts;
    while (o.burst > 0 && Clock::now() + std::chrono::milliseconds(o.burstEveryMs) < end) {
        std::this_thread::sleep_for(std::chrono::milliseconds(o.burstEveryMs));
        bursts.emplace_back([&] { burst(o, burstSession, samples, resets); });
    }
    for (auto& t : threads) t.join();
    double seconds = since(start) / 1000.0;
    for (auto& t : bursts) t.join();

    std::vector<double> all;
    uint64_t failedSteady = 0;
    for (int k = 0; k < BurstRequest; ++k) {
        all.insert(all.end(), samples.ms[k].begin(), samples.ms[k].end());
        failedSteady += samples.failed[k];
    }
    std::printf("{\n  \"seconds\": %.1f, \"connections\": %d, \"bursts\": %d, \"burstSize\": %d,\n", seconds,
                o.connections, static_cast<int>(bursts.size()), o.burst);
    std::printf("  \"steady\": {\"requests\": %zu, \"perSecond\": %.0f, \"p50ms\": %.2f, \"p99ms\": %.2f, \"failed\": %llu},\n",
                all.size(), static_cast<double>(all.size()) / seconds, percentile(all, 50), percentile(all, 99),
                static_cast<unsigned long long>(failedSteady));
    for (int k = 0; k < KindCount; ++k) {
        const auto& v = samples.ms[k];
        std::printf("  \"%s\": {\"requests\": %zu, \"p50ms\": %.2f, \"p99ms\": %.2f, \"failed\": %llu},\n",
                    kKindNames[k], v.size(), percentile(v, 50), percentile(v, 99),
                    static_cast<unsigned long long>(samples.failed[k]));
    }
    std::printf("  \"burstConnectionsReset\": %llu\n}\n", static_cast<unsigned long long>(resets.load()));
    return 0;
}
