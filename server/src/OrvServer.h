// The network's server: the HTTP/JSON command channel over the store, the
// in-memory acquaintance graph, the sessions and the mailer.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "OrvConfig.h"
#include "OrvGraph.h"
#include "OrvMailer.h"
#include "OrvSessions.h"
#include "OrvStore.h"

namespace httplib {
class Server;
struct Request;
struct Response;
}  // namespace httplib

namespace orv {

class OrvServer {
public:
    // Opens (creating when needed) the data folder, its store and outbox,
    // and loads the graph.
    explicit OrvServer(OrvConfig config);
    ~OrvServer();
    OrvServer(const OrvServer&) = delete;
    OrvServer& operator=(const OrvServer&) = delete;

    // Binds the listening socket (port 0 picks a free one); returns the port.
    int bind();
    // Serves until stop(); call bind() first.
    void serve();
    // Serves on an own thread until stop() or destruction.
    void start();
    void stop();

    OrvStore& store() { return *store_; }
    OrvGraph& graph() { return graph_; }
    OrvSessions& sessions() { return sessions_; }
    OrvMailer& mailer() { return *mailer_; }
    const OrvConfig& config() const { return config_; }

    // Re-reads the neighbours and ranks of changed nodes into the graph.
    void refreshGraph(std::vector<uint32_t> changed);
    void loadGraph();
    std::string hashPassword(const std::string& password);
    bool verifyPassword(const std::string& hash, const std::string& password);
    static std::string generatePassword();

    // A person with his contact list as the store holds it, kept in memory
    // between changes: trees and privacy checks are read from it.
    struct OwnerView {
        OrvPerson person;
        std::vector<OrvPerson> contacts;  // in list order
        std::vector<OrvListing> listings;  // the owner's names for them, same order
        std::unordered_set<uint32_t> listed;
    };
    std::shared_ptr<const OwnerView> ownerView(uint32_t id);
    void invalidateViews(const std::vector<uint32_t>& owners);
    void invalidateAllViews();

private:
    struct Context;
    struct Answer;
    class HashGate;
    using Handler = std::string (OrvServer::*)(Context&);

    void route(const char* name, Handler handler, bool needsSession, const char* blankAnswer);
    void dispatch(Handler handler, bool needsSession, const std::string& blank, const httplib::Request& req,
                  httplib::Response& res);

    std::string verifyUser(Context& c);
    std::string addUser(Context& c);
    std::string checkUser(Context& c);
    std::string startInfo(Context& c);
    std::string dropUser(Context& c);
    std::string killSession(Context& c);
    std::string updateStatus(Context& c);
    std::string updateIrcTime(Context& c);
    std::string getTree(Context& c);
    std::string search(Context& c);
    std::string searchPath(Context& c);
    std::string searchPathKeywords(Context& c);
    std::string getContacts(Context& c);
    std::string addContacts(Context& c);
    std::string dropContacts(Context& c);
    std::string dropAddContacts(Context& c);
    std::string updateContacts(Context& c);
    std::string updateUser(Context& c);
    std::string changeEmail(Context& c);
    std::string version(Context& c);
    std::string poll(Context& c);
    std::string chatAuth(Context& c);

    // One JSON record per id (empty for an unknown id).
    std::vector<std::string> records(Context& c, const std::vector<uint32_t>& ids,
                                     const std::vector<const OrvListing*>* listings);
    std::string renderRecord(Context& c, const OrvPerson& p, const OrvListing* listing);
    std::string ownerRecords(Context& c, const OwnerView& view, bool withOwner, size_t* count);
    std::string recordsJson(Context& c, const std::vector<uint32_t>& ids,
                            const std::vector<const OrvListing*>* listings, size_t* count);
    bool emailVisible(Context& c, const OrvPerson& p);
    bool listsPerson(uint32_t owner, uint32_t person);
    std::string pathsJson(Context& c, const OrvPathSearch& found);
    void mailPassword(const std::string& email, const std::string& firstName, const std::string& password,
                      bool again);
    std::string contactChange(Context& c, const std::vector<uint32_t>& drops,
                              const std::vector<OrvContactItem>& adds);
    bool resolveEnd(const std::string& text, uint32_t& id);

    OrvConfig config_;
    std::unique_ptr<OrvStore> store_;
    std::unique_ptr<OrvMailer> mailer_;
    OrvGraph graph_;
    OrvSessions sessions_;
    std::mutex writeMutex_;  // one change of lists at a time, store and graph together
    std::mutex hashMutex_;
    std::condition_variable hashFree_;
    int hashRunning_ = 0;
    std::mutex viewsMutex_;
    std::unordered_map<uint32_t, std::shared_ptr<const OwnerView>> views_;
    uint64_t viewsGeneration_ = 0;  // bumped by every invalidation
    std::unique_ptr<httplib::Server> http_;
    std::thread thread_;
    int port_ = 0;
};

}  // namespace orv
