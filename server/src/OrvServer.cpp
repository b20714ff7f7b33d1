#include "OrvServer.h"

#include <sodium.h>
#include <sys/stat.h>

#include <algorithm>
#include <chrono>
#include <fstream>
#include <sstream>
#include <unordered_map>

#include <httplib.h>
#include <nlohmann/json.hpp>

#include "OrvJson.h"
#include "OrvValidation.h"

namespace orv {

namespace {

constexpr size_t kBodyLimit = 65536;
constexpr size_t kSearchLimit = 1000;
constexpr size_t kPathLimit = 100;
constexpr int kPathDepth = 6;
constexpr size_t kViewCacheLimit = 20000;
constexpr size_t kCredentialMax = 64;  // a session id has 32 characters
const char* kServerInfo = "orvane-server/1.0";
const char* kPrivateEmail = "private";
const char* kUnnamed = "Unnamed";

int64_t unixNow() {
    return std::chrono::duration_cast<std::chrono::seconds>(
               std::chrono::system_clock::now().time_since_epoch())
        .count();
}

std::string htmlEscape(const std::string& s) {
    std::string out;
    for (char c : s) {
        switch (c) {
            case '<': out += "&lt;"; break;
            case '>': out += "&gt;"; break;
            case '&': out += "&amp;"; break;
            case '"': out += "&quot;"; break;
            default: out += c;
        }
    }
    return out;
}

bool readFile(const std::string& path, std::string& out) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    std::ostringstream ss;
    ss << in.rdbuf();
    out = ss.str();
    return true;
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

// A request's answer when it stops early: the result code only.
struct OrvServer::Answer {
    std::string code;
};

struct OrvServer::Context {
    const nlohmann::json* body = nullptr;
    int64_t now = 0;
    std::string session;  // a live session of this request, for notices
    uint32_t viewer = 0;  // the member of the session, 0 before log-in
    bool listedLoaded = false;
    std::unordered_set<uint32_t> listed;  // persons the viewer lists

    // A string member of the body; a missing or non-string one is bad input.
    std::string field(const char* name) const {
        auto it = body->find(name);
        if (it == body->end() || !it->is_string()) throw Answer{"1"};
        std::string v = it->get<std::string>();
        if (!isValidUtf8(v)) throw Answer{"1"};
        return v;
    }
};

OrvServer::OrvServer(OrvConfig config) : config_(std::move(config)), sessions_(config_.sessionIdle) {
    if (sodium_init() < 0) throw std::runtime_error("libsodium cannot start");
    ::mkdir(config_.dataDir.c_str(), 0700);
    ::mkdir((config_.dataDir + "/download").c_str(), 0755);
    ::mkdir((config_.dataDir + "/www").c_str(), 0755);
    store_ = std::make_unique<OrvStore>(config_.dataDir + "/orvane.db");
    OrvMailSettings mail;
    mail.outbox = config_.dataDir + "/outbox";
    mail.from = config_.mailFrom;
    mail.smtpHost = config_.smtpHost;
    mail.smtpPort = config_.smtpPort;
    mailer_ = std::make_unique<OrvMailer>(mail);
    loadGraph();

    http_ = std::make_unique<httplib::Server>();
    int threads = config_.threads;
    http_->new_task_queue = [threads] { return new httplib::ThreadPool(static_cast<size_t>(threads)); };
    http_->set_payload_max_length(kBodyLimit);
    http_->set_keep_alive_max_count(100000);
    // An idle kept-alive connection holds a worker thread: let it go soon.
    http_->set_keep_alive_timeout(5);
    http_->set_tcp_nodelay(true);
    http_->set_error_handler([](const httplib::Request&, httplib::Response& res) {
        OrvJsonObject o;
        o.str("code", "1").str("error", "HTTP " + std::to_string(res.status));
        res.set_content(o.finish(), "application/json; charset=utf-8");
    });
    http_->set_exception_handler([](const httplib::Request&, httplib::Response& res, std::exception_ptr) {
        res.status = 500;
        res.set_content("{\"code\":\"1\",\"error\":\"internal\"}", "application/json; charset=utf-8");
    });

    route("verify-user", &OrvServer::verifyUser, false, R"({"code":"%","password":"","key":""})");
    route("add-user", &OrvServer::addUser, false, R"({"code":"%"})");
    route("check-user", &OrvServer::checkUser, false,
          R"({"code":"%","memberId":"","key":"","firstName":"","lastName":"","occupation":"",)"
          R"("sessionId":"","bannerPeriod":0,"panelUrl1":"","chatServer":"","chatPort":"","chatDelay":"",)"
          R"("panelUrl2":"","chatPingRate":"","idleLimit":0,"reserved":0,"serverInfo":""})");
    route("start-info", &OrvServer::startInfo, true, R"({"code":"%","page":""})");
    route("drop-user", &OrvServer::dropUser, true, R"({"code":"%","value":""})");
    route("kill-session", &OrvServer::killSession, false, R"({"code":"%"})");
    route("update-status", &OrvServer::updateStatus, true, R"({"code":"%"})");
    route("update-irc-time", &OrvServer::updateIrcTime, true, R"({"code":"%","count":0,"records":[]})");
    route("get-tree", &OrvServer::getTree, true, R"({"code":"%","count":0,"records":[]})");
    route("search", &OrvServer::search, true, R"({"code":"%","count":0,"records":[]})");
    route("search-path", &OrvServer::searchPath, true,
          R"({"code":"%","sourceEmail":"","destination":"","hops":"","count":0,"paths":[]})");
    route("search-path-keywords", &OrvServer::searchPathKeywords, true, R"({"code":"%","count":0,"paths":[]})");
    route("get-contacts", &OrvServer::getContacts, true, R"({"code":"%","email":"","count":0,"records":[]})");
    route("add-contacts", &OrvServer::addContacts, true, R"({"code":"%"})");
    route("drop-contacts", &OrvServer::dropContacts, true, R"({"code":"%"})");
    route("drop-add-contacts", &OrvServer::dropAddContacts, true, R"({"code":"%"})");
    route("update-contacts", &OrvServer::updateContacts, true, R"({"code":"%"})");
    route("update-user", &OrvServer::updateUser, true, R"({"code":"%"})");
    route("change-email", &OrvServer::changeEmail, false, R"({"code":"%"})");
    route("version", &OrvServer::version, true, R"({"code":"%","action":"","arg1":"","arg2":""})");
    route("poll", &OrvServer::poll, true, R"({"code":"%","notices":[]})");
    route("chat-auth", &OrvServer::chatAuth, false, R"({"code":"%"})");

    http_->Get(R"(/api/v1/.*)", [](const httplib::Request&, httplib::Response& res) {
        res.status = 405;
        res.set_content("{\"code\":\"1\",\"error\":\"POST expected\"}", "application/json; charset=utf-8");
    });
    http_->Get("/health", [](const httplib::Request&, httplib::Response& res) {
        res.set_content("{\"status\":\"ok\"}", "application/json; charset=utf-8");
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
    http_->set_mount_point("/download", config_.dataDir + "/download");
    http_->set_mount_point("/", config_.dataDir + "/www");

    http_->Post("/admin/v1/notice", [this](const httplib::Request& req, httplib::Response& res) {
        res.set_header("Cache-Control", "no-store");
        auto body = nlohmann::json::parse(req.body, nullptr, false);
        std::string token = body.is_object() && body.value("token", nlohmann::json()).is_string()
                                ? body["token"].get<std::string>()
                                : std::string();
        bool allowed = !config_.adminToken.empty() && token.size() == config_.adminToken.size() &&
                       sodium_memcmp(token.data(), config_.adminToken.data(), token.size()) == 0;
        if (!allowed || !body.value("text", nlohmann::json()).is_string()) {
            res.status = 403;
            res.set_content("{\"code\":\"1\",\"error\":\"forbidden\"}", "application/json; charset=utf-8");
            return;
        }
        std::string text = body["text"].get<std::string>();
        std::string email = body.value("email", std::string());
        if (email.empty()) {
            sessions_.noticeAll(text);
        } else if (auto p = store_->personByEmail(asciiLower(trimBlanks(email)))) {
            sessions_.noticeMember(p->id, text);
        }
        res.set_content("{\"code\":\"0\"}", "application/json; charset=utf-8");
    });
}

OrvServer::~OrvServer() { stop(); }

int OrvServer::bind() {
    if (config_.port == 0) port_ = http_->bind_to_any_port(config_.listen);
    else port_ = http_->bind_to_port(config_.listen, config_.port) ? config_.port : -1;
    if (port_ <= 0) throw std::runtime_error("cannot listen on " + config_.listen + ":" + std::to_string(config_.port));
    if (config_.publicUrl.empty()) config_.publicUrl = "http://" + config_.listen + ":" + std::to_string(port_);
    return port_;
}

void OrvServer::serve() { http_->listen_after_bind(); }

void OrvServer::start() {
    thread_ = std::thread([this] { serve(); });
    while (!http_->is_running()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
}

void OrvServer::stop() {
    if (http_) http_->stop();
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
    invalidateViews(changed);
}

// Each argon2id computation takes tens of megabytes and much CPU: only a few
// run at once, the others wait their turn.
class OrvServer::HashGate {
public:
    explicit HashGate(OrvServer& server) : server_(server) {
        std::unique_lock lock(server_.hashMutex_);
        server_.hashFree_.wait(lock, [this] { return server_.hashRunning_ < kConcurrentHashes; });
        ++server_.hashRunning_;
    }
    ~HashGate() {
        {
            std::lock_guard lock(server_.hashMutex_);
            --server_.hashRunning_;
        }
        server_.hashFree_.notify_one();
    }
    HashGate(const HashGate&) = delete;
    HashGate& operator=(const HashGate&) = delete;

private:
    static constexpr int kConcurrentHashes = 4;
    OrvServer& server_;
};

std::string OrvServer::hashPassword(const std::string& password) {
    HashGate gate(*this);
    unsigned long long ops = crypto_pwhash_OPSLIMIT_INTERACTIVE;
    size_t mem = crypto_pwhash_MEMLIMIT_INTERACTIVE;
    if (config_.passwordStrength == "moderate") {
        ops = crypto_pwhash_OPSLIMIT_MODERATE;
        mem = crypto_pwhash_MEMLIMIT_MODERATE;
    } else if (config_.passwordStrength == "min") {
        ops = crypto_pwhash_OPSLIMIT_MIN;
        mem = crypto_pwhash_MEMLIMIT_MIN;
    }
    char out[crypto_pwhash_STRBYTES];
    if (crypto_pwhash_str_alg(out, password.data(), password.size(), ops, mem, crypto_pwhash_ALG_ARGON2ID13) != 0)
        throw std::runtime_error("password hashing ran out of memory");
    return out;
}

std::string OrvServer::generatePassword() {
    // No look-alike characters: the member types it from a mail.
    static const char alphabet[] = "abcdefghjkmnpqrstuvwxyzABCDEFGHJKLMNPQRSTUVWXYZ23456789";
    std::string p;
    for (int i = 0; i < 10; ++i) p += alphabet[randombytes_uniform(sizeof alphabet - 1)];
    return p;
}

bool OrvServer::verifyPassword(const std::string& hash, const std::string& password) {
    if (hash.empty()) return false;
    HashGate gate(*this);
    return crypto_pwhash_str_verify(hash.c_str(), password.data(), password.size()) == 0;
}

void OrvServer::mailPassword(const std::string& email, const std::string& firstName,
                             const std::string& password, bool again) {
    std::string body = "Hello" + (firstName.empty() ? std::string() : " " + firstName) + ",\n\n";
    body += again ? "Here is a new personal password for Orvane, as you asked:\n\n"
                  : "Welcome to Orvane. Your personal password is:\n\n";
    body += "    " + password + "\n\n";
    body += "Copy it and paste it in the Orvane log-in window.\n";
    if (again) body += "Your previous password keeps working until you log in with this one.\n";
    body += "\nOrvane\n";
    mailer_->send(email, "Your Orvane password", body);
}

void OrvServer::route(const char* name, Handler handler, bool needsSession, const char* blankAnswer) {
    std::string blank = blankAnswer;
    http_->Post(std::string("/api/v1/") + name,
                [this, handler, needsSession, blank](const httplib::Request& req, httplib::Response& res) {
                    dispatch(handler, needsSession, blank, req, res);
                });
}

void OrvServer::dispatch(Handler handler, bool needsSession, const std::string& blank,
                         const httplib::Request& req, httplib::Response& res) {
    res.set_header("Cache-Control", "no-store");
    auto body = nlohmann::json::parse(req.body, nullptr, false);
    if (!body.is_object()) {
        res.status = 400;
        res.set_content("{\"code\":\"1\",\"error\":\"a JSON object is expected\"}",
                        "application/json; charset=utf-8");
        return;
    }
    Context c;
    c.body = &body;
    c.now = unixNow();
    std::string out;
    try {
        // A session argument is checked before anything else.
        if (needsSession) {
            c.session = c.field("session");
            auto member = sessions_.touch(c.session, c.now);
            if (!member) {
                c.session.clear();
                throw Answer{"3"};
            }
            c.viewer = *member;
        }
        out = (this->*handler)(c);
    } catch (const Answer& a) {
        out = blank;
        out.replace(out.find('%'), 1, a.code);
    } catch (const OrvStoreError&) {
        out = blank;
        out.replace(out.find('%'), 1, "8");
    }
    if (!c.session.empty() && handler != &OrvServer::poll) {
        auto notices = sessions_.takeNotices(c.session);
        if (!notices.empty()) {
            std::string arr = "[";
            for (size_t i = 0; i < notices.size(); ++i) {
                if (i) arr += ',';
                appendJsonString(arr, notices[i]);
            }
            arr += ']';
            out.pop_back();
            out += ",\"notices\":" + arr + "}";
        }
    }
    res.set_content(out, "application/json; charset=utf-8");
}

// ---- records ----

std::shared_ptr<const OrvServer::OwnerView> OrvServer::ownerView(uint32_t id) {
    uint64_t generation;
    {
        std::lock_guard lock(viewsMutex_);
        auto it = views_.find(id);
        if (it != views_.end()) return it->second;
        generation = viewsGeneration_;
    }
    auto person = store_->personById(id);
    if (!person) return nullptr;
    auto view = std::make_shared<OwnerView>();
    view->person = std::move(*person);
    auto listings = store_->contactsOf(id);
    std::vector<uint32_t> ids;
    for (const auto& l : listings) ids.push_back(l.person);
    std::unordered_map<uint32_t, OrvPerson> persons;
    for (auto& p : store_->personsByIds(ids)) persons.emplace(p.id, std::move(p));
    for (auto& l : listings) {
        auto it = persons.find(l.person);
        if (it == persons.end()) continue;
        view->listed.insert(l.person);
        view->contacts.push_back(it->second);
        view->listings.push_back(std::move(l));
    }
    std::lock_guard lock(viewsMutex_);
    // A change made while the store was read leaves this view out of the cache.
    if (generation == viewsGeneration_) {
        if (views_.size() >= kViewCacheLimit) views_.clear();
        views_[id] = view;
    }
    return view;
}

void OrvServer::invalidateViews(const std::vector<uint32_t>& owners) {
    std::lock_guard lock(viewsMutex_);
    ++viewsGeneration_;
    for (uint32_t id : owners) views_.erase(id);
}

void OrvServer::invalidateAllViews() {
    std::lock_guard lock(viewsMutex_);
    ++viewsGeneration_;
    views_.clear();
}

bool OrvServer::emailVisible(Context& c, const OrvPerson& p) {
    if (p.id == c.viewer || (p.isMember && !p.emailPrivate)) return true;
    if (!c.viewer) return false;
    if (!c.listedLoaded) {
        if (auto v = ownerView(c.viewer)) c.listed = v->listed;
        c.listedLoaded = true;
    }
    return c.listed.count(p.id) > 0;
}

std::string OrvServer::renderRecord(Context& c, const OrvPerson& p, const OrvListing* listing) {
    std::string firstName = p.firstName, lastName = p.lastName;
    if (!p.isMember && listing) {
        firstName = listing->firstName;
        lastName = listing->lastName;
    }
    bool showEmail = emailVisible(c, p);
    // A nameless contact is named after his address, unless that is hidden.
    if (firstName.empty())
        firstName = showEmail ? cutChars(p.email.substr(0, p.email.find('@')), kNameLimit) : kUnnamed;
    bool self = p.id == c.viewer;
    std::string presence;
    if (p.isMember && (self || !p.chatHidden)) {
        int status = sessions_.presenceOf(p.id);
        if (status == 2 && !self) {
            // Available to friends: shown only to those he lists.
            auto view = c.viewer ? ownerView(p.id) : nullptr;
            if (!view || !view->listed.count(c.viewer)) status = -1;
        }
        if (status >= 0) presence = std::to_string(status);
    }
    bool canChat = p.isMember && !p.chatHidden && !presence.empty();
    return OrvJsonObject()
        .str("id", std::to_string(p.id))
        .num("isMember", p.isMember)
        .num("nodeRank", graph_.rank(p.id))
        .str("firstName", firstName)
        .str("lastName", lastName)
        .str("email", showEmail ? p.email : kPrivateEmail)
        .str("occupation", p.isMember ? p.occupation : std::string())
        .num("emailPrivate", p.emailPrivate || !p.isMember)
        .num("chatHidden", p.chatHidden)
        .str("chatPresence", presence)
        .num("canChat", canChat)
        .finish();
}

std::vector<std::string> OrvServer::records(Context& c, const std::vector<uint32_t>& ids,
                                            const std::vector<const OrvListing*>* listings) {
    std::unordered_map<uint32_t, OrvPerson> persons;
    for (auto& p : store_->personsByIds(ids)) persons.emplace(p.id, std::move(p));
    std::vector<std::string> out(ids.size());
    for (size_t i = 0; i < ids.size(); ++i) {
        auto it = persons.find(ids[i]);
        if (it == persons.end()) continue;
        out[i] = renderRecord(c, it->second, listings ? (*listings)[i] : nullptr);
    }
    return out;
}

std::string OrvServer::ownerRecords(Context& c, const OwnerView& view, bool withOwner, size_t* count) {
    std::string out = "[";
    size_t n = 0;
    if (withOwner) {
        out += renderRecord(c, view.person, nullptr);
        ++n;
    }
    for (size_t i = 0; i < view.contacts.size(); ++i) {
        if (n++) out += ',';
        out += renderRecord(c, view.contacts[i], &view.listings[i]);
    }
    out += ']';
    *count = n;
    return out;
}

std::string OrvServer::recordsJson(Context& c, const std::vector<uint32_t>& ids,
                                   const std::vector<const OrvListing*>* listings, size_t* count) {
    std::string out = "[";
    size_t n = 0;
    for (const auto& r : records(c, ids, listings)) {
        if (r.empty()) continue;
        if (n++) out += ',';
        out += r;
    }
    out += ']';
    if (count) *count = n;
    return out;
}

std::string OrvServer::pathsJson(Context& c, const OrvPathSearch& found) {
    std::vector<uint32_t> ids;
    for (const auto& path : found.paths) ids.insert(ids.end(), path.begin(), path.end());
    std::sort(ids.begin(), ids.end());
    ids.erase(std::unique(ids.begin(), ids.end()), ids.end());
    // Each person is written once, then copied into every path that holds him.
    auto written = records(c, ids, nullptr);
    std::unordered_map<uint32_t, const std::string*> byId;
    for (size_t i = 0; i < ids.size(); ++i) byId[ids[i]] = &written[i];
    std::string out = "[";
    for (size_t i = 0; i < found.paths.size(); ++i) {
        if (i) out += ',';
        out += '[';
        for (size_t k = 0; k < found.paths[i].size(); ++k) {
            if (k) out += ',';
            out += *byId[found.paths[i][k]];
        }
        out += ']';
    }
    out += ']';
    return out;
}

bool OrvServer::listsPerson(uint32_t owner, uint32_t person) {
    auto view = ownerView(owner);
    return view && view->listed.count(person) > 0;
}

// ---- sign-up and log-in ----

std::string OrvServer::verifyUser(Context& c) {
    std::string email = asciiLower(trimBlanks(c.field("email")));
    if (!isValidMemberEmail(email)) throw Answer{"1"};
    std::string code = "0";
    {
        std::lock_guard lock(writeMutex_);
        if (auto account = store_->accountByEmail(email)) {
            if (c.now - account->passwordMailedAt < config_.passwordResendSeconds) {
                code = "9";
            } else {
                std::string password = generatePassword();
                store_->setPendingPassword(account->person.id, hashPassword(password), c.now);
                mailPassword(email, account->person.firstName, password, true);
                code = "5";
            }
        }
    }
    return OrvJsonObject().str("code", code).str("password", "").str("key", email).finish();
}

std::string OrvServer::addUser(Context& c) {
    OrvPerson p;
    p.firstName = trimBlanks(c.field("firstName"));
    p.lastName = trimBlanks(c.field("lastName"));
    p.email = asciiLower(trimBlanks(c.field("email")));
    p.occupation = c.field("occupation");
    std::string hiddenEmail = c.field("hiddenEmail"), hiddenChat = c.field("hiddenChat");
    std::string list = c.field("contacts");
    std::vector<OrvContactItem> contacts;
    if (!isValidName(p.firstName, false) || !isValidName(p.lastName, true) || !isValidMemberEmail(p.email) ||
        !isValidOccupation(p.occupation) || !isValidFlag(hiddenEmail) || !isValidFlag(hiddenChat) ||
        !parseAddList(list, contacts))
        throw Answer{"1"};
    for (const auto& item : contacts)
        if (item.email == p.email) throw Answer{"1"};
    p.emailPrivate = hiddenEmail == "1";
    p.chatHidden = hiddenChat == "1";
    std::string password = generatePassword();
    std::string hash = hashPassword(password);
    {
        std::lock_guard lock(writeMutex_);
        std::vector<uint32_t> changed;
        uint32_t id = store_->createMember(p, hash, c.now, contacts, changed);
        if (id == 0) throw Answer{"4"};
        refreshGraph(changed);
        invalidateAllViews();  // a listed person may have become a member
    }
    mailPassword(p.email, p.firstName, password, false);
    return OrvJsonObject().str("code", "0").finish();
}

std::string OrvServer::checkUser(Context& c) {
    std::string email = asciiLower(trimBlanks(c.field("email")));
    std::string password = c.field("password");
    std::string kind = c.field("clientKind");
    std::string clientVersion = c.field("version");
    if (!isValidMemberEmail(email) || password.empty() || password.size() > 128 || kind.size() > 16 ||
        clientVersion.size() > 32)
        throw Answer{"1"};
    int64_t wait = sessions_.loginWait(email, c.now);
    if (wait > 0) {
        std::string blank = R"({"code":"9","memberId":"","key":"","firstName":"","lastName":"","occupation":"",)"
                            R"("sessionId":"","bannerPeriod":0,"panelUrl1":"","chatServer":"","chatPort":"",)"
                            R"("chatDelay":"","panelUrl2":"","chatPingRate":"","idleLimit":0,"reserved":0,)"
                            R"("serverInfo":"","retryAfter":)" + std::to_string(wait) + "}";
        return blank;
    }
    auto account = store_->accountByEmail(email);
    bool ok = false;
    if (account) {
        if (verifyPassword(account->passwordHash, password)) {
            ok = true;
        } else if (verifyPassword(account->pendingHash, password)) {
            ok = true;
            std::lock_guard lock(writeMutex_);
            store_->usePendingPassword(account->person.id);
        }
    }
    if (!ok) {
        sessions_.loginFailed(email, c.now);
        throw Answer{"5"};
    }
    sessions_.loginSucceeded(email);
    store_->markLoggedIn(account->person.id);
    std::string session = sessions_.open(account->person.id, c.now);
    c.session = session;
    std::string base = config_.effectivePublicUrl();
    const OrvPerson& p = account->person;
    return OrvJsonObject()
        .str("code", "0")
        .str("memberId", std::to_string(p.id))
        .str("key", p.email)
        .str("firstName", p.firstName)
        .str("lastName", p.lastName)
        .str("occupation", p.occupation)
        .str("sessionId", session)
        .num("bannerPeriod", config_.bannerPeriod)
        .str("panelUrl1", base + "/panel/active.html")
        .str("chatServer", config_.chatServer)
        .str("chatPort", config_.chatPort)
        .str("chatDelay", config_.chatDelay)
        .str("panelUrl2", base + "/panel/inactive.html")
        .str("chatPingRate", config_.chatPingRate)
        .num("idleLimit", config_.idleLimit)
        .num("reserved", 0)
        .str("serverInfo", kServerInfo)
        .finish();
}

std::string OrvServer::changeEmail(Context& c) {
    std::string current = asciiLower(trimBlanks(c.field("email")));
    std::string wanted = asciiLower(trimBlanks(c.field("newEmail")));
    if (!isValidMemberEmail(current) || !isValidMemberEmail(wanted)) throw Answer{"1"};
    std::string password = generatePassword();
    std::string hash = hashPassword(password);
    std::string firstName;
    {
        std::lock_guard lock(writeMutex_);
        auto account = store_->accountByEmail(current);
        if (!account) throw Answer{"2"};
        if (account->loggedInOnce) throw Answer{"4"};
        if (wanted == current) throw Answer{"4"};
        auto other = store_->personByEmail(wanted);
        if (other && other->isMember) throw Answer{"4"};
        std::vector<uint32_t> changed;
        store_->changeEmail(account->person.id, wanted, hash, c.now, changed);
        refreshGraph(changed);
        invalidateAllViews();
        firstName = account->person.firstName;
    }
    mailPassword(wanted, firstName, password, false);
    return OrvJsonObject().str("code", "0").finish();
}

// ---- session ----

std::string OrvServer::startInfo(Context& c) {
    auto account = store_->accountById(c.viewer);
    if (!account) throw Answer{"3"};
    auto view = ownerView(c.viewer);
    size_t listed = view ? view->contacts.size() : 0;
    uint32_t listers = graph_.rank(c.viewer);
    uint64_t members = store_->memberCount();
    const OrvPerson& p = account->person;
    std::string name = htmlEscape(p.firstName + (p.lastName.empty() ? "" : " " + p.lastName));
    std::string page =
        "<!DOCTYPE html><html><head><meta charset=\"utf-8\"><title>Orvane</title></head>"
        "<body style=\"font-family:Tahoma,sans-serif\"><h2>Hello " + name + "</h2>"
        "<p>Your contact list holds " + std::to_string(listed) + " people; " + std::to_string(listers) +
        " members list you.</p><p>The Orvane network has " + std::to_string(members) +
        " members.</p></body></html>";
    return OrvJsonObject().str("code", "0").str("page", page).finish();
}

std::string OrvServer::dropUser(Context& c) {
    std::string email;
    {
        std::lock_guard lock(writeMutex_);
        auto account = store_->accountById(c.viewer);
        if (!account) throw Answer{"3"};
        email = account->person.email;
        std::vector<uint32_t> changed;
        store_->dropMember(c.viewer, changed);
        refreshGraph(changed);
        invalidateAllViews();
    }
    sessions_.closeMember(c.viewer);
    c.session.clear();
    return OrvJsonObject().str("code", "0").str("value", email).finish();
}

std::string OrvServer::killSession(Context& c) {
    std::string session = c.field("session");
    if (!sessions_.close(session)) throw Answer{"3"};
    return OrvJsonObject().str("code", "0").finish();
}

std::string OrvServer::updateStatus(Context& c) {
    int status;
    if (!parseStatus(c.field("status"), status)) throw Answer{"1"};
    sessions_.setPresence(c.session, status, std::string(), c.now);
    return OrvJsonObject().str("code", "0").finish();
}

std::string OrvServer::updateIrcTime(Context& c) {
    std::string nickname = c.field("nickname");
    int status;
    if (!isValidNickname(nickname) || !parseStatus(c.field("status"), status)) throw Answer{"1"};
    sessions_.setPresence(c.session, status, nickname, c.now);
    std::vector<uint32_t> notify;
    for (uint32_t lister : store_->listersOf(c.viewer)) {
        if (sessions_.presenceOf(lister) < 0) continue;
        if (status == 2 && !listsPerson(c.viewer, lister)) continue;
        notify.push_back(lister);
    }
    size_t count = 0;
    std::string list = recordsJson(c, notify, nullptr, &count);
    return OrvJsonObject().str("code", "0").num("count", static_cast<int64_t>(count)).raw("records", list).finish();
}

std::string OrvServer::poll(Context& c) {
    if (c.session.empty()) throw Answer{"3"};
    auto notices = sessions_.takeNotices(c.session);
    std::string arr = "[";
    for (size_t i = 0; i < notices.size(); ++i) {
        if (i) arr += ',';
        appendJsonString(arr, notices[i]);
    }
    arr += ']';
    return OrvJsonObject().str("code", "0").raw("notices", arr).finish();
}

// The chat server's log-in check: is the credential a live session of
// exactly this member? Read only, so a burst of chat log-ins costs no write.
std::string OrvServer::chatAuth(Context& c) {
    std::string idText = c.field("id");
    std::string credential = c.field("credential");
    if (idText.empty() || idText.size() > 10 || credential.empty() || credential.size() > kCredentialMax)
        throw Answer{"1"};
    uint64_t id = 0;
    for (char ch : idText) {
        if (ch < '0' || ch > '9') throw Answer{"1"};
        id = id * 10 + static_cast<uint64_t>(ch - '0');
    }
    auto member = sessions_.peek(credential, c.now);
    if (!member || *member != id) throw Answer{"3"};
    return OrvJsonObject().str("code", "0").finish();
}

// ---- trees and searches ----

static std::string countedRecords(const char* code, const std::string& records, size_t count) {
    return OrvJsonObject().str("code", code).num("count", static_cast<int64_t>(count)).raw("records", records).finish();
}

std::string OrvServer::getTree(Context& c) {
    uint32_t id;
    if (!parseId(trimBlanks(c.field("id")), id)) throw Answer{"1"};
    auto view = ownerView(id);
    if (!view) throw Answer{"2"};
    size_t count = 0;
    std::string list = ownerRecords(c, *view, true, &count);
    return countedRecords("0", list, count);
}

std::string OrvServer::search(Context& c) {
    std::string query = c.field("query");
    std::string kind = c.field("kind");
    std::vector<uint32_t> ids;
    if (kind == "1" && trimBlanks(query).empty()) {
        ids = store_->acquaintances(c.viewer, kSearchLimit);
    } else {
        OrvSearchKind k;
        if (kind.empty() || kind == "0" || kind == "1") k = OrvSearchKind::All;
        else if (kind == "2") k = OrvSearchKind::Names;
        else if (kind == "3") k = OrvSearchKind::Email;
        else if (kind == "4") k = OrvSearchKind::FreeText;
        else throw Answer{"1"};
        std::vector<std::string> words;
        if (!parseQuery(query, words)) throw Answer{"1"};
        ids = store_->searchMembers(words, k, c.viewer, kSearchLimit);
    }
    size_t count = 0;
    std::string list = recordsJson(c, ids, nullptr, &count);
    if (count == 0) throw Answer{"2"};
    return countedRecords("0", list, count);
}

bool OrvServer::resolveEnd(const std::string& raw, uint32_t& id) {
    std::string text = trimBlanks(raw);
    if (text.find('@') != std::string::npos) {
        size_t n = charCount(text);
        if (n < kQueryMin || n > kQueryMax) throw Answer{"1"};
        auto p = store_->personByEmail(asciiLower(text));
        if (!p) return false;
        id = p->id;
        return true;
    }
    if (!parseId(text, id)) throw Answer{"1"};
    return store_->personById(id).has_value();
}

std::string OrvServer::searchPath(Context& c) {
    std::string sourceText = c.field("source"), destinationText = c.field("destination");
    uint32_t source = 0, destination = 0;
    bool haveSource = resolveEnd(sourceText, source);
    bool haveDestination = resolveEnd(destinationText, destination);
    if (!haveSource) throw Answer{"10"};
    if (!haveDestination) throw Answer{"2"};
    if (source == destination) throw Answer{"1"};
    OrvPathSearch found = graph_.shortestPaths({source}, {destination}, kPathDepth, kPathLimit);
    if (found.paths.empty()) throw Answer{"11"};
    std::string paths = pathsJson(c, found);
    // The ends' addresses as the caller may see them, else the text he sent.
    auto visible = [&](uint32_t id, const std::string& sent) {
        auto p = store_->personById(id);
        return p && emailVisible(c, *p) ? p->email : trimBlanks(sent);
    };
    std::string sourceEmail = visible(source, sourceText);
    std::string destinationEmail = visible(destination, destinationText);
    return OrvJsonObject()
        .str("code", "0")
        .str("sourceEmail", sourceEmail)
        .str("destination", destinationEmail)
        .str("hops", std::to_string(found.hops))
        .num("count", static_cast<int64_t>(found.paths.size()))
        .raw("paths", paths)
        .finish();
}

std::string OrvServer::searchPathKeywords(Context& c) {
    std::string sourceText = c.field("source"), keywords = c.field("keywords");
    uint32_t source = 0;
    std::vector<std::string> words;
    if (!parseQuery(keywords, words)) throw Answer{"1"};
    if (!resolveEnd(sourceText, source)) throw Answer{"10"};
    std::vector<uint32_t> targets = store_->searchMembers(words, OrvSearchKind::All, source, kSearchLimit);
    if (targets.empty()) throw Answer{"11"};
    OrvPathSearch found = graph_.shortestPaths({source}, targets, kPathDepth, kPathLimit);
    if (found.paths.empty()) throw Answer{"2"};
    return OrvJsonObject()
        .str("code", "0")
        .num("count", static_cast<int64_t>(found.paths.size()))
        .raw("paths", pathsJson(c, found))
        .finish();
}

// ---- the member's own list and profile ----

std::string OrvServer::getContacts(Context& c) {
    auto view = ownerView(c.viewer);
    if (!view) throw Answer{"3"};
    size_t count = 0;
    std::string list = ownerRecords(c, *view, false, &count);
    return OrvJsonObject()
        .str("code", "0")
        .str("email", view->person.email)
        .num("count", static_cast<int64_t>(count))
        .raw("records", list)
        .finish();
}

std::string OrvServer::contactChange(Context& c, const std::vector<uint32_t>& drops,
                                     const std::vector<OrvContactItem>& adds) {
    std::lock_guard lock(writeMutex_);
    std::vector<uint32_t> changed;
    switch (store_->changeContacts(c.viewer, drops, adds, changed)) {
        case OrvListChange::Self: throw Answer{"1"};
        case OrvListChange::TooMany: throw Answer{"4"};
        case OrvListChange::Ok: break;
    }
    refreshGraph(changed);
    return OrvJsonObject().str("code", "0").finish();
}

std::string OrvServer::addContacts(Context& c) {
    std::vector<OrvContactItem> adds;
    if (!parseAddList(c.field("list"), adds)) throw Answer{"1"};
    return contactChange(c, {}, adds);
}

std::string OrvServer::dropContacts(Context& c) {
    std::vector<uint32_t> drops;
    if (!parseDropList(c.field("list"), drops)) throw Answer{"1"};
    return contactChange(c, drops, {});
}

std::string OrvServer::dropAddContacts(Context& c) {
    std::vector<uint32_t> drops;
    std::vector<OrvContactItem> adds;
    if (!parseDropList(c.field("dropList"), drops) || !parseAddList(c.field("addList"), adds))
        throw Answer{"1"};
    return contactChange(c, drops, adds);
}

std::string OrvServer::updateContacts(Context& c) {
    std::vector<OrvNameUpdate> updates;
    if (!parseNameUpdateList(c.field("list"), updates)) throw Answer{"1"};
    for (auto& u : updates) {
        u.firstName = cutChars(u.firstName, kNameLimit);
        u.lastName = cutChars(u.lastName, kNameLimit);
    }
    std::lock_guard lock(writeMutex_);
    store_->renameContacts(c.viewer, updates);
    invalidateViews({c.viewer});
    return OrvJsonObject().str("code", "0").finish();
}

std::string OrvServer::updateUser(Context& c) {
    std::string first = trimBlanks(c.field("firstName"));
    std::string last = trimBlanks(c.field("lastName"));
    std::string occupation = c.field("occupation");
    std::string hiddenEmail = c.field("hiddenEmail");
    std::string reserved = c.field("reserved");
    if (!isValidName(first, false) || !isValidName(last, true) || !isValidOccupation(occupation) ||
        !isValidFlag(hiddenEmail) || !(reserved.empty() || isValidFlag(reserved)))
        throw Answer{"1"};
    std::lock_guard lock(writeMutex_);
    store_->updateProfile(c.viewer, first, last, occupation, hiddenEmail == "1");
    invalidateAllViews();
    return OrvJsonObject().str("code", "0").finish();
}

std::string OrvServer::version(Context& c) {
    std::string clientVersion = trimBlanks(c.field("version"));
    if (!isValidVersion(clientVersion))
        return OrvJsonObject().str("code", "1").str("action", "").str("arg1", "").str("arg2", "").finish();
    auto answer = [](const char* action, const std::string& a1, const std::string& a2) {
        return OrvJsonObject().str("code", "0").str("action", action).str("arg1", a1).str("arg2", a2).finish();
    };
    if (config_.updateHoldMinutes > 0) return answer("2", "", std::to_string(config_.updateHoldMinutes));
    if (config_.updateVersion.empty() || config_.updateFile.empty() ||
        compareVersions(clientVersion, config_.updateVersion) >= 0)
        return answer("0", "", "");
    struct stat st {};
    std::string file = config_.dataDir + "/download/" + config_.updateFile;
    if (::stat(file.c_str(), &st) != 0 || !S_ISREG(st.st_mode))
        return answer("2", "", std::to_string(config_.updateRetryMinutes));
    return answer("1", config_.updateVersion,
                  config_.effectivePublicUrl() + "/download/" + config_.updateFile);
}

}  // namespace orv
