// End to end: a real server on a free loopback port inside the test process,
// spoken to over HTTP as the client library does.
#include <gtest/gtest.h>

#include <httplib.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <fstream>
#include <memory>
#include <nlohmann/json.hpp>
#include <regex>
#include <sstream>
#include <thread>

#include "OrvDemo.h"
#include "OrvServer.h"
#include "OrvValidation.h"
#include "TestDir.h"

using namespace orv;
using nlohmann::json;

namespace {

struct Member {
    std::string email;
    std::string password;
    std::string id;
    std::string session;
};

class HttpTest : public ::testing::Test {
protected:
    void SetUp() override {
        OrvConfig c;
        c.port = 0;
        c.dataDir = dir.path() + "/data";
        c.passwordStrength = "min";
        c.passwordResendSeconds = 0;
        c.adminToken = "secret-token";
        c.updateVersion = "2.0.0";
        c.updateFile = "orvane-2.0.0.cab";
        c.chatServer = "irc.example.org";
        c.threads = 8;
        configure(c);
        server = std::make_unique<OrvServer>(c);
        port = server->bind();
        server->start();
        client = std::make_unique<httplib::Client>("127.0.0.1", port);
    }
    void TearDown() override {
        client.reset();
        server->stop();
    }
    virtual void configure(OrvConfig&) {}

    json call(const std::string& name, const json& body) {
        auto res = client->Post(("/api/v1/" + name).c_str(), body.dump(), "application/json");
        EXPECT_TRUE(res);
        if (!res) return json();
        EXPECT_EQ(res->status, 200) << name << ": " << res->body;
        auto j = json::parse(res->body, nullptr, false);
        EXPECT_TRUE(j.is_object() && j["code"].is_string()) << res->body;
        return j;
    }

    std::string outbox() const { return dir.path() + "/data/outbox"; }

    // The password of the newest message to this address.
    std::string mailedPassword(const std::string& email) {
        std::string best, bestName;
        for (auto& e : std::filesystem::directory_iterator(outbox())) {
            std::ifstream in(e.path());
            std::stringstream ss;
            ss << in.rdbuf();
            std::string text = ss.str();
            if (text.find("To: " + email + "\r\n") == std::string::npos) continue;
            if (e.path().filename().string() < bestName) continue;
            std::smatch m;
            if (std::regex_search(text, m, std::regex("\r\n    ([A-Za-z0-9]{10})\r\n"))) {
                best = m[1];
                bestName = e.path().filename().string();
            }
        }
        return best;
    }

    json logIn(const std::string& email, const std::string& password) {
        return call("check-user", {{"email", email}, {"password", password}, {"clientKind", "1"}, {"version", "1.0"}});
    }

    Member signUp(const std::string& first, const std::string& email, const std::string& contacts = "",
                  const std::string& hiddenEmail = "0") {
        Member m;
        m.email = email;
        EXPECT_EQ(call("verify-user", {{"email", email}})["code"], "0");
        json r = call("add-user", {{"firstName", first}, {"lastName", "Tester"}, {"email", email},
                                   {"occupation", "Tester of things"}, {"hiddenEmail", hiddenEmail},
                                   {"hiddenChat", "0"}, {"contacts", contacts}});
        EXPECT_EQ(r["code"], "0");
        m.password = mailedPassword(asciiLower(email));  // the server keeps addresses in lower case
        EXPECT_EQ(m.password.size(), 10u);
        json login = logIn(email, m.password);
        EXPECT_EQ(login["code"], "0");
        m.id = login["memberId"];
        m.session = login["sessionId"];
        return m;
    }

    static std::vector<std::string> ids(const json& records) {
        std::vector<std::string> out;
        for (auto& r : records) out.push_back(r["id"]);
        return out;
    }

    TestDir dir;
    std::unique_ptr<OrvServer> server;
    std::unique_ptr<httplib::Client> client;
    int port = 0;
};

}  // namespace

TEST_F(HttpTest, SignUpMailsAPasswordAndLogInGivesSeventeenValues) {
    Member dana = signUp("Dana", "Dana@Example.com");
    json r = logIn("dana@example.com", dana.password);
    ASSERT_EQ(r["code"], "0");
    const char* names[] = {"code", "memberId", "key", "firstName", "lastName", "occupation", "sessionId",
                           "bannerPeriod", "panelUrl1", "chatServer", "chatPort", "chatDelay", "panelUrl2",
                           "chatPingRate", "idleLimit", "reserved", "serverInfo"};
    for (const char* n : names) EXPECT_TRUE(r.contains(n)) << n;
    EXPECT_EQ(r["key"], "dana@example.com");
    EXPECT_EQ(r["firstName"], "Dana");
    EXPECT_EQ(r["chatServer"], "irc.example.org");
    EXPECT_TRUE(r["bannerPeriod"].is_number());
    EXPECT_TRUE(r["idleLimit"].is_number());
    std::string sid = r["sessionId"];
    EXPECT_TRUE(std::regex_match(sid, std::regex("[0-9a-f]{32}")));
    EXPECT_NE(sid, dana.session);
    // The panel pages named in the answer are served by the server itself.
    std::string panel = r["panelUrl1"];
    auto res = client->Get(panel.substr(panel.find("/panel")).c_str());
    ASSERT_TRUE(res);
    EXPECT_EQ(res->status, 200);
    EXPECT_NE(res->body.find("<html"), std::string::npos);
}

TEST_F(HttpTest, VerifyTellsRegisteredAddressesAndMailsAgain) {
    Member dana = signUp("Dana", "dana@example.com");
    json v = call("verify-user", {{"email", "dana@example.com"}});
    EXPECT_EQ(v["code"], "5");
    EXPECT_EQ(v["password"], "");
    std::string again = mailedPassword("dana@example.com");
    ASSERT_NE(again, dana.password);
    // Both work until the new one is used; then only the new one.
    EXPECT_EQ(logIn("dana@example.com", dana.password)["code"], "0");
    EXPECT_EQ(logIn("dana@example.com", again)["code"], "0");
    EXPECT_EQ(logIn("dana@example.com", again)["code"], "0");
    EXPECT_EQ(logIn("dana@example.com", dana.password)["code"], "5");
    EXPECT_EQ(call("verify-user", {{"email", "not an address"}})["code"], "1");
}

TEST_F(HttpTest, SignUpRefusesBadInputAndChangesNothing) {
    json base = {{"firstName", "Dana"}, {"lastName", "Levi"}, {"email", "dana@example.com"},
                 {"occupation", ""}, {"hiddenEmail", "0"}, {"hiddenChat", "0"}, {"contacts", ""}};
    auto with = [&](const char* key, const json& value) {
        json b = base;
        if (value.is_null()) b.erase(key);
        else b[key] = value;
        return call("add-user", b)["code"];
    };
    EXPECT_EQ(with("firstName", std::string(16, 'a')), "1");
    EXPECT_EQ(with("firstName", ""), "1");
    EXPECT_EQ(with("lastName", "Le<vi"), "1");
    EXPECT_EQ(with("email", "dana@example.info"), "1");
    EXPECT_EQ(with("occupation", std::string(251, 'x')), "1");
    EXPECT_EQ(with("hiddenEmail", "yes"), "1");
    EXPECT_EQ(with("hiddenChat", nullptr), "1");
    EXPECT_EQ(with("contacts", "A,B,dana@example.com"), "1");  // himself
    EXPECT_EQ(with("contacts", "A,B,a@example.com;C,D"), "1");
    EXPECT_EQ(with("firstName", 42), "1");
    EXPECT_FALSE(server->store().personByEmail("dana@example.com"));
    EXPECT_FALSE(server->store().personByEmail("a@example.com"));
    EXPECT_EQ(with("contacts", "A,B,a@example.com"), "0");
    EXPECT_EQ(with("contacts", ""), "4");  // registered now
}

TEST_F(HttpTest, RepeatedFailedLogInsAreSlowedDown) {
    Member dana = signUp("Dana", "dana@example.com");
    for (int i = 0; i < 5; ++i) EXPECT_EQ(logIn("dana@example.com", "wrong-password")["code"], "5");
    json r = logIn("dana@example.com", dana.password);
    EXPECT_EQ(r["code"], "9");
    EXPECT_GE(r["retryAfter"].get<int>(), 1);
    EXPECT_EQ(r["sessionId"], "");
    // Another address is not affected; unknown addresses get the same "5".
    EXPECT_EQ(logIn("nobody@example.com", "whatever")["code"], "5");
}

TEST_F(HttpTest, TransportFaultsUseHttpStatus) {
    auto big = client->Post("/api/v1/get-tree", std::string(70000, ' '), "application/json");
    ASSERT_TRUE(big);
    EXPECT_EQ(big->status, 413);
    auto bad = client->Post("/api/v1/get-tree", "{not json", "application/json");
    ASSERT_TRUE(bad);
    EXPECT_EQ(bad->status, 400);
    auto array = client->Post("/api/v1/get-tree", "[1,2]", "application/json");
    ASSERT_TRUE(array);
    EXPECT_EQ(array->status, 400);
    auto get = client->Get("/api/v1/get-tree");
    ASSERT_TRUE(get);
    EXPECT_EQ(get->status, 405);
    auto unknown = client->Post("/api/v1/no-such-command", "{}", "application/json");
    ASSERT_TRUE(unknown);
    EXPECT_EQ(unknown->status, 404);
}

TEST_F(HttpTest, SessionsEndAndUnknownOnesGetThree) {
    Member dana = signUp("Dana", "dana@example.com");
    json r = call("get-tree", {{"id", dana.id}, {"session", "0123456789abcdef0123456789abcdef"}});
    EXPECT_EQ(r["code"], "3");
    EXPECT_EQ(r["count"], 0);
    EXPECT_TRUE(r["records"].is_array());
    EXPECT_EQ(call("get-tree", {{"id", dana.id}})["code"], "1");  // no session member at all
    EXPECT_EQ(call("kill-session", {{"session", dana.session}})["code"], "0");
    EXPECT_EQ(call("kill-session", {{"session", dana.session}})["code"], "3");
    EXPECT_EQ(call("get-contacts", {{"session", dana.session}})["code"], "3");
}

TEST_F(HttpTest, TreeIsThePersonThenHisListWithRanksAndPrivacy) {
    Member omer = signUp("Omer", "omer@example.com", "", "1");  // hides his address
    Member dana = signUp("Dana", "dana@example.com",
                         "Omer,C,omer@example.com;Bob,Brown,bob@example.net;,,carol@example.org");
    Member maya = signUp("Maya", "maya@example.com", "Robert,B,bob@example.net;Dana,L,dana@example.com");
    json t = call("get-tree", {{"id", dana.id}, {"session", maya.session}});
    ASSERT_EQ(t["code"], "0");
    ASSERT_EQ(t["count"], 4);
    json rec = t["records"];
    EXPECT_EQ(rec[0]["id"], dana.id);
    EXPECT_EQ(rec[0]["email"], "dana@example.com");
    EXPECT_EQ(rec[0]["nodeRank"], 1);  // Maya lists Dana
    EXPECT_EQ(rec[1]["id"], omer.id);
    EXPECT_EQ(rec[1]["isMember"], 1);
    EXPECT_EQ(rec[1]["email"], "private");  // Maya does not list Omer
    EXPECT_EQ(rec[1]["emailPrivate"], 1);
    EXPECT_EQ(rec[1]["firstName"], "Omer");  // his own name, not Dana's "Omer C"
    EXPECT_EQ(rec[1]["lastName"], "Tester");
    EXPECT_EQ(rec[2]["isMember"], 0);
    EXPECT_EQ(rec[2]["firstName"], "Bob");  // as Dana named him
    EXPECT_EQ(rec[2]["nodeRank"], 2);
    EXPECT_EQ(rec[2]["email"], "bob@example.net");  // Maya lists him herself
    EXPECT_EQ(rec[2]["emailPrivate"], 1);
    EXPECT_EQ(rec[3]["firstName"], "Unnamed");  // no name given, and the address is hidden from Maya
    EXPECT_EQ(rec[3]["email"], "private");
    for (auto& r : rec) EXPECT_EQ(r.size(), 11u);
    // Dana sees her own contacts' addresses.
    json own = call("get-tree", {{"id", dana.id}, {"session", dana.session}});
    EXPECT_EQ(own["records"][1]["email"], "omer@example.com");
    EXPECT_EQ(own["records"][3]["firstName"], "carol");  // Dana knows the address: named after it
    EXPECT_EQ(call("get-tree", {{"id", "999999"}, {"session", dana.session}})["code"], "2");
    EXPECT_EQ(call("get-tree", {{"id", "12a"}, {"session", dana.session}})["code"], "1");
}

TEST_F(HttpTest, PresenceFillsChatPresence) {
    Member omer = signUp("Omer", "omer@example.com");
    Member dana = signUp("Dana", "dana@example.com", "Omer,C,omer@example.com");
    Member maya = signUp("Maya", "maya@example.com", "Omer,C,omer@example.com");
    auto presenceOfOmer = [&](const Member& viewer) {
        json t = call("get-tree", {{"id", omer.id}, {"session", viewer.session}});
        return std::make_pair(t["records"][0]["chatPresence"].get<std::string>(),
                              t["records"][0]["canChat"].get<int>());
    };
    EXPECT_EQ(presenceOfOmer(dana).first, "");
    EXPECT_EQ(call("update-status", {{"session", omer.session}, {"status", "0"}})["code"], "0");
    EXPECT_EQ(presenceOfOmer(dana), std::make_pair(std::string("0"), 1));
    EXPECT_EQ(call("update-status", {{"session", omer.session}, {"status", "7"}})["code"], "1");
    // Available to friends: only those Omer lists see him.
    call("add-contacts", {{"session", omer.session}, {"list", "Dana,L,dana@example.com"}});
    EXPECT_EQ(call("update-status", {{"session", omer.session}, {"status", "2"}})["code"], "0");
    EXPECT_EQ(presenceOfOmer(dana).first, "2");
    EXPECT_EQ(presenceOfOmer(maya).first, "");
    // Dana and Maya list Omer and are on line: the chat connection answer names them.
    call("update-status", {{"session", dana.session}, {"status", "0"}});
    call("update-status", {{"session", maya.session}, {"status", "1"}});
    json online = call("update-irc-time", {{"session", omer.session}, {"nickname", "O" + omer.id}, {"status", "0"}});
    ASSERT_EQ(online["code"], "0");
    auto who = ids(online["records"]);
    std::sort(who.begin(), who.end());
    std::vector<std::string> expected{dana.id, maya.id};
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(who, expected);
    EXPECT_EQ(online["count"], 2);
    json friendsOnly = call("update-irc-time", {{"session", omer.session}, {"nickname", "O" + omer.id}, {"status", "2"}});
    EXPECT_EQ(ids(friendsOnly["records"]), std::vector<std::string>{dana.id});
    EXPECT_EQ(call("update-irc-time", {{"session", omer.session}, {"nickname", "O 1"}, {"status", "0"}})["code"], "1");
    // Log-off ends the presence.
    call("kill-session", {{"session", omer.session}});
    EXPECT_EQ(presenceOfOmer(dana).first, "");
}

TEST_F(HttpTest, SearchFindsMembersByNameAddressAndText) {
    Member dana = signUp("Dana", "dana@example.com");
    Member omer = signUp("Omer", "omer@example.com", "Dana,L,dana@example.com");
    json r = call("search", {{"query", "dana;tester"}, {"kind", ""}, {"session", omer.session}});
    ASSERT_EQ(r["code"], "0");
    EXPECT_EQ(ids(r["records"]), std::vector<std::string>{dana.id});
    EXPECT_EQ(call("search", {{"query", "things"}, {"kind", "2"}, {"session", omer.session}})["code"], "2");
    EXPECT_EQ(call("search", {{"query", "things"}, {"kind", "4"}, {"session", omer.session}})["count"], 1);
    EXPECT_EQ(call("search", {{"query", "zzzzz"}, {"kind", ""}, {"session", omer.session}})["code"], "2");
    EXPECT_EQ(call("search", {{"query", "da"}, {"kind", ""}, {"session", omer.session}})["code"], "1");
    EXPECT_EQ(call("search", {{"query", "dana&x"}, {"kind", ""}, {"session", omer.session}})["code"], "1");
    EXPECT_EQ(call("search", {{"query", "dana"}, {"kind", "9"}, {"session", omer.session}})["code"], "1");
    EXPECT_EQ(call("search", {{"query", ""}, {"kind", ""}, {"session", omer.session}})["code"], "1");
    // The start-up search: members he lists or who list him.
    json start = call("search", {{"query", ""}, {"kind", "1"}, {"session", dana.session}});
    EXPECT_EQ(ids(start["records"]), std::vector<std::string>{omer.id});
}

TEST_F(HttpTest, OddQueriesAreWordsNotSearchSyntax) {
    Member dana = signUp("Dana", "dana@example.com");
    Member omer = signUp("Omer", "omer@example.com");
    for (const char* q : {"***", "AND OR NOT", "x-y z.w", "dana*", "NEAR dana", "\xC3\xBC" "ber dana", "...", "-dana",
                          "dana@", "@@@", "a_b c"}) {
        json r = call("search", {{"query", q}, {"kind", ""}, {"session", omer.session}});
        EXPECT_TRUE(r["code"] == "0" || r["code"] == "2") << q << " -> " << r.dump();
    }
    EXPECT_EQ(call("search", {{"query", "dana*"}, {"kind", ""}, {"session", omer.session}})["count"], 1);
    EXPECT_EQ(call("search", {{"query", "\"dana\""}, {"kind", ""}, {"session", omer.session}})["code"], "1");
    (void)dana;
}

TEST_F(HttpTest, SearchPathsThroughListsAndNonMembers) {
    // Dana -> Omer -> Maya, and Dana and Lior both list the non-member Zed.
    Member maya = signUp("Maya", "maya@example.com");
    Member omer = signUp("Omer", "omer@example.com", "Maya,K,maya@example.com");
    Member dana = signUp("Dana", "dana@example.com", "Omer,C,omer@example.com;Zed,Z,zed@example.com");
    Member lior = signUp("Lior", "lior@example.com", "Zed,Z,zed@example.com");
    Member lone = signUp("Lone", "lone@example.com");
    json r = call("search-path", {{"source", "dana@example.com"}, {"destination", maya.id}, {"session", dana.session}});
    ASSERT_EQ(r["code"], "0");
    EXPECT_EQ(r["count"], 1);
    EXPECT_EQ(r["hops"], "2");
    EXPECT_EQ(ids(r["paths"][0]), (std::vector<std::string>{dana.id, omer.id, maya.id}));
    EXPECT_EQ(r["sourceEmail"], "dana@example.com");
    EXPECT_EQ(r["destination"], "maya@example.com");
    json viaZed = call("search-path", {{"source", dana.id}, {"destination", "LIOR@example.com"}, {"session", dana.session}});
    ASSERT_EQ(viaZed["code"], "0");
    EXPECT_EQ(viaZed["paths"][0][1]["isMember"], 0);
    auto code = [&](const std::string& s, const std::string& d) {
        return call("search-path", {{"source", s}, {"destination", d}, {"session", dana.session}})["code"];
    };
    EXPECT_EQ(code("nobody@example.com", "maya@example.com"), "10");
    EXPECT_EQ(code("dana@example.com", "nobody@example.com"), "2");
    EXPECT_EQ(code("dana@example.com", "lone@example.com"), "11");
    EXPECT_EQ(code("dana@example.com", "DANA@example.com"), "1");
    EXPECT_EQ(code("dana@example.com", "maya"), "1");
    // By keywords: the nearest members matching "Tester Maya".
    json k = call("search-path-keywords", {{"source", dana.id}, {"keywords", "maya;tester"}, {"session", dana.session}});
    ASSERT_EQ(k["code"], "0");
    EXPECT_EQ(ids(k["paths"][0]), (std::vector<std::string>{dana.id, omer.id, maya.id}));
    // No member matches: "2"; a match out of reach: "11" (the client shows
    // "Path not found" for that one).
    EXPECT_EQ(call("search-path-keywords", {{"source", dana.id}, {"keywords", "qqqqq"}, {"session", dana.session}})["code"], "2");
    EXPECT_EQ(call("search-path-keywords", {{"source", dana.id}, {"keywords", "lone"}, {"session", dana.session}})["code"], "11");
    EXPECT_EQ(call("search-path-keywords", {{"source", "x@example.com"}, {"keywords", "maya"}, {"session", dana.session}})["code"], "10");
    (void)lone;
}

TEST_F(HttpTest, ContactListChangesReachTheGraphAtOnce) {
    Member maya = signUp("Maya", "maya@example.com");
    Member dana = signUp("Dana", "dana@example.com", "A,A,a@example.com");
    auto path = [&] {
        return call("search-path", {{"source", dana.id}, {"destination", maya.id}, {"session", dana.session}})["code"];
    };
    EXPECT_EQ(path(), "11");
    EXPECT_EQ(call("add-contacts", {{"session", dana.session}, {"list", "Maya,K,maya@example.com;A,A,a@example.com"}})["code"], "0");
    EXPECT_EQ(path(), "0");
    json c = call("get-contacts", {{"session", dana.session}});
    EXPECT_EQ(c["email"], "dana@example.com");
    ASSERT_EQ(c["count"], 2);  // the repeated address was skipped
    EXPECT_EQ(c["records"][0]["email"], "a@example.com");
    EXPECT_EQ(c["records"][1]["id"], maya.id);
    std::string a = c["records"][0]["id"];
    // Drop and add in one: a bad add list changes nothing.
    EXPECT_EQ(call("drop-add-contacts", {{"session", dana.session}, {"dropList", maya.id}, {"addList", "B,B,bad"}})["code"], "1");
    EXPECT_EQ(path(), "0");
    EXPECT_EQ(call("drop-add-contacts", {{"session", dana.session}, {"dropList", maya.id}, {"addList", "B,B,b@example.com"}})["code"], "0");
    EXPECT_EQ(path(), "11");
    EXPECT_EQ(call("add-contacts", {{"session", dana.session}, {"list", "Me,,dana@example.com"}})["code"], "1");
    EXPECT_EQ(call("drop-contacts", {{"session", dana.session}, {"list", "x"}})["code"], "1");
    EXPECT_EQ(call("drop-contacts", {{"session", dana.session}, {"list", a}})["code"], "0");
    EXPECT_EQ(call("update-contacts", {{"session", dana.session}, {"list", "1,Way too long a name here,X"}})["code"], "1");
    json after = call("get-contacts", {{"session", dana.session}});
    ASSERT_EQ(after["count"], 1);
    std::string b = after["records"][0]["id"];
    EXPECT_EQ(call("update-contacts", {{"session", dana.session}, {"list", b + ", Bea ,Berg"}})["code"], "0");
    EXPECT_EQ(call("get-contacts", {{"session", dana.session}})["records"][0]["firstName"], "Bea");
}

TEST_F(HttpTest, TooManyContactsAreRefused) {
    Member dana = signUp("Dana", "dana@example.com");
    // Two lists of 600 each: the second would pass 1 000 (and the body limit holds them).
    auto list = [](int from) {
        std::string s;
        for (int i = from; i < from + 600; ++i) s += "A,B,p" + std::to_string(i) + "@example.com;";
        return s;
    };
    EXPECT_EQ(call("add-contacts", {{"session", dana.session}, {"list", list(0)}})["code"], "0");
    EXPECT_EQ(call("add-contacts", {{"session", dana.session}, {"list", list(600)}})["code"], "4");
    EXPECT_EQ(call("get-contacts", {{"session", dana.session}})["count"], 600);
}

TEST_F(HttpTest, ProfileUpdateAndAccountRemoval) {
    Member omer = signUp("Omer", "omer@example.com");
    Member dana = signUp("Dana", "dana@example.com", "Omer,C,omer@example.com");
    EXPECT_EQ(call("update-user", {{"firstName", "Oz"}, {"lastName", "Peled"}, {"occupation", "Pilot"},
                                   {"session", omer.session}, {"hiddenEmail", "1"}, {"reserved", "0"}})["code"], "0");
    EXPECT_EQ(call("update-user", {{"firstName", "Oz!"}, {"lastName", ""}, {"occupation", ""},
                                   {"session", omer.session}, {"hiddenEmail", "1"}, {"reserved", "0"}})["code"], "1");
    json t = call("get-tree", {{"id", omer.id}, {"session", dana.session}});
    EXPECT_EQ(t["records"][0]["firstName"], "Oz");
    EXPECT_EQ(t["records"][0]["emailPrivate"], 1);
    EXPECT_EQ(logIn("omer@example.com", omer.password)["firstName"], "Oz");
    json drop = call("drop-user", {{"session", omer.session}});
    EXPECT_EQ(drop["code"], "0");
    EXPECT_EQ(drop["value"], "omer@example.com");
    EXPECT_EQ(call("get-contacts", {{"session", omer.session}})["code"], "3");
    EXPECT_EQ(logIn("omer@example.com", omer.password)["code"], "5");
    // Dana still lists him, now as a non-member under her name for him.
    json after = call("get-tree", {{"id", dana.id}, {"session", dana.session}});
    EXPECT_EQ(after["records"][1]["isMember"], 0);
    EXPECT_EQ(after["records"][1]["firstName"], "Omer");
    EXPECT_EQ(after["records"][1]["occupation"], "");
}

TEST_F(HttpTest, EmailChangeOnlyBeforeTheFirstLogIn) {
    Member dana = signUp("Dana", "dana@example.com");
    EXPECT_EQ(call("change-email", {{"email", "dana@example.com"}, {"newEmail", "dana2@example.com"}})["code"], "4");
    // A fresh sign-up with a mistyped address, never logged in.
    call("add-user", {{"firstName", "Omer"}, {"lastName", ""}, {"email", "omr@example.com"}, {"occupation", ""},
                      {"hiddenEmail", "0"}, {"hiddenChat", "0"}, {"contacts", "Dana,L,dana@example.com"}});
    EXPECT_EQ(call("change-email", {{"email", "omr@example.com"}, {"newEmail", "dana@example.com"}})["code"], "4");
    EXPECT_EQ(call("change-email", {{"email", "nobody@example.com"}, {"newEmail", "x@example.com"}})["code"], "2");
    EXPECT_EQ(call("change-email", {{"email", "omr@example.com"}, {"newEmail", "bad"}})["code"], "1");
    EXPECT_EQ(call("change-email", {{"email", "omr@example.com"}, {"newEmail", "omer@example.com"}})["code"], "0");
    std::string password = mailedPassword("omer@example.com");
    ASSERT_FALSE(password.empty());
    json r = logIn("omer@example.com", password);
    ASSERT_EQ(r["code"], "0");
    EXPECT_EQ(logIn("omr@example.com", password)["code"], "5");
    json c = call("get-contacts", {{"session", r["sessionId"]}});
    EXPECT_EQ(c["records"][0]["id"], dana.id);
}

TEST_F(HttpTest, VersionCheckActions) {
    Member dana = signUp("Dana", "dana@example.com");
    auto check = [&](const std::string& v) { return call("version", {{"session", dana.session}, {"version", v}}); };
    json same = check("2.0.0");
    EXPECT_EQ(same["code"], "0");
    EXPECT_EQ(same["action"], "0");
    json waiting = check("1.5");  // newer version configured, file not there yet
    EXPECT_EQ(waiting["action"], "2");
    EXPECT_EQ(waiting["arg2"], "60");
    std::ofstream(dir.path() + "/data/download/orvane-2.0.0.cab") << "archive bytes";
    json update = check("1.5");
    EXPECT_EQ(update["action"], "1");
    EXPECT_EQ(update["arg1"], "2.0.0");
    std::string url = update["arg2"];
    auto res = client->Get(url.substr(url.find("/download/")).c_str());
    ASSERT_TRUE(res);
    EXPECT_EQ(res->status, 200);
    EXPECT_EQ(res->body, "archive bytes");
    EXPECT_EQ(check("1.x")["code"], "1");
}

TEST_F(HttpTest, NoticesArriveOnceWithTheNextAnswer) {
    Member dana = signUp("Dana", "dana@example.com");
    Member omer = signUp("Omer", "omer@example.com");
    auto post = [&](const json& body) {
        auto res = client->Post("/admin/v1/notice", body.dump(), "application/json");
        return res ? res->status : 0;
    };
    EXPECT_EQ(post({{"token", "wrong"}, {"text", "x"}}), 403);
    EXPECT_EQ(post({{"token", "secret-token"}, {"text", "Maintenance at 22:00"}}), 200);
    EXPECT_EQ(post({{"token", "secret-token"}, {"text", "Hello Dana"}, {"email", "dana@example.com"}}), 200);
    json first = call("get-contacts", {{"session", dana.session}});
    EXPECT_EQ(first["notices"], (json{"Maintenance at 22:00", "Hello Dana"}));
    EXPECT_FALSE(call("get-contacts", {{"session", dana.session}}).contains("notices"));
    json polled = call("poll", {{"session", omer.session}});
    EXPECT_EQ(polled["code"], "0");
    EXPECT_EQ(polled["notices"], (json{"Maintenance at 22:00"}));
    EXPECT_EQ(call("poll", {{"session", omer.session}})["notices"], json::array());
}

TEST_F(HttpTest, StartInfoIsAPageAboutTheMember) {
    Member dana = signUp("Dana", "dana@example.com", "A,B,a@example.com");
    json r = call("start-info", {{"session", dana.session}});
    ASSERT_EQ(r["code"], "0");
    std::string page = r["page"];
    EXPECT_NE(page.find("Dana Tester"), std::string::npos);
    EXPECT_NE(page.find("holds 1 people"), std::string::npos);
}

TEST_F(HttpTest, DemoNetworkIsMadeOnceAndItsAccountsLogIn) {
    ASSERT_TRUE(seedDemoNetwork(*server, 400));
    EXPECT_FALSE(seedDemoNetwork(*server, 400));  // already there
    EXPECT_EQ(server->store().memberCount(), 400u);
    const auto& account = demoAccounts().front();
    json r = logIn(account.email, account.password);
    ASSERT_EQ(r["code"], "0");
    json tree = call("get-tree", {{"id", r["memberId"]}, {"session", r["sessionId"]}});
    ASSERT_EQ(tree["code"], "0");
    EXPECT_GE(tree["count"].get<int>(), 6);
    bool nonMember = false;
    for (auto& rec : tree["records"]) nonMember = nonMember || rec["isMember"] == 0;
    EXPECT_TRUE(nonMember);
    // The demo accounts know each other: one step between the first two.
    json second = logIn(demoAccounts()[1].email, demoAccounts()[1].password);
    json path = call("search-path", {{"source", account.email}, {"destination", second["memberId"]},
                                     {"session", r["sessionId"]}});
    EXPECT_EQ(path["hops"], "1");
    EXPECT_EQ(call("search", {{"query", "nurse"}, {"kind", "4"}, {"session", r["sessionId"]}})["code"], "0");
}

TEST_F(HttpTest, ConcurrentReadersAndWritersStayConsistent) {
    Member maya = signUp("Maya", "maya@example.com");
    Member omer = signUp("Omer", "omer@example.com", "Maya,K,maya@example.com");
    Member dana = signUp("Dana", "dana@example.com");
    std::atomic<int> failures{0};
    std::atomic<bool> done{false};
    std::vector<std::thread> readers;
    for (int t = 0; t < 4; ++t) {
        readers.emplace_back([&] {
            httplib::Client c("127.0.0.1", port);
            while (!done) {
                json body = {{"source", dana.id}, {"destination", maya.id}, {"session", dana.session}};
                auto res = c.Post("/api/v1/search-path", body.dump(), "application/json");
                if (!res || res->status != 200) {
                    ++failures;
                    continue;
                }
                json r = json::parse(res->body);
                // Either no path yet, or exactly the one through Omer.
                if (r["code"] == "0") {
                    if (r["paths"].size() != 1 || r["paths"][0].size() != 3) ++failures;
                } else if (r["code"] != "11") {
                    ++failures;
                }
                json tree = {{"id", dana.id}, {"session", dana.session}};
                auto t2 = c.Post("/api/v1/get-tree", tree.dump(), "application/json");
                if (!t2 || t2->status != 200 || json::parse(t2->body)["code"] != "0") ++failures;
            }
        });
    }
    httplib::Client writer("127.0.0.1", port);
    for (int i = 0; i < 40; ++i) {
        json add = {{"session", dana.session}, {"list", "Omer,C,omer@example.com"}};
        json drop = {{"session", dana.session}, {"list", omer.id}};
        auto a = writer.Post("/api/v1/add-contacts", add.dump(), "application/json");
        auto d = writer.Post("/api/v1/drop-contacts", drop.dump(), "application/json");
        if (!a || !d || json::parse(a->body)["code"] != "0" || json::parse(d->body)["code"] != "0") ++failures;
    }
    auto a = writer.Post("/api/v1/add-contacts",
                         json({{"session", dana.session}, {"list", "Omer,C,omer@example.com"}}).dump(),
                         "application/json");
    ASSERT_TRUE(a);
    done = true;
    for (auto& t : readers) t.join();
    EXPECT_EQ(failures.load(), 0);
    json r = call("search-path", {{"source", dana.id}, {"destination", maya.id}, {"session", dana.session}});
    EXPECT_EQ(r["code"], "0");
    json tree = call("get-tree", {{"id", dana.id}, {"session", dana.session}});
    EXPECT_EQ(tree["count"], 2);
    EXPECT_EQ(tree["records"][1]["id"], omer.id);
}

TEST_F(HttpTest, ChatAuthAcceptsOnlyALiveSessionOfThatMember) {
    Member dana = signUp("Dana", "dana@example.com");
    Member omer = signUp("Omer", "omer@example.com");
    auto check = [&](const json& body) { return call("chat-auth", body)["code"]; };
    EXPECT_EQ(check({{"id", dana.id}, {"credential", dana.session}}), "0");
    EXPECT_EQ(check({{"id", omer.id}, {"credential", omer.session}}), "0");
    // Another member's session, a made-up one, ids nobody has.
    EXPECT_EQ(check({{"id", omer.id}, {"credential", dana.session}}), "3");
    EXPECT_EQ(check({{"id", dana.id}, {"credential", "0123456789abcdef0123456789abcdef"}}), "3");
    EXPECT_EQ(check({{"id", "0"}, {"credential", dana.session}}), "3");
    EXPECT_EQ(check({{"id", "9999999999"}, {"credential", dana.session}}), "3");
    EXPECT_EQ(check({{"id", "0" + dana.id}, {"credential", dana.session}}), "0");  // the same number
    // Bad input: missing members, other JSON types, odd ids, absurd lengths.
    EXPECT_EQ(check({{"id", dana.id}}), "1");
    EXPECT_EQ(check({{"credential", dana.session}}), "1");
    EXPECT_EQ(check({{"id", std::stoi(dana.id)}, {"credential", dana.session}}), "1");
    EXPECT_EQ(check({{"id", dana.id}, {"credential", json::array({dana.session})}}), "1");
    EXPECT_EQ(check({{"id", dana.id}, {"credential", nullptr}}), "1");
    EXPECT_EQ(check({{"id", "O" + dana.id}, {"credential", dana.session}}), "1");
    EXPECT_EQ(check({{"id", "-1"}, {"credential", dana.session}}), "1");
    EXPECT_EQ(check({{"id", ""}, {"credential", dana.session}}), "1");
    EXPECT_EQ(check({{"id", "12345678901"}, {"credential", dana.session}}), "1");
    EXPECT_EQ(check({{"id", dana.id}, {"credential", ""}}), "1");
    EXPECT_EQ(check({{"id", dana.id}, {"credential", std::string(60000, 'a')}}), "1");
    // The answer carries no session data, not even notices for the member.
    auto res = client->Post("/admin/v1/notice", json({{"token", "secret-token"}, {"text", "hi"}}).dump(),
                            "application/json");
    ASSERT_TRUE(res);
    json ok = call("chat-auth", {{"id", dana.id}, {"credential", dana.session}});
    EXPECT_EQ(ok, (json{{"code", "0"}}));
    EXPECT_EQ(call("poll", {{"session", dana.session}})["notices"], (json{"hi"}));
    // An ended session no longer logs in to chat.
    EXPECT_EQ(call("kill-session", {{"session", dana.session}})["code"], "0");
    EXPECT_EQ(check({{"id", dana.id}, {"credential", dana.session}}), "3");
    EXPECT_EQ(check({{"id", omer.id}, {"credential", omer.session}}), "0");
}

TEST_F(HttpTest, ChatAuthBurstFromManyConnections) {
    Member dana = signUp("Dana", "dana@example.com");
    Member omer = signUp("Omer", "omer@example.com");
    std::atomic<int> wrong{0};
    std::vector<std::thread> clients;
    for (int t = 0; t < 8; ++t) {
        clients.emplace_back([&, t] {
            httplib::Client c("127.0.0.1", port);
            for (int i = 0; i < 50; ++i) {
                // Half right pairs, half crossed ones.
                bool right = (i + t) % 2 == 0;
                json body = {{"id", dana.id}, {"credential", right ? dana.session : omer.session}};
                auto res = c.Post("/api/v1/chat-auth", body.dump(), "application/json");
                if (!res || res->status != 200 || json::parse(res->body)["code"] != (right ? "0" : "3")) ++wrong;
            }
        });
    }
    for (auto& t : clients) t.join();
    EXPECT_EQ(wrong.load(), 0);
}

TEST_F(HttpTest, ReadsAreAnsweredWhileAChangeIsBeingWritten) {
    Member maya = signUp("Maya", "maya@example.com");
    Member omer = signUp("Omer", "omer@example.com", "Maya,K,maya@example.com");
    Member dana = signUp("Dana", "dana@example.com", "Omer,C,omer@example.com");
    // Trees of persons not read before (no cached view), searches and paths:
    // all read the store, none may wait for the open write transaction.
    std::vector<std::pair<std::string, json>> reads = {
        {"get-tree", {{"id", maya.id}, {"session", dana.session}}},
        {"get-tree", {{"id", omer.id}, {"session", maya.session}}},
        {"search", {{"query", "tester"}, {"kind", ""}, {"session", dana.session}}},
        {"search-path", {{"source", dana.id}, {"destination", maya.id}, {"session", dana.session}}},
        {"search-path-keywords", {{"source", dana.id}, {"keywords", "maya"}, {"session", dana.session}}},
    };
    std::mutex m;
    std::condition_variable cv;
    size_t answered = 0;
    std::vector<std::string> codes(reads.size());
    std::vector<std::thread> readers;
    server->store().transaction([&] {
        // A change in the open transaction, as a list change makes one.
        std::vector<uint32_t> changed;
        server->store().createMember(OrvPerson{0, "zed@example.com", "Zed", "", "", true, false, false}, "h", 1, {},
                                     changed);
        for (size_t i = 0; i < reads.size(); ++i) {
            readers.emplace_back([&, i] {
                httplib::Client c("127.0.0.1", port);
                auto res = c.Post(("/api/v1/" + reads[i].first).c_str(), reads[i].second.dump(), "application/json");
                std::lock_guard lock(m);
                codes[i] = res && res->status == 200 ? json::parse(res->body)["code"].get<std::string>() : "none";
                ++answered;
                cv.notify_all();
            });
        }
        std::unique_lock lock(m);
        EXPECT_TRUE(cv.wait_for(lock, std::chrono::seconds(30), [&] { return answered == reads.size(); }))
            << answered << " of " << reads.size() << " reads were answered while the transaction was open";
    });
    for (auto& t : readers) t.join();
    for (size_t i = 0; i < reads.size(); ++i) EXPECT_EQ(codes[i], "0") << reads[i].first;
    // The uncommitted member was not visible to the search made meanwhile; now it is there.
    EXPECT_TRUE(server->store().personByEmail("zed@example.com"));
}

TEST_F(HttpTest, WellFormedIdsThatNobodyHasAreUnknownPersons) {
    Member dana = signUp("Dana", "dana@example.com", "A,B,a@example.com");
    for (const char* id : {"0", "4294967295", "9999999999", "0000000000"}) {
        EXPECT_EQ(call("get-tree", {{"id", id}, {"session", dana.session}})["code"], "2") << id;
        EXPECT_EQ(call("search-path", {{"source", dana.id}, {"destination", id}, {"session", dana.session}})["code"], "2")
            << id;
        EXPECT_EQ(call("search-path", {{"source", id}, {"destination", dana.id}, {"session", dana.session}})["code"], "10")
            << id;
        EXPECT_EQ(call("search-path-keywords", {{"source", id}, {"keywords", "tester"}, {"session", dana.session}})["code"],
                  "10")
            << id;
        EXPECT_EQ(call("drop-contacts", {{"session", dana.session}, {"list", id}})["code"], "0") << id;
    }
    EXPECT_EQ(call("get-contacts", {{"session", dana.session}})["count"], 1);  // nothing was dropped
    // Not a number of 1 to 10 digits: bad input.
    for (const char* id : {"", "12345678901", "-1", "1e3", "0x10"})
        EXPECT_EQ(call("get-tree", {{"id", id}, {"session", dana.session}})["code"], "1") << id;
}

TEST_F(HttpTest, AHugeVersionNumberIsNewerNotOlder) {
    Member dana = signUp("Dana", "dana@example.com");
    std::ofstream(dir.path() + "/data/download/orvane-2.0.0.cab") << "archive bytes";
    auto action = [&](const std::string& v) {
        return call("version", {{"session", dana.session}, {"version", v}})["action"];
    };
    EXPECT_EQ(action("1.9.9"), "1");
    // 2^64 + 1 wrapped to 1 and was offered 2.0.0 as an update.
    EXPECT_EQ(action("18446744073709551617.0"), "0");
    EXPECT_EQ(action("2.0.99999999999999999999999"), "0");
    EXPECT_EQ(action("1.99999999999999999999999999999"), "1");
}

TEST_F(HttpTest, EveryWordMustMatchAlsoBesideAnAddress) {
    Member dana = signUp("Dana", "dana@example.com", "", "1");  // a private address
    Member omer = signUp("Omer", "omer@example.com");
    auto search = [&](const std::string& q) {
        return call("search", {{"query", q}, {"kind", ""}, {"session", omer.session}});
    };
    EXPECT_EQ(ids(search("dana@example.com")["records"]), std::vector<std::string>{dana.id});
    EXPECT_EQ(ids(search("dana@example.com;tester")["records"]), std::vector<std::string>{dana.id});
    // The other words were ignored beside an address: Dana is no pilot.
    EXPECT_EQ(search("dana@example.com;pilot")["code"], "2");
    EXPECT_EQ(search("pilot dana@example.com")["code"], "2");
    EXPECT_EQ(search("dana@example.com;omer@example.com")["code"], "2");
    // Keyword paths follow the same rule.
    call("add-contacts", {{"session", omer.session}, {"list", "Dana,L,dana@example.com"}});
    EXPECT_EQ(call("search-path-keywords",
                   {{"source", omer.id}, {"keywords", "dana@example.com;pilot"}, {"session", omer.session}})["code"],
              "2");
    EXPECT_EQ(call("search-path-keywords",
                   {{"source", omer.id}, {"keywords", "dana@example.com;tester"}, {"session", omer.session}})["code"],
              "0");
}

TEST_F(HttpTest, KeywordPathsReachTheNearestMatchWhateverTheNumberOfMatches) {
    // Dana lists Xavier and Yara, who list 1 500 pilots with the shortest (best
    // ranked) texts; Dana also lists one pilot herself, whose long text ranks
    // him below all of them.
    Member dana = signUp("Dana", "dana@example.com");
    OrvStore& store = server->store();
    std::vector<uint32_t> changed;
    std::vector<OrvContactItem> pilots;
    store.transaction([&] {
        for (int i = 0; i < 1500; ++i) {
            std::string email = "pilot" + std::to_string(i) + "@example.com";
            OrvPerson p{0, email, "Pat", "Flyer", "Pilot", true, false, false};
            store.createMember(p, "h", 1, {}, changed);
            pilots.push_back({"Pat", "Flyer", email});
        }
        // A list holds at most 1 000: two hubs share them.
        std::vector<OrvContactItem> first(pilots.begin(), pilots.begin() + 750), second(pilots.begin() + 750, pilots.end());
        OrvPerson xavier{0, "xavier@example.com", "Xavier", "Hub", "Dispatcher", true, false, false};
        store.createMember(xavier, "h", 1, first, changed);
        OrvPerson yara{0, "yara@example.com", "Yara", "Hub", "Dispatcher", true, false, false};
        store.createMember(yara, "h", 1, second, changed);
        OrvPerson near{0, "near@example.com", "Nico", "Near",
                       "Pilot of long haul flights across many oceans and continents for many years", true, false,
                       false};
        store.createMember(near, "h", 1, {}, changed);
    });
    server->loadGraph();
    call("add-contacts", {{"session", dana.session}, {"list", "Xavier,Hub,xavier@example.com;Yara,Hub,yara@example.com;Nico,Near,near@example.com"}});
    // The direct pilot is not among the thousand best ranked matches.
    json best = call("search", {{"query", "pilot"}, {"kind", ""}, {"session", dana.session}});
    ASSERT_EQ(best["count"], 1000);
    for (auto& rec : best["records"]) ASSERT_NE(rec["email"], "near@example.com");
    json r = call("search-path-keywords", {{"source", dana.id}, {"keywords", "pilot"}, {"session", dana.session}});
    ASSERT_EQ(r["code"], "0");
    ASSERT_EQ(r["count"], 1);
    ASSERT_EQ(r["paths"][0].size(), 2u);  // one step: the pilot Dana knows herself
    EXPECT_EQ(r["paths"][0][1]["email"], "near@example.com");
    // Without the direct pilot, the nearest are two steps away, through the hubs.
    std::string nico = call("get-contacts", {{"session", dana.session}})["records"][2]["id"];
    call("drop-contacts", {{"session", dana.session}, {"list", nico}});
    json far = call("search-path-keywords", {{"source", dana.id}, {"keywords", "pilot"}, {"session", dana.session}});
    ASSERT_EQ(far["code"], "0");
    EXPECT_EQ(far["count"], 100);  // the cap
    for (auto& path : far["paths"]) EXPECT_EQ(path.size(), 3u);
}
