// The network's server: owns the store, the in-memory acquaintance graph,
// the sessions, the mailer and the HTTP server, and routes each API request
// to the class that answers it (sign-up and session, lists, searches).
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "OrvConfig.h"
#include "OrvGraph.h"
#include "OrvMailer.h"
#include "OrvPasswords.h"
#include "OrvRecords.h"
#include "OrvRequest.h"
#include "OrvSessions.h"
#include "OrvStore.h"

namespace httplib {
struct Request;
struct Response;
}  // namespace httplib

namespace orv {

class OrvHttpServer;
class OrvListRequests;
class OrvSearchRequests;
class OrvSessionRequests;

class OrvServer {
public:
    // Opens (creating when needed) the data folder, its store and outbox,
    // and loads the graph.
    explicit OrvServer(OrvConfig config);
    ~OrvServer();
    OrvServer(const OrvServer&) = delete;
    OrvServer& operator=(const OrvServer&) = delete;

    // Binds the listening socket (port 0 picks a free one); returns the port.
    // Throws std::runtime_error naming the address and the reason when the
    // port cannot be had (taken, not allowed, no such address).
    int bind();
    // Serves until stop(); binds first when bind() was not called. False
    // when serving ended on an error rather than by stop().
    bool serve();
    // Serves on an own thread until stop() or destruction; binds first when
    // bind() was not called. Connections are taken as soon as it returns.
    void start();
    void stop();

    OrvStore& store() { return *store_; }
    OrvGraph& graph() { return graph_; }
    OrvSessions& sessions() { return sessions_; }
    OrvMailer& mailer() { return *mailer_; }
    OrvRecords& records() { return records_; }
    OrvPasswords& passwords() { return passwords_; }
    const OrvConfig& config() const { return config_; }
    // The versions offered to clients, fixed at start.
    const OrvVersionTable& versions() const { return versions_; }

    // One change of lists at a time, store and graph together.
    std::mutex& writeMutex() { return writeMutex_; }
    // Re-reads the neighbours and ranks of changed nodes into the graph.
    void refreshGraph(std::vector<uint32_t> changed);
    void loadGraph();

private:
    using Handler = std::function<std::string(OrvRequest&)>;
    void route(const char* name, bool needsSession, const char* blankAnswer, Handler handler);
    void dispatch(const Handler& handler, bool needsSession, const std::string& blank, const httplib::Request& req,
                  httplib::Response& res);
    void routeApi();
    void routePages();
    void postNotice(const httplib::Request& req, httplib::Response& res);
    // Creates the data folder and its subfolders; returns the store's file.
    static std::string prepareDataFolder(const OrvConfig& config);

    OrvConfig config_;
    OrvVersionTable versions_;
    std::unique_ptr<OrvStore> store_;
    std::unique_ptr<OrvMailer> mailer_;
    OrvGraph graph_;
    OrvSessions sessions_;
    OrvPasswords passwords_;
    OrvRecords records_;
    std::mutex writeMutex_;
    std::unique_ptr<OrvSessionRequests> sessionRequests_;
    std::unique_ptr<OrvListRequests> listRequests_;
    std::unique_ptr<OrvSearchRequests> searchRequests_;
    std::unique_ptr<OrvHttpServer> http_;
    std::thread thread_;
    int port_ = 0;
};

}  // namespace orv
