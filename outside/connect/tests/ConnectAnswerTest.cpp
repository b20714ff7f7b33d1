// Answers from a crafted server: every command reaches its answer operation
// with its values in order, and malformed answers never crash and always end
// in exactly one call.
#include "ConnectTestSupport.h"
#include "DebugOutputCapture.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <thread>

using connecttest::CraftedServer;
using connecttest::HttpOk;
using connecttest::HttpStatus;
using connecttest::Recorder;

namespace {

const char kDana[] =
    R"({"id":"1042","isMember":1,"nodeRank":3,"firstName":"Dana","lastName":"Levi",)"
    R"("email":"dana@example.com","occupation":"Nurse","emailPrivate":0,"chatHidden":0,)"
    R"("chatPresence":"0","canChat":1})";
const char kOmer[] =
    R"({"id":"7","isMember":0,"nodeRank":1,"firstName":"Omer","lastName":"",)"
    R"("email":"private","occupation":"","emailPrivate":1,"chatHidden":1,)"
    R"("chatPresence":"","canChat":0})";

std::string Records(const std::string& items) { return R"("records":[)" + items + "]"; }

// What every command's answer looks like when the server is well.
std::map<std::string, std::string> CannedAnswers() {
    const std::string both = std::string(kDana) + "," + kOmer;
    return {
        {"/api/v1/verify-user", R"({"code":"0","password":"","key":"dana@example.com"})"},
        {"/api/v1/add-user", R"({"code":"4"})"},
        {"/api/v1/check-user",
         R"({"code":"0","memberId":"1042","key":"dana@example.com","firstName":"Dana",)"
         R"("lastName":"Levi","occupation":"Nurse","sessionId":"0123456789abcdef0123456789abcdef",)"
         R"("bannerPeriod":100,"panelUrl1":"http://p/active.html","chatServer":"127.0.0.1",)"
         R"("chatPort":"6667","chatDelay":"500","panelUrl2":"http://p/inactive.html",)"
         R"("chatPingRate":"60","idleLimit":900,"reserved":0,"serverInfo":"orvane-server/1.0"})"},
        {"/api/v1/start-info", R"({"code":"0","page":"<html>hi</html>"})"},
        {"/api/v1/drop-user", R"({"code":"0","value":"dana@example.com"})"},
        {"/api/v1/kill-session", R"({"code":"3"})"},
        {"/api/v1/update-status", R"({"code":"1"})"},
        {"/api/v1/update-irc-time", R"({"code":"0","count":1,)" + Records(kDana) + "}"},
        {"/api/v1/get-tree", R"({"code":"0","count":2,)" + Records(both) + "}"},
        {"/api/v1/search", R"({"code":"2","count":0,"records":[]})"},
        {"/api/v1/search-path",
         R"({"code":"0","sourceEmail":"dana@example.com","destination":"7","hops":"1",)"
         R"("count":1,"paths":[[)" + both + "]]}"},
        {"/api/v1/search-path-keywords", R"({"code":"11","count":0,"paths":[]})"},
        {"/api/v1/get-contacts",
         R"({"code":"0","email":"dana@example.com","count":1,)" + Records(kOmer) + "}"},
        {"/api/v1/add-contacts", R"({"code":"4"})"},
        {"/api/v1/drop-contacts", R"({"code":"1"})"},
        {"/api/v1/drop-add-contacts", R"({"code":"8"})"},
        {"/api/v1/update-contacts", R"({"code":"0"})"},
        {"/api/v1/update-user", R"({"code":"3"})"},
        {"/api/v1/change-email", R"({"code":"2"})"},
        {"/api/v1/version", R"({"code":"0","action":"2","arg1":"","arg2":"15"})"},
    };
}

CraftedServer::Responder Canned() {
    auto answers = std::make_shared<std::map<std::string, std::string>>(CannedAnswers());
    return [answers](const CraftedServer::Request& request) {
        const auto it = answers->find(request.path);
        return it == answers->end() ? HttpStatus(404, R"({"code":"1"})") : HttpOk(it->second);
    };
}

// Sends every command once, in the order of the command table.
void SendEveryCommand(OrvConnectManager& m) {
    m.DoVerifyUserCommand("dana@example.com");
    m.DoAddUserCommand("Dana", "Levi", "dana@example.com", "Nurse", "0", "1", "A,B,a@b.com");
    m.DoCheckUserCommand("dana@example.com", "secret", "1", "1.0.0");
    m.DoGetStartInfoCommand("S");
    m.DoDropUserCommand("S");
    m.DoKillSessionCommand("S");
    m.DoUpdateStatusCommand("S", "0");
    m.DoUpdateIrcTimeCommand("S", "O1042", "0");
    m.DoGetTreeCommand("1042", "S");
    m.DoSearchByCommand("dana;levi", "", "S");
    m.DoSearchPathCommandA("dana@example.com", "7", "S");
    m.DoSearchPathCommandB("dana@example.com", "nurse", "S");
    m.DoGetContactsCommand("S");
    m.DoAddContactsCommand("S", "A,B,a@b.com");
    m.DoDropContactsCommand("S", "7,8");
    m.DoDropAddContactsCommand("S", "7", "A,B,a@b.com");
    m.DoUpdateContactsCommand("S", "7,Omer,X");
    m.DoUpdateUserCommand("Dana", "Levi", "Nurse", "S", "1", "0");
    m.DoChangeEmailCommand("dana@example.com", "dana2@example.com");
    m.DoBeginVersionUpdateCommand("S", "1.0.0");
}

struct Expected {
    const char* path;
    int slot;
    int commandId;
};
const Expected kEvery[] = {
    {"/api/v1/verify-user", 21, 27},        {"/api/v1/add-user", 3, 11},
    {"/api/v1/check-user", 18, 25},         {"/api/v1/start-info", 22, 22},
    {"/api/v1/drop-user", 2, 26},           {"/api/v1/kill-session", 9, 4},
    {"/api/v1/update-status", 6, 15},       {"/api/v1/update-irc-time", 15, 18},
    {"/api/v1/get-tree", 14, 23},           {"/api/v1/search", 10, 29},
    {"/api/v1/search-path", 16, 28},        {"/api/v1/search-path-keywords", 17, 24},
    {"/api/v1/get-contacts", 12, 21},       {"/api/v1/add-contacts", 5, 14},
    {"/api/v1/drop-contacts", 4, 13},       {"/api/v1/drop-add-contacts", 11, 19},
    {"/api/v1/update-contacts", 8, 17},     {"/api/v1/update-user", 7, 16},
    {"/api/v1/change-email", 13, 12},       {"/api/v1/version", 19, 20},
};

// Sends one command whose answer is body, and returns the calls it caused.
std::vector<connecttest::Call> AnswerWith(void (*send)(OrvConnectManager&),
                                          const std::string& raw) {
    CraftedServer server([raw](const CraftedServer::Request&) { return raw; });
    Recorder m;
    m.SetUrl(server.Url().c_str());
    m.SetTimeouts(5000, 5000);
    send(m);
    EXPECT_TRUE(m.WaitAnswers(1));
    EXPECT_TRUE(m.WaitIdle());
    return m.calls;
}

void SendTree(OrvConnectManager& m) { m.DoGetTreeCommand("1042", "S"); }
void SendLogIn(OrvConnectManager& m) { m.DoCheckUserCommand("a@b.com", "pw", "1", "1.0"); }
void SendPath(OrvConnectManager& m) { m.DoSearchPathCommandA("a@b.com", "7", "S"); }

}  // namespace

TEST(ConnectAnswers, EveryCommandReachesItsSlotOnTheCreatingThread) {
    CraftedServer server(Canned());
    Recorder m;
    m.SetUrl((server.Url() + "/").c_str());
    SendEveryCommand(m);
    ASSERT_TRUE(m.WaitAnswers(20));
    ASSERT_TRUE(m.WaitIdle());
    ASSERT_EQ(m.AnswerCount(), 20);
    EXPECT_EQ(m.PendingCount(), 0);

    const auto requests = server.Requests();
    ASSERT_EQ(requests.size(), 20u);
    for (const Expected& e : kEvery) {
        SCOPED_TRACE(e.path);
        EXPECT_EQ(m.CountOf(e.slot), 1);
        int sent = 0;
        for (const auto& r : requests)
            if (r.path == e.path) {
                ++sent;
                EXPECT_EQ(r.method, "POST");
            }
        EXPECT_EQ(sent, 1);
        unsigned received = 0;
        for (unsigned id : m.received)
            if (static_cast<int>(id) == e.commandId) ++received;
        EXPECT_EQ(received, 1u);
    }
    for (const auto& call : m.calls) EXPECT_EQ(call.threadId, GetCurrentThreadId());

    // Request members in argument order, as JSON strings.
    for (const auto& r : requests) {
        if (r.path == "/api/v1/add-user") {
            EXPECT_EQ(r.body,
                      R"({"firstName":"Dana","lastName":"Levi","email":"dana@example.com",)"
                      R"("occupation":"Nurse","hiddenEmail":"0","hiddenChat":"1",)"
                      R"("contacts":"A,B,a@b.com"})");
        } else if (r.path == "/api/v1/update-user") {
            EXPECT_EQ(r.body,
                      R"({"firstName":"Dana","lastName":"Levi","occupation":"Nurse",)"
                      R"("session":"S","hiddenEmail":"1","reserved":"0"})");
        } else if (r.path == "/api/v1/drop-add-contacts") {
            EXPECT_EQ(r.body, R"({"session":"S","dropList":"7","addList":"A,B,a@b.com"})");
        } else if (r.path == "/api/v1/check-user") {
            EXPECT_EQ(r.body, R"({"email":"dana@example.com","password":"secret",)"
                              R"("clientKind":"1","version":"1.0.0"})");
        } else if (r.path == "/api/v1/get-tree") {
            EXPECT_EQ(r.body, R"({"id":"1042","session":"S"})");
        }
    }

    const auto* login = m.Last(18);
    ASSERT_NE(login, nullptr);
    EXPECT_EQ(login->text, (std::vector<std::string>{
                               "0", "1042", "dana@example.com", "Dana", "Levi", "Nurse",
                               "0123456789abcdef0123456789abcdef", "http://p/active.html",
                               "127.0.0.1", "6667", "500", "http://p/inactive.html", "60",
                               "orvane-server/1.0"}));
    EXPECT_EQ(login->numbers, (std::vector<int>{100, 900, 0}));

    const auto* tree = m.Last(14);
    ASSERT_NE(tree, nullptr);
    ASSERT_EQ(tree->records.size(), 2u);
    EXPECT_STREQ(tree->records[0].id, "1042");
    EXPECT_EQ(tree->records[0].nodeRank, 3);
    EXPECT_STREQ(tree->records[0].occupation, "Nurse");
    EXPECT_STREQ(tree->records[1].email, "private");
    EXPECT_EQ(tree->records[1].chatHidden, 1);
    EXPECT_EQ(tree->records[1].emailPrivate, 1);

    const auto* path = m.Last(16);
    ASSERT_NE(path, nullptr);
    EXPECT_EQ(path->text, (std::vector<std::string>{"0", "dana@example.com", "7", "1"}));
    ASSERT_EQ(path->paths.size(), 1u);
    ASSERT_EQ(path->paths[0].size(), 2u);
    EXPECT_STREQ(path->paths[0][1].firstName, "Omer");

    const auto* contacts = m.Last(12);
    ASSERT_NE(contacts, nullptr);
    EXPECT_EQ(contacts->text, (std::vector<std::string>{"0", "dana@example.com"}));
    ASSERT_EQ(contacts->records.size(), 1u);

    EXPECT_EQ(m.Last(19)->text, (std::vector<std::string>{"0", "2", "", "15"}));
    EXPECT_EQ(m.Last(21)->text, (std::vector<std::string>{"0", "", "dana@example.com"}));
    EXPECT_EQ(m.Last(22)->text, (std::vector<std::string>{"0", "<html>hi</html>"}));
    EXPECT_EQ(m.Last(2)->text, (std::vector<std::string>{"0", "dana@example.com"}));
    EXPECT_EQ(m.Last(13)->text, (std::vector<std::string>{"2"}));
    EXPECT_EQ(m.Last(17)->text, (std::vector<std::string>{"11"}));
    EXPECT_TRUE(m.Last(17)->paths.empty());
}

TEST(ConnectAnswers, BodiesThatAreNoAnswerFailTheCommandOnce) {
    const std::vector<std::string> bodies = {
        "",
        "garbage",
        "[1,2,3]",
        R"("code")",
        R"({"code":0})",
        R"({"code":null})",
        R"({"count":2})",
        R"({"code":"0","records":[)",  // cut short
        "{\"code\":\"0\",\"page\":\"\xff\xfe\"}",  // not UTF-8
        std::string(200000, '[') ,
        R"({"code":"0"} trailing)",
    };
    for (const std::string& body : bodies) {
        SCOPED_TRACE(body.substr(0, 40));
        const auto calls = AnswerWith(SendTree, HttpOk(body));
        ASSERT_EQ(calls.size(), 1u);
        EXPECT_EQ(calls[0].slot, 1);
        EXPECT_EQ(calls[0].text.at(0), "23");
    }
}

TEST(ConnectAnswers, TransportStatusOtherThan200FailsTheCommand) {
    for (int status : {400, 404, 405, 413, 500, 503, 302}) {
        SCOPED_TRACE(status);
        const auto calls = AnswerWith(SendLogIn, HttpStatus(status, R"({"code":"1","error":"x"})"));
        ASSERT_EQ(calls.size(), 1u);
        EXPECT_EQ(calls[0].slot, 1);
        EXPECT_EQ(calls[0].text.at(0), "25");
    }
    // Not even a status line.
    const auto calls = AnswerWith(SendLogIn, "NOT HTTP AT ALL\r\n\r\n");
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].slot, 1);
}

TEST(ConnectAnswers, WrongTypesAndMissingMembersTakeDefaults) {
    const std::string body =
        R"({"code":"0","count":"many","records":[)"
        R"({"id":1042,"isMember":"1","nodeRank":2.9,"firstName":{"x":1},"lastName":null,)"
        R"("email":["a"],"emailPrivate":true,"chatHidden":1e300,"chatPresence":5},)"
        R"(17,"text",null,[],)"
        R"({"id":"9","nodeRank":-1e300,"isMember":"abc"},)"
        R"({}]})";
    const auto calls = AnswerWith(SendTree, HttpOk(body));
    ASSERT_EQ(calls.size(), 1u);
    ASSERT_EQ(calls[0].slot, 14);
    EXPECT_EQ(calls[0].text.at(0), "0");
    // Only objects are records; the count is what arrived, not what was claimed.
    ASSERT_EQ(calls[0].records.size(), 3u);
    const ORVCONTACTINFO& first = calls[0].records[0];
    EXPECT_STREQ(first.id, "1042");
    EXPECT_EQ(first.isMember, 1);
    EXPECT_EQ(first.nodeRank, 2);
    EXPECT_STREQ(first.firstName, "");
    EXPECT_STREQ(first.lastName, "");
    EXPECT_STREQ(first.email, "");
    EXPECT_EQ(first.emailPrivate, 1);
    EXPECT_EQ(first.chatHidden, INT_MAX);
    EXPECT_STREQ(first.chatPresence, "5");
    EXPECT_EQ(calls[0].records[1].nodeRank, INT_MIN);
    EXPECT_EQ(calls[0].records[1].isMember, 0);
    EXPECT_STREQ(calls[0].records[2].id, "");

    // A log-in answer that carries only its code.
    const auto login = AnswerWith(SendLogIn, HttpOk(R"({"code":"5","bannerPeriod":"x"})"));
    ASSERT_EQ(login.size(), 1u);
    ASSERT_EQ(login[0].slot, 18);
    EXPECT_EQ(login[0].text.size(), 14u);
    EXPECT_EQ(login[0].text[0], "5");
    for (size_t i = 1; i < login[0].text.size(); ++i) EXPECT_EQ(login[0].text[i], "");
    EXPECT_EQ(login[0].numbers, (std::vector<int>{0, 0, 0}));

    // Paths that are no arrays or hold nobody are dropped.
    const auto path = AnswerWith(
        SendPath, HttpOk(std::string(R"({"code":"0","count":9,"hops":2,"paths":[[],"x",[)") +
                         kDana + R"(,3],{"a":1}]})"));
    ASSERT_EQ(path.size(), 1u);
    ASSERT_EQ(path[0].slot, 16);
    EXPECT_EQ(path[0].text.at(3), "2");
    ASSERT_EQ(path[0].paths.size(), 1u);
    EXPECT_EQ(path[0].paths[0].size(), 1u);

    // records that is no array: an empty answer.
    const auto none = AnswerWith(SendTree, HttpOk(R"({"code":"0","count":3,"records":"x"})"));
    ASSERT_EQ(none.size(), 1u);
    EXPECT_EQ(none[0].slot, 14);
    EXPECT_TRUE(none[0].records.empty());
}

TEST(ConnectAnswers, HugeArraysAreCutAndHugeBodiesRefused) {
    std::string items;
    for (int i = 0; i < 12000; ++i) {
        if (i) items += ',';
        items += R"({"id":")" + std::to_string(i) + R"(","firstName":"F"})";
    }
    const auto calls = AnswerWith(SendTree, HttpOk(R"({"code":"0","records":[)" + items + "]}"));
    ASSERT_EQ(calls.size(), 1u);
    ASSERT_EQ(calls[0].slot, 14);
    ASSERT_EQ(calls[0].records.size(), 10000u);
    EXPECT_STREQ(calls[0].records[9999].id, "9999");

    std::string paths;
    for (int i = 0; i < 1500; ++i) paths += std::string(i ? "," : "") + R"([{"id":"1"}])";
    const auto manyPaths = AnswerWith(SendPath, HttpOk(R"({"code":"0","paths":[)" + paths + "]}"));
    ASSERT_EQ(manyPaths.size(), 1u);
    EXPECT_EQ(manyPaths[0].paths.size(), 1000u);

    // Over the body limit: refused, not read to the end.
    const std::string big = R"({"code":"0","page":")" + std::string(9 * 1024 * 1024, 'x') + "\"}";
    const auto refused = AnswerWith(SendTree, HttpOk(big));
    ASSERT_EQ(refused.size(), 1u);
    EXPECT_EQ(refused[0].slot, 1);
    EXPECT_EQ(refused[0].text.at(0), "23");
}

TEST(ConnectAnswers, NoticesFollowTheAnswerInOrder) {
    const auto calls = AnswerWith(
        SendTree, HttpOk(R"({"code":"0","records":[],"notices":["first",7,"second",null]})"));
    ASSERT_EQ(calls.size(), 3u);
    EXPECT_EQ(calls[0].slot, 14);
    EXPECT_EQ(calls[1].slot, 20);
    EXPECT_EQ(calls[1].text.at(0), "first");
    EXPECT_EQ(calls[2].text.at(0), "second");

    // A failed command brings no notices.
    const auto failed =
        AnswerWith(SendTree, HttpStatus(500, R"({"code":"1","notices":["lost"]})"));
    ASSERT_EQ(failed.size(), 1u);
    EXPECT_EQ(failed[0].slot, 1);
}

TEST(ConnectAnswers, TextTravelsAsUtf8AndArrivesInTheAnsiCodePage) {
    if (GetACP() != 1252) GTEST_SKIP() << "needs code page 1252, have " << GetACP();
    CraftedServer server([](const CraftedServer::Request&) {
        return HttpOk("{\"code\":\"0\",\"page\":\"Zo\xc3\xab \xe2\x82\xac \xe4\xb8\xad\\u0000cut\"}");
    });
    Recorder m;
    m.SetUrl(server.Url().c_str());
    m.DoGetStartInfoCommand("Zo\xeb");  // "Zoë" in code page 1252
    ASSERT_TRUE(m.WaitAnswers(1));
    ASSERT_EQ(server.RequestCount(), 1u);
    EXPECT_EQ(server.Requests()[0].body, "{\"session\":\"Zo\xc3\xab\"}");
    const auto* page = m.Last(22);
    ASSERT_NE(page, nullptr);
    // The euro sign exists in 1252, the CJK character does not; text ends at NUL.
    EXPECT_EQ(page->text.at(1), "Zo\xeb \x80 ?");
}

namespace {
HHOOK g_vetoHook = nullptr;
LRESULT CALLBACK VetoWindows(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_CREATEWND) return 1;
    return CallNextHookEx(g_vetoHook, code, wParam, lParam);
}
}  // namespace

TEST(ConnectAnswers, ManagerWithoutItsWindowFailsEveryRequestAtOnce) {
    CraftedServer server(Canned());
    // The system refuses the manager its hidden window.
    g_vetoHook = SetWindowsHookExA(WH_CBT, VetoWindows, nullptr, GetCurrentThreadId());
    ASSERT_NE(g_vetoHook, nullptr);
    auto m = std::make_unique<Recorder>();
    UnhookWindowsHookEx(g_vetoHook);
    m->SetUrl(server.Url().c_str());

    m->DoGetTreeCommand("1042", "S");
    m->DoCheckUserCommand("a@b.com", "pw", "1", "1.0");
    // Answered before the calls returned, rather than sent and lost.
    ASSERT_EQ(m->calls.size(), 2u);
    EXPECT_EQ(m->calls[0].slot, 1);
    EXPECT_EQ(m->calls[0].text.at(0), "23");
    EXPECT_EQ(m->calls[1].slot, 1);
    EXPECT_EQ(m->calls[1].text.at(0), "25");
    ASSERT_EQ(m->errors.size(), 2u);
    EXPECT_NE(m->errors[0], 0);
    EXPECT_EQ(m->PendingCount(), 0);

    std::thread other([&] { m->DoGetContactsCommand("S"); });
    other.join();
    ASSERT_EQ(m->calls.size(), 3u);
    EXPECT_EQ(m->calls[2].text.at(0), "21");
    EXPECT_EQ(server.RequestCount(), 0u) << "nothing is sent whose answer could not come back";
}

TEST(ConnectAnswers, AnswerOperationThatThrowsIsTracedAndItsNoticesStillArrive) {
    orvtest::DebugOutputCapture capture;
    CraftedServer server([](const CraftedServer::Request&) {
        return HttpOk(R"({"code":"0","records":[],"notices":["after the failure"]})");
    });
    Recorder m;
    m.SetUrl(server.Url().c_str());
    m.throwAtSlot = 14;
    m.DoGetTreeCommand("1042", "S");
    ASSERT_TRUE(m.WaitAnswers(1));
    ASSERT_TRUE(m.WaitIdle());
    ASSERT_EQ(m.Notices().size(), 1u);
    EXPECT_EQ(m.Notices()[0], "after the failure");
    EXPECT_NE(capture.Text().find("connect: answer operation: exception caught: recorder told to fail"),
              std::string::npos)
        << capture.Text();

    // The manager goes on answering.
    m.throwAtSlot = 0;
    m.DoGetTreeCommand("1042", "S");
    EXPECT_TRUE(m.WaitAnswers(2));
}
