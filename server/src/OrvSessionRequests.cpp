#include "OrvSessionRequests.h"

#include "OrvJson.h"
#include "OrvServer.h"
#include "OrvValidation.h"

namespace orv {

namespace {

const char* kServerInfo = "orvane-server/1.0";
constexpr size_t kCredentialMax = 64;  // a session id has 32 characters

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

}  // namespace

void OrvSessionRequests::mailPassword(const std::string& email, const std::string& firstName,
                                      const std::string& password, bool again) {
    std::string body = "Hello" + (firstName.empty() ? std::string() : " " + firstName) + ",\n\n";
    body += again ? "Here is a new personal password for Orvane, as you asked:\n\n"
                  : "Welcome to Orvane. Your personal password is:\n\n";
    body += "    " + password + "\n\n";
    body += "Copy it and paste it in the Orvane log-in window.\n";
    if (again) body += "Your previous password keeps working until you log in with this one.\n";
    body += "\nOrvane\n";
    server_.mailer().send(email, "Your Orvane password", body);
}

// ---- sign-up and log-in ----

std::string OrvSessionRequests::verifyUser(OrvRequest& r) {
    std::string email = asciiLower(trimBlanks(r.field("email")));
    if (!isValidMemberEmail(email)) throw OrvAnswer{"1"};
    std::string code = "0";
    if (auto account = server_.store().accountByEmail(email)) {
        code = "9";
        if (r.now - account->passwordMailedAt >= server_.config().passwordResendSeconds) {
            // Hashed outside any lock; stored only if no other request mailed a
            // password since the account was read (that one counts, this is "9").
            std::string password = OrvPasswords::generate();
            std::string hash = server_.passwords().hash(password);
            if (server_.store().setPendingPassword(account->person.id, hash, r.now, account->passwordMailedAt)) {
                mailPassword(email, account->person.firstName, password, true);
                code = "5";
            }
        }
    }
    return OrvJsonObject().str("code", code).str("password", "").str("key", email).finish();
}

std::string OrvSessionRequests::addUser(OrvRequest& r) {
    OrvPerson p;
    p.firstName = trimBlanks(r.field("firstName"));
    p.lastName = trimBlanks(r.field("lastName"));
    p.email = asciiLower(trimBlanks(r.field("email")));
    p.occupation = r.field("occupation");
    std::string hiddenEmail = r.field("hiddenEmail"), hiddenChat = r.field("hiddenChat");
    std::string list = r.field("contacts");
    std::vector<OrvContactItem> contacts;
    if (!isValidName(p.firstName, false) || !isValidName(p.lastName, true) || !isValidMemberEmail(p.email) ||
        !isValidOccupation(p.occupation) || !isValidFlag(hiddenEmail) || !isValidFlag(hiddenChat) ||
        !parseAddList(list, contacts))
        throw OrvAnswer{"1"};
    for (const auto& item : contacts)
        if (item.email == p.email) throw OrvAnswer{"1"};
    p.emailPrivate = hiddenEmail == "1";
    p.chatHidden = hiddenChat == "1";
    std::string password = OrvPasswords::generate();
    std::string hash = server_.passwords().hash(password);
    {
        std::lock_guard lock(server_.writeMutex());
        std::vector<uint32_t> changed;
        uint32_t id = server_.store().createMember(p, hash, r.now, contacts, changed);
        if (id == 0) throw OrvAnswer{"4"};
        server_.refreshGraph(changed);
        server_.records().invalidateAll();  // a listed person may have become a member
    }
    mailPassword(p.email, p.firstName, password, false);
    return OrvJsonObject().str("code", "0").finish();
}

std::string OrvSessionRequests::checkUser(OrvRequest& r) {
    std::string email = asciiLower(trimBlanks(r.field("email")));
    std::string password = r.field("password");
    std::string kind = r.field("clientKind");
    std::string clientVersion = r.field("version");
    if (!isValidMemberEmail(email) || password.empty() || password.size() > 128 || kind.size() > 16 ||
        clientVersion.size() > 32)
        throw OrvAnswer{"1"};
    OrvSessions& sessions = server_.sessions();
    int64_t wait = sessions.loginWait(email, r.now);
    if (wait > 0) {
        std::string blank = R"({"code":"9","memberId":"","key":"","firstName":"","lastName":"","occupation":"",)"
                            R"("sessionId":"","bannerPeriod":0,"panelUrl1":"","chatServer":"","chatPort":"",)"
                            R"("chatDelay":"","panelUrl2":"","chatPingRate":"","idleLimit":0,"reserved":0,)"
                            R"("serverInfo":"","retryAfter":)" + std::to_string(wait) + "}";
        return blank;
    }
    auto account = server_.store().accountByEmail(email);
    bool ok = false;
    if (account) {
        if (server_.passwords().verify(account->passwordHash, password)) {
            ok = true;
        } else if (server_.passwords().verify(account->pendingHash, password)) {
            ok = true;
            server_.store().usePendingPassword(account->person.id, account->pendingHash);
        }
    }
    if (!ok) {
        sessions.loginFailed(email, r.now);
        throw OrvAnswer{"5"};
    }
    sessions.loginSucceeded(email);
    if (!account->loggedInOnce) server_.store().markLoggedIn(account->person.id);
    std::string session = sessions.open(account->person.id, r.now);
    r.session = session;
    const OrvConfig& config = server_.config();
    std::string base = config.effectivePublicUrl();
    const OrvPerson& p = account->person;
    return OrvJsonObject()
        .str("code", "0")
        .str("memberId", std::to_string(p.id))
        .str("key", p.email)
        .str("firstName", p.firstName)
        .str("lastName", p.lastName)
        .str("occupation", p.occupation)
        .str("sessionId", session)
        .num("bannerPeriod", config.bannerPeriod)
        .str("panelUrl1", base + "/panel/active.html")
        .str("chatServer", config.chatServer)
        .str("chatPort", config.chatPort)
        .str("chatDelay", config.chatDelay)
        .str("panelUrl2", base + "/panel/inactive.html")
        .str("chatPingRate", config.chatPingRate)
        .num("idleLimit", config.idleLimit)
        .num("reserved", 0)
        .str("serverInfo", kServerInfo)
        .finish();
}

std::string OrvSessionRequests::changeEmail(OrvRequest& r) {
    std::string current = asciiLower(trimBlanks(r.field("email")));
    std::string wanted = asciiLower(trimBlanks(r.field("newEmail")));
    if (!isValidMemberEmail(current) || !isValidMemberEmail(wanted)) throw OrvAnswer{"1"};
    std::string password = OrvPasswords::generate();
    std::string hash = server_.passwords().hash(password);
    std::string firstName;
    {
        std::lock_guard lock(server_.writeMutex());
        OrvStore& store = server_.store();
        auto account = store.accountByEmail(current);
        if (!account) throw OrvAnswer{"2"};
        if (account->loggedInOnce) throw OrvAnswer{"4"};
        if (wanted == current) throw OrvAnswer{"4"};
        auto other = store.personByEmail(wanted);
        if (other && other->isMember) throw OrvAnswer{"4"};
        std::vector<uint32_t> changed;
        store.changeEmail(account->person.id, wanted, hash, r.now, changed);
        server_.refreshGraph(changed);
        server_.records().invalidateAll();
        firstName = account->person.firstName;
    }
    mailPassword(wanted, firstName, password, false);
    return OrvJsonObject().str("code", "0").finish();
}

// ---- session ----

std::string OrvSessionRequests::startInfo(OrvRequest& r) {
    auto account = server_.store().accountById(r.viewer);
    if (!account) throw OrvAnswer{"3"};
    auto view = server_.records().ownerView(r.viewer);
    size_t listed = view ? view->contacts.size() : 0;
    uint32_t listers = server_.graph().rank(r.viewer);
    uint64_t members = server_.store().memberCount();
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

std::string OrvSessionRequests::dropUser(OrvRequest& r) {
    std::string email;
    {
        std::lock_guard lock(server_.writeMutex());
        auto account = server_.store().accountById(r.viewer);
        if (!account) throw OrvAnswer{"3"};
        email = account->person.email;
        std::vector<uint32_t> changed;
        server_.store().dropMember(r.viewer, changed);
        server_.refreshGraph(changed);
        server_.records().invalidateAll();
    }
    server_.sessions().closeMember(r.viewer);
    r.session.clear();
    return OrvJsonObject().str("code", "0").str("value", email).finish();
}

std::string OrvSessionRequests::killSession(OrvRequest& r) {
    std::string session = r.field("session");
    if (!server_.sessions().close(session)) throw OrvAnswer{"3"};
    return OrvJsonObject().str("code", "0").finish();
}

std::string OrvSessionRequests::updateStatus(OrvRequest& r) {
    int status;
    if (!parseStatus(r.field("status"), status)) throw OrvAnswer{"1"};
    server_.sessions().setPresence(r.session, status, std::string(), r.now);
    return OrvJsonObject().str("code", "0").finish();
}

std::string OrvSessionRequests::updateIrcTime(OrvRequest& r) {
    std::string nickname = r.field("nickname");
    int status;
    if (!isValidNickname(nickname) || !parseStatus(r.field("status"), status)) throw OrvAnswer{"1"};
    OrvSessions& sessions = server_.sessions();
    sessions.setPresence(r.session, status, nickname, r.now);
    std::vector<uint32_t> notify;
    for (uint32_t lister : server_.store().listersOf(r.viewer)) {
        if (sessions.presenceOf(lister) < 0) continue;
        if (status == 2 && !server_.records().listsPerson(r.viewer, lister)) continue;
        notify.push_back(lister);
    }
    size_t count = 0;
    std::string list = server_.records().recordsJson(r, notify, nullptr, &count);
    return OrvJsonObject().str("code", "0").num("count", static_cast<int64_t>(count)).raw("records", list).finish();
}

std::string OrvSessionRequests::poll(OrvRequest& r) {
    if (r.session.empty()) throw OrvAnswer{"3"};
    auto notices = server_.sessions().takeNotices(r.session);
    std::string arr = "[";
    for (size_t i = 0; i < notices.size(); ++i) {
        if (i) arr += ',';
        appendJsonString(arr, notices[i]);
    }
    arr += ']';
    return OrvJsonObject().str("code", "0").raw("notices", arr).finish();
}

std::string OrvSessionRequests::version(OrvRequest& r) {
    std::string clientVersion = trimBlanks(r.field("version"));
    if (!isValidVersion(clientVersion))
        return OrvJsonObject().str("code", "1").str("action", "").str("arg1", "").str("arg2", "").finish();
    auto answer = [](const char* action, const std::string& a1, const std::string& a2) {
        return OrvJsonObject().str("code", "0").str("action", action).str("arg1", a1).str("arg2", a2).finish();
    };
    const OrvConfig& config = server_.config();
    if (config.updateHoldMinutes > 0) return answer("2", "", std::to_string(config.updateHoldMinutes));
    OrvVersionAnswer a = server_.versions().answer(clientVersion, config.dataDir + "/download",
                                                   config.effectivePublicUrl(), config.updateRetryMinutes);
    return answer(a.action.c_str(), a.arg1, a.arg2);
}

// The chat server's log-in check: is the credential a live session of
// exactly this member? Read only, so a burst of chat log-ins costs no write.
std::string OrvSessionRequests::chatAuth(OrvRequest& r) {
    std::string idText = r.field("id");
    std::string credential = r.field("credential");
    if (idText.empty() || idText.size() > 10 || credential.empty() || credential.size() > kCredentialMax)
        throw OrvAnswer{"1"};
    uint64_t id = 0;
    for (char ch : idText) {
        if (ch < '0' || ch > '9') throw OrvAnswer{"1"};
        id = id * 10 + static_cast<uint64_t>(ch - '0');
    }
    auto member = server_.sessions().peek(credential, r.now);
    if (!member || *member != id) throw OrvAnswer{"3"};
    return OrvJsonObject().str("code", "0").finish();
}

}  // namespace orv
