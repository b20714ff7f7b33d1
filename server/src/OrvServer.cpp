#include "OrvServer.h"

#include <sodium.h>
#include <sys/stat.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <sstream>

#include <httplib.h>
#include <nlohmann/json.hpp>

#include "OrvDownloads.h"
#include "OrvHttpServer.h"
#include "OrvJson.h"
#include "OrvListRequests.h"
#include "OrvSearchRequests.h"
#include "OrvSessionRequests.h"
#include "OrvValidation.h"

namespace orv {

namespace {

const char* kJsonType = "application/json; charset=utf-8";

int64_t unixNow() {
    return std::chrono::duration_cast<std::chrono::seconds>(
               std::chrono::system_clock::now().time_since_epoch())
        .count();
}

bool readFile(const std::string& path, std::string& out) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    std::ostringstream ss;
    ss << in.rdbuf();
    out = ss.str();
    return true;
}

std::string noticesJson(const std::vector<std::string>& notices) {
    std::string arr = "[";
    for (size_t i = 0; i < notices.size(); ++i) {
        if (i) arr += ',';
        appendJsonString(arr, notices[i]);
    }
    arr += ']';
    return arr;
}

const char* kActivePanel =
    "<!DOCTYPE html><html><head><meta charset=\"utf-8\"><title>Orvane</title></head>"
    "<body style=\"font-family:Tahoma,sans-serif;font-size:11px;margin:4px\">"
    "<b>Welcome to Orvane.</b> Find the people your friends know: search a name, "
    "or ask for the path to anyone.</body></html>";
const char* kInactivePanel =
    "<!DOCTYPE html><html><head><meta charset=\"utf-8\"><title>Orvane</title></head>"
    "<body style=\"font-family:Tahoma,sans-serif;font-size:11px;margin:4px\">"
    "Orvane keeps running in the tray. Double-click its icon to come back.</body></html>";
const char* kDemoPage =
    "<!DOCTYPE html><html><head><meta charset=\"utf-8\"><title>Orvane demo</title></head><body>"
    "<h1>Orvane in one minute</h1><ol><li>Your contact-tree shows you in the centre and the people you "
    "know around you. Click a person to see whom he knows.</li><li>Search members by name, e-mail or "
    "free text.</li><li>Search-path finds the chains of acquaintance from you to anyone.</li></ol>"
    "</body></html>";
const char* kHelpPage =
    "<!DOCTYPE html><html><head><meta charset=\"utf-8\"><title>Orvane help</title></head><body>"
    "<h1>Orvane help</h1><p>Sign up with your e-mail address; the password comes by mail. "
    "Add at least five contacts to build your contact-tree.</p></body></html>";

}  // namespace

std::string OrvServer::prepareDataFolder(const OrvConfig& config) {
    ::mkdir(config.dataDir.c_str(), 0700);
    ::mkdir((config.dataDir + "/download").c_str(), 0755);
    ::mkdir((config.dataDir + "/www").c_str(), 0755);
    return config.dataDir + "/orvane.db";
}

OrvServer::OrvServer(OrvConfig config)
    : config_(std::move(config)),
      versions_(config_.effectiveVersionTable()),
      store_(std::make_unique<OrvStore>(prepareDataFolder(config_))),
      sessions_(config_.sessionIdle),
      passwords_(config_.passwordStrength),
      records_(*store_, graph_, sessions_),
      sessionRequests_(std::make_unique<OrvSessionRequests>(*this)),
      listRequests_(std::make_unique<OrvListRequests>(*this)),
      searchRequests_(std::make_unique<OrvSearchRequests>(*this)) {
    OrvMailSettings mail;
    mail.outbox = config_.dataDir + "/outbox";
    mail.from = config_.mailFrom;
    mail.smtpHost = config_.smtpHost;
    mail.smtpPort = config_.smtpPort;
    mailer_ = std::make_unique<OrvMailer>(mail);
    loadGraph();

    http_ = std::make_unique<OrvHttpServer>(OrvHttpLimits(), config_.threads);
    http_->set_keep_alive_max_count(100000);
    // An idle kept-alive connection holds a worker thread: let it go soon.
    http_->set_keep_alive_timeout(5);
    http_->set_tcp_nodelay(true);
    http_->set_exception_handler([](const httplib::Request& req, httplib::Response& res, std::exception_ptr e) {
        std::string what = "unknown";
        try {
            std::rethrow_exception(e);
        } catch (const std::exception& x) {
            what = x.what();
        } catch (...) {
        }
        std::fprintf(stderr, "orvane-server: %s %s failed: %s\n", req.method.c_str(), req.path.c_str(), what.c_str());
        res.status = 500;
        res.set_content("{\"code\":\"1\",\"error\":\"internal\"}", kJsonType);
    });
    routeApi();
    routePages();
}

OrvServer::~OrvServer() { stop(); }

void OrvServer::routeApi() {
    OrvSessionRequests& s = *sessionRequests_;
    OrvListRequests& l = *listRequests_;
    OrvSearchRequests& f = *searchRequests_;
    auto by = [](auto& target, auto method) { return [&target, method](OrvRequest& r) { return (target.*method)(r); }; };
    route("verify-user", false, R"({"code":"%","password":"","key":""})", by(s, &OrvSessionRequests::verifyUser));
    route("add-user", false, R"({"code":"%"})", by(s, &OrvSessionRequests::addUser));
    route("check-user", false,
          R"({"code":"%","memberId":"","key":"","firstName":"","lastName":"","occupation":"",)"
          R"("sessionId":"","bannerPeriod":0,"panelUrl1":"","chatServer":"","chatPort":"","chatDelay":"",)"
          R"("panelUrl2":"","chatPingRate":"","idleLimit":0,"reserved":0,"serverInfo":""})",
          by(s, &OrvSessionRequests::checkUser));
    route("start-info", true, R"({"code":"%","page":""})", by(s, &OrvSessionRequests::startInfo));
    route("drop-user", true, R"({"code":"%","value":""})", by(s, &OrvSessionRequests::dropUser));
    route("kill-session", false, R"({"code":"%"})", by(s, &OrvSessionRequests::killSession));
    route("update-status", true, R"({"code":"%"})", by(s, &OrvSessionRequests::updateStatus));
    route("update-irc-time", true, R"({"code":"%","count":0,"records":[]})", by(s, &OrvSessionRequests::updateIrcTime));
    route("get-tree", true, R"({"code":"%","count":0,"records":[]})", by(l, &OrvListRequests::getTree));
    route("search", true, R"({"code":"%","count":0,"records":[]})", by(f, &OrvSearchRequests::search));
    route("search-path", true, R"({"code":"%","sourceEmail":"","destination":"","hops":"","count":0,"paths":[]})",
          by(f, &OrvSearchRequests::searchPath));
    route("search-path-keywords", true, R"({"code":"%","count":0,"paths":[]})",
          by(f, &OrvSearchRequests::searchPathKeywords));
    route("get-contacts", true, R"({"code":"%","email":"","count":0,"records":[]})", by(l, &OrvListRequests::getContacts));
    route("add-contacts", true, R"({"code":"%"})", by(l, &OrvListRequests::addContacts));
    route("drop-contacts", true, R"({"code":"%"})", by(l, &OrvListRequests::dropContacts));
    route("drop-add-contacts", true, R"({"code":"%"})", by(l, &OrvListRequests::dropAddContacts));
    route("update-contacts", true, R"({"code":"%"})", by(l, &OrvListRequests::updateContacts));
    route("update-user", true, R"({"code":"%"})", by(l, &OrvListRequests::updateUser));
    route("change-email", false, R"({"code":"%"})", by(s, &OrvSessionRequests::changeEmail));
    route("version", true, R"({"code":"%","action":"","arg1":"","arg2":""})", by(s, &OrvSessionRequests::version));
    route("poll", true, R"({"code":"%","notices":[]})", by(s, &OrvSessionRequests::poll));
    route("chat-auth", false, R"({"code":"%"})", by(s, &OrvSessionRequests::chatAuth));
    http_->post("/admin/v1/notice",
                [this](const httplib::Request& req, httplib::Response& res) { postNotice(req, res); });
}

void OrvServer::routePages() {
    http_->Get("/health", [](const httplib::Request&, httplib::Response& res) {
        res.set_content("{\"status\":\"ok\"}", kJsonType);
    });
    auto page = [this](const std::string& file, const char* builtIn) {
        return [this, file, builtIn](const httplib::Request&, httplib::Response& res) {
            std::string content;
            if (!readFile(config_.dataDir + "/www" + file, content)) content = builtIn;
            res.set_content(content, "text/html; charset=utf-8");
        };
    };
    http_->Get("/panel/active.html", page("/panel/active.html", kActivePanel));
    http_->Get("/panel/inactive.html", page("/panel/inactive.html", kInactivePanel));
    http_->Get("/demo.html", page("/demo.html", kDemoPage));
    http_->Get("/help/help.htm", page("/help/help.htm", kHelpPage));
    OrvDownloads::route(*http_, config_.dataDir + "/download");
    http_->set_mount_point("/", config_.dataDir + "/www");
}

void OrvServer::postNotice(const httplib::Request& req, httplib::Response& res) {
    res.set_header("Cache-Control", "no-store");
    auto body = nlohmann::json::parse(req.body, nullptr, false);
    auto text = [&](const char* name) -> const nlohmann::json* {
        auto it = body.is_object() ? body.find(name) : body.end();
        return it != body.end() && it->is_string() ? &*it : nullptr;
    };
    const nlohmann::json* token = text("token");
    bool allowed = token && !config_.adminToken.empty() && token->get_ref<const std::string&>().size() ==
                                                                  config_.adminToken.size() &&
                   sodium_memcmp(token->get_ref<const std::string&>().data(), config_.adminToken.data(),
                                 config_.adminToken.size()) == 0;
    if (!allowed) {
        res.status = 403;
        res.set_content("{\"code\":\"1\",\"error\":\"forbidden\"}", kJsonType);
        return;
    }
    // The text, and the address when there is one, must be strings.
    const nlohmann::json* message = text("text");
    const nlohmann::json* email = text("email");
    if (!message || (body.contains("email") && !email)) {
        res.set_content("{\"code\":\"1\"}", kJsonType);
        return;
    }
    std::string address = email ? asciiLower(trimBlanks(email->get<std::string>())) : std::string();
    if (address.empty()) {
        sessions_.noticeAll(message->get<std::string>());
    } else if (auto p = store_->personByEmail(address)) {
        sessions_.noticeMember(p->id, message->get<std::string>());
    }
    res.set_content("{\"code\":\"0\"}", kJsonType);
}

int OrvServer::bind() {
    if (port_ > 0) return port_;
    port_ = http_->bindListening(config_.listen, config_.port);
    if (config_.publicUrl.empty()) config_.publicUrl = "http://" + config_.listen + ":" + std::to_string(port_);
    return port_;
}

bool OrvServer::serve() {
    bind();
    return http_->listen_after_bind();
}

void OrvServer::start() {
    bind();
    thread_ = std::thread([this] {
        if (!serve()) std::fprintf(stderr, "orvane-server: accepting connections failed\n");
    });
}

void OrvServer::stop() {
    if (http_) http_->stopListening();
    if (thread_.joinable()) thread_.join();
}

void OrvServer::loadGraph() {
    std::vector<std::pair<uint32_t, uint32_t>> listings;
    store_->forEachListing([&](uint32_t owner, uint32_t person) { listings.emplace_back(owner, person); });
    graph_.build(store_->maxPersonId() + 1, std::move(listings));
}

void OrvServer::refreshGraph(std::vector<uint32_t> changed) {
    std::sort(changed.begin(), changed.end());
    changed.erase(std::unique(changed.begin(), changed.end()), changed.end());
    for (uint32_t node : changed) {
        graph_.setNeighbours(node, store_->neighbours(node));
        graph_.setRank(node, store_->listerCount(node));
    }
    records_.invalidate(changed);
}

void OrvServer::route(const char* name, bool needsSession, const char* blankAnswer, Handler handler) {
    std::string blank = blankAnswer;
    http_->post(std::string("/api/v1/") + name,
                [this, handler, needsSession, blank](const httplib::Request& req, httplib::Response& res) {
                    dispatch(handler, needsSession, blank, req, res);
                });
}

void OrvServer::dispatch(const Handler& handler, bool needsSession, const std::string& blank,
                         const httplib::Request& req, httplib::Response& res) {
    res.set_header("Cache-Control", "no-store");
    auto body = nlohmann::json::parse(req.body, nullptr, false);
    if (!body.is_object()) {
        res.status = 400;
        res.set_content("{\"code\":\"1\",\"error\":\"a JSON object is expected\"}", kJsonType);
        return;
    }
    OrvRequest r;
    r.body = &body;
    r.now = unixNow();
    std::string out;
    try {
        // A session argument is checked before anything else.
        if (needsSession) {
            r.session = r.field("session");
            auto member = sessions_.touch(r.session, r.now);
            if (!member) {
                r.session.clear();
                throw OrvAnswer{"3"};
            }
            r.viewer = *member;
        }
        out = handler(r);
    } catch (const OrvAnswer& a) {
        out = blank;
        out.replace(out.find('%'), 1, a.code);
    } catch (const OrvStoreError&) {
        out = blank;
        out.replace(out.find('%'), 1, "8");
    }
    // Notices ride on every answer of a live session except poll, which carries them itself.
    bool polling = req.path == "/api/v1/poll";
    if (!r.session.empty() && !polling) {
        auto notices = sessions_.takeNotices(r.session);
        if (!notices.empty()) {
            out.pop_back();
            out += ",\"notices\":" + noticesJson(notices) + "}";
        }
    }
    res.set_content(out, kJsonType);
}

}  // namespace orv
