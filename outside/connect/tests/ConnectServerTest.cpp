// connect.dll against the real orvane-server on a free loopback port: the
// whole member life from sign-up to removal, every result code the program
// maps, and a server that goes away.
#include "ConnectTestSupport.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <memory>
#include <sstream>

using connecttest::Call;
using connecttest::Recorder;

namespace {

struct Member {
    std::string id;
    std::string session;
    std::string password;
};

std::string UniqueName(const char* stem) {
    return std::string(stem) + "-" + std::to_string(GetCurrentProcessId()) + "-" +
           std::to_string(GetTickCount());
}

std::string ServerBinary() { return orvtest::Env("ORV_HOST_BUILD_DIR") + "/server/orvane-server"; }

// The password of the newest mail to address in the server's outbox.
std::string MailedPassword(const std::string& dataDir, const std::string& address) {
    const std::string outbox = orvtest::WinePath(dataDir + "/outbox");
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((outbox + "\\*.eml").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return std::string();
    // Names begin with the time and a counter; the largest pair is the newest.
    std::pair<long long, long long> newest{-1, -1};
    std::string password;
    do {
        std::ifstream file(outbox + "\\" + found.cFileName, std::ios::binary);
        std::stringstream text;
        text << file.rdbuf();
        const std::string mail = text.str();
        if (mail.find("To: " + address + "\r\n") == std::string::npos) continue;
        const std::string name = found.cFileName;
        const std::pair<long long, long long> stamp{
            std::atoll(name.c_str()), std::atoll(name.c_str() + name.find('-') + 1)};
        if (stamp < newest) continue;
        // The password stands alone on a line indented by four blanks.
        const size_t at = mail.find("\r\n    ");
        if (at == std::string::npos) continue;
        const size_t end = mail.find("\r\n", at + 6);
        newest = stamp;
        password = mail.substr(at + 6, end - at - 6);
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return password;
}

// A POST from the test itself, for the operator's notice.
bool PostRaw(int port, const std::string& path, const std::string& body) {
    CWinsockStartup winsock;
    CSocketHandle s(socket(AF_INET, SOCK_STREAM, IPPROTO_TCP));
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<u_short>(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (connect(s.Get(), reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) return false;
    const std::string request = "POST " + path +
                                " HTTP/1.1\r\nHost: 127.0.0.1\r\nContent-Type: application/json\r\n"
                                "Connection: close\r\nContent-Length: " +
                                std::to_string(body.size()) + "\r\n\r\n" + body;
    send(s.Get(), request.data(), static_cast<int>(request.size()), 0);
    std::string answer;
    char chunk[1024];
    int got;
    while ((got = recv(s.Get(), chunk, sizeof chunk, 0)) > 0) answer.append(chunk, got);
    return answer.rfind("HTTP/1.1 200", 0) == 0;
}

// The server's data folder goes once the server is gone.
void RemoveDataDir(const std::string& dir) {
    if (dir.find("/connect-") != std::string::npos) orvtest::LaunchUnix("/bin/rm -rf " + dir);
}

class ServerNetwork : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        s_dataDir = orvtest::Env("ORV_SERVICE_DIR") + "/" + UniqueName("connect-data");
        s_server = std::make_unique<orvtest::UnixService>(
            "orvane-server-connect",
            std::vector<std::string>{ServerBinary(), "--port", "@PORT@", "--data", s_dataDir,
                                     "--password-strength", "min", "--password-resend-seconds",
                                     "0", "--admin-token", "connect-test-token"});
        s_started = s_server->Start();
    }
    static void TearDownTestSuite() {
        if (s_server) s_server->Stop();
        s_server.reset();
        RemoveDataDir(s_dataDir);
    }
    void SetUp() override {
        ASSERT_TRUE(s_started) << s_server->Log();
        m.SetUrl(Url().c_str());
        m.SetTimeouts(10000, 30000);
    }

    static std::string Url() { return "http://127.0.0.1:" + std::to_string(s_server->Port()); }

    // Sends one command and returns its answer call (not the notices after it).
    Call Ask(const std::function<void()>& send) {
        const int before = m.AnswerCount();
        const size_t first = m.calls.size();
        send();
        EXPECT_TRUE(m.WaitAnswers(before + 1)) << "no answer";
        EXPECT_TRUE(m.WaitIdle());
        EXPECT_EQ(m.AnswerCount(), before + 1);
        for (size_t i = first; i < m.calls.size(); ++i)
            if (m.calls[i].slot != 20) return m.calls[i];
        return Call();
    }

    std::string Code(const std::function<void()>& send) {
        const Call call = Ask(send);
        return call.text.empty() ? std::string("<none>") : call.text[0];
    }

    Member SignUp(const char* first, const char* last, const std::string& email,
                  const char* contacts) {
        Member member;
        Call verify = Ask([&] { m.DoVerifyUserCommand(email.c_str()); });
        EXPECT_EQ(verify.slot, 21);
        EXPECT_EQ(verify.text.at(0), "0");
        EXPECT_EQ(verify.text.at(2), email);
        Call added = Ask([&] {
            m.DoAddUserCommand(first, last, email.c_str(), "Tester", "0", "0", contacts);
        });
        EXPECT_EQ(added.slot, 3);
        EXPECT_EQ(added.text.at(0), "0");
        member.password = MailedPassword(s_dataDir, email);
        EXPECT_FALSE(member.password.empty());
        Call login = Ask([&] {
            m.DoCheckUserCommand(email.c_str(), member.password.c_str(), "1", "1.0.0");
        });
        EXPECT_EQ(login.slot, 18);
        if (login.slot == 18 && login.text.at(0) == "0") {
            member.id = login.text.at(1);
            member.session = login.text.at(6);
        }
        EXPECT_EQ(member.session.size(), 32u);
        return member;
    }

    static const ORVCONTACTINFO* Find(const std::vector<ORVCONTACTINFO>& records,
                                      const char* email) {
        for (const auto& r : records)
            if (r.email == email) return &r;
        return nullptr;
    }

    Recorder m;
    static std::unique_ptr<orvtest::UnixService> s_server;
    static std::string s_dataDir;
    static bool s_started;
};

std::unique_ptr<orvtest::UnixService> ServerNetwork::s_server;
std::string ServerNetwork::s_dataDir;
bool ServerNetwork::s_started = false;

}  // namespace

TEST_F(ServerNetwork, MemberLifeFromSignUpToRemoval) {
    const Member dana = SignUp("Dana", "Levi", "dana.levi@example.com",
                               "Omer,Katz,omer.katz@example.com;Rina,Tal,rina.tal@example.com");
    ASSERT_FALSE(dana.session.empty());
    // Omer was listed by Dana, so his address is still free to sign up with.
    const Member omer = SignUp("Omer", "Katz", "omer.katz@example.com", "Gil,Bar,gil.bar@example.com");
    ASSERT_FALSE(omer.session.empty());
    const CString s = dana.session.c_str();

    const Call login = *m.Last(18);
    EXPECT_EQ(login.text.at(3), "Omer");
    EXPECT_EQ(login.numbers.at(0), 100);  // the server's default banner period
    EXPECT_EQ(login.numbers.at(1), 900);
    EXPECT_EQ(login.text.at(13).rfind("orvane-server/", 0), 0u);

    const Call tree = Ask([&] { m.DoGetTreeCommand(dana.id.c_str(), s); });
    ASSERT_EQ(tree.slot, 14);
    ASSERT_EQ(tree.text.at(0), "0");
    ASSERT_EQ(tree.records.size(), 3u);
    EXPECT_STREQ(tree.records[0].id, dana.id.c_str());
    EXPECT_STREQ(tree.records[1].firstName, "Omer");
    EXPECT_EQ(tree.records[1].isMember, 1);
    EXPECT_STREQ(tree.records[2].firstName, "Rina");
    EXPECT_EQ(tree.records[2].isMember, 0);

    const Call search = Ask([&] { m.DoSearchByCommand("omer;katz", "", s); });
    ASSERT_EQ(search.slot, 10);
    ASSERT_EQ(search.text.at(0), "0");
    ASSERT_EQ(search.records.size(), 1u);
    EXPECT_STREQ(search.records[0].id, omer.id.c_str());

    const Call path = Ask([&] { m.DoSearchPathCommandA("dana.levi@example.com", "gil.bar@example.com", s); });
    ASSERT_EQ(path.slot, 16);
    ASSERT_EQ(path.text.at(0), "0");
    EXPECT_EQ(path.text.at(1), "dana.levi@example.com");
    EXPECT_EQ(path.text.at(3), "2");
    ASSERT_EQ(path.paths.size(), 1u);
    ASSERT_EQ(path.paths[0].size(), 3u);
    EXPECT_STREQ(path.paths[0][0].id, dana.id.c_str());
    EXPECT_STREQ(path.paths[0][1].id, omer.id.c_str());
    EXPECT_STREQ(path.paths[0][2].firstName, "Gil");

    const Call byKeyword = Ask([&] { m.DoSearchPathCommandB(dana.id.c_str(), "katz", s); });
    ASSERT_EQ(byKeyword.slot, 17);
    ASSERT_EQ(byKeyword.text.at(0), "0");
    ASSERT_EQ(byKeyword.paths.size(), 1u);
    ASSERT_EQ(byKeyword.paths[0].size(), 2u);
    EXPECT_STREQ(byKeyword.paths[0][1].id, omer.id.c_str());

    // Contact changes, each seen in the next contact list.
    Call contacts = Ask([&] { m.DoGetContactsCommand(s); });
    ASSERT_EQ(contacts.slot, 12);
    EXPECT_EQ(contacts.text.at(1), "dana.levi@example.com");
    ASSERT_EQ(contacts.records.size(), 2u);
    const ORVCONTACTINFO* rina = Find(contacts.records, "rina.tal@example.com");
    ASSERT_NE(rina, nullptr);
    const std::string rinaId = rina->id.GetString();

    EXPECT_EQ(Ask([&] { m.DoAddContactsCommand(s, "Noa,Ron,noa.ron@example.com"); }).slot, 5);
    EXPECT_EQ(m.Last(5)->text.at(0), "0");
    EXPECT_EQ(Ask([&] { m.DoDropContactsCommand(s, rinaId.c_str()); }).text.at(0), "0");
    EXPECT_EQ(m.Last(4)->text.at(0), "0");
    contacts = Ask([&] { m.DoGetContactsCommand(s); });
    EXPECT_EQ(contacts.records.size(), 2u);
    EXPECT_EQ(Find(contacts.records, "rina.tal@example.com"), nullptr);
    const ORVCONTACTINFO* noa = Find(contacts.records, "noa.ron@example.com");
    ASSERT_NE(noa, nullptr);
    const std::string noaId = noa->id.GetString();

    EXPECT_EQ(Code([&] { m.DoDropAddContactsCommand(s, noaId.c_str(), "Rina,Tal,rina.tal@example.com"); }), "0");
    EXPECT_EQ(m.Last(11)->text.at(0), "0");
    contacts = Ask([&] { m.DoGetContactsCommand(s); });
    rina = Find(contacts.records, "rina.tal@example.com");
    ASSERT_NE(rina, nullptr);
    const std::string listedId = rina->id.GetString();
    EXPECT_EQ(Code([&] { m.DoUpdateContactsCommand(s, (listedId + ",Rinat,Tal-Or").c_str()); }), "0");
    EXPECT_EQ(m.CountOf(8), 1);
    contacts = Ask([&] { m.DoGetContactsCommand(s); });
    rina = Find(contacts.records, "rina.tal@example.com");
    ASSERT_NE(rina, nullptr);
    EXPECT_STREQ(rina->firstName, "Rinat");
    EXPECT_STREQ(rina->lastName, "Tal-Or");
    EXPECT_EQ(Find(contacts.records, "noa.ron@example.com"), nullptr);

    EXPECT_EQ(Code([&] { m.DoUpdateUserCommand("Dana", "Levi-Katz", "Nurse", s, "1", "0"); }), "0");
    EXPECT_EQ(m.CountOf(7), 1);

    // Presence: Dana on line; Omer's chat connection lists her to notify.
    EXPECT_EQ(Code([&] { m.DoUpdateStatusCommand(s, "0"); }), "0");
    EXPECT_EQ(m.CountOf(6), 1);
    const Call online = Ask([&] {
        m.DoUpdateIrcTimeCommand(omer.session.c_str(), ("O" + omer.id).c_str(), "0");
    });
    ASSERT_EQ(online.slot, 15);
    ASSERT_EQ(online.text.at(0), "0");
    ASSERT_EQ(online.records.size(), 1u);
    EXPECT_STREQ(online.records[0].id, dana.id.c_str());

    const Call start = Ask([&] { m.DoGetStartInfoCommand(s); });
    ASSERT_EQ(start.slot, 22);
    EXPECT_EQ(start.text.at(0), "0");
    EXPECT_NE(start.text.at(1).find("<html"), std::string::npos);

    const Call version = Ask([&] { m.DoBeginVersionUpdateCommand(s, "1.0.0"); });
    ASSERT_EQ(version.slot, 19);
    EXPECT_EQ(version.text.at(0), "0");
    EXPECT_EQ(version.text.at(1), "0");

    // The operator's notice rides on Dana's next answer, once.
    ASSERT_TRUE(PostRaw(s_server->Port(), "/admin/v1/notice",
                        R"({"token":"connect-test-token","text":"Back at 5","email":"dana.levi@example.com"})"));
    EXPECT_EQ(Code([&] { m.DoGetTreeCommand(dana.id.c_str(), s); }), "0");
    EXPECT_EQ(m.Notices(), (std::vector<std::string>{"Back at 5"}));
    EXPECT_EQ(m.calls.back().slot, 20);
    EXPECT_EQ(Code([&] { m.DoGetTreeCommand(dana.id.c_str(), s); }), "0");
    EXPECT_EQ(m.Notices().size(), 1u);

    // Log-off ends the session; removal ends the member.
    EXPECT_EQ(Ask([&] { m.DoKillSessionCommand(s); }).slot, 9);
    EXPECT_EQ(m.Last(9)->text.at(0), "0");
    EXPECT_EQ(Code([&] { m.DoGetTreeCommand(dana.id.c_str(), s); }), "3");
    const Call dropped = Ask([&] { m.DoDropUserCommand(omer.session.c_str()); });
    ASSERT_EQ(dropped.slot, 2);
    EXPECT_EQ(dropped.text, (std::vector<std::string>{"0", "omer.katz@example.com"}));
    EXPECT_EQ(Code([&] {
                  m.DoCheckUserCommand("omer.katz@example.com", omer.password.c_str(), "1", "1.0.0");
              }),
              "5");
    m.DoCloseConnectCommander();
    EXPECT_EQ(m.PendingCount(), 0);
    for (const auto& call : m.calls) EXPECT_EQ(call.threadId, GetCurrentThreadId());
}

TEST_F(ServerNetwork, EveryResultCodeReachesTheProgram) {
    const Member lea = SignUp("Lea", "Stern", "lea.stern@example.com", "Ben,Or,ben.or@example.com");
    const Member lone = SignUp("Lone", "Wolf", "lone.wolf@example.com", "");
    ASSERT_FALSE(lea.session.empty());
    ASSERT_FALSE(lone.session.empty());
    const CString s = lea.session.c_str();

    // "1" bad input.
    EXPECT_EQ(Code([&] { m.DoSearchByCommand("ab", "", s); }), "1");
    EXPECT_EQ(Code([&] { m.DoVerifyUserCommand("not-an-address"); }), "1");
    // "2" nothing found.
    EXPECT_EQ(Code([&] { m.DoSearchByCommand("qqqzzzxxy", "", s); }), "2");
    EXPECT_EQ(Code([&] { m.DoGetTreeCommand("999999999", s); }), "2");
    EXPECT_EQ(Code([&] { m.DoChangeEmailCommand("nobody.here@example.com", "new.one@example.com"); }), "2");
    // "3" session unknown.
    EXPECT_EQ(Code([&] { m.DoGetTreeCommand(lea.id.c_str(), "0123456789abcdef0123456789abcdef"); }), "3");
    EXPECT_EQ(Code([&] { m.DoGetContactsCommand("nonsense"); }), "3");
    // "4" refused: the address belongs to a member already.
    EXPECT_EQ(Code([&] {
                  m.DoAddUserCommand("Lea", "Stern", "lea.stern@example.com", "", "0", "0", "");
              }),
              "4");
    // "5" wrong password; registered before.
    EXPECT_EQ(Code([&] { m.DoCheckUserCommand("lea.stern@example.com", "wrong", "1", "1.0.0"); }), "5");
    EXPECT_EQ(Code([&] { m.DoVerifyUserCommand("lea.stern@example.com"); }), "5");
    // "9" too many failed log-ins.
    std::string last;
    for (int i = 0; i < 8 && last != "9"; ++i)
        last = Code([&] { m.DoCheckUserCommand("lone.wolf@example.com", "wrong", "1", "1.0.0"); });
    EXPECT_EQ(last, "9");
    // "10" unknown source, "11" no path, "2" no member matches the keywords.
    EXPECT_EQ(Code([&] { m.DoSearchPathCommandA("nobody.here@example.com", "ben.or@example.com", s); }), "10");
    EXPECT_EQ(Code([&] { m.DoSearchPathCommandA("lea.stern@example.com", "lone.wolf@example.com", s); }), "11");
    EXPECT_EQ(Code([&] { m.DoSearchPathCommandB("lea.stern@example.com", "qqqzzzxxy", s); }), "2");
    EXPECT_EQ(Code([&] { m.DoSearchPathCommandB("nobody.here@example.com", "wolf", s); }), "10");

    // "8": another process holds the database's write lock; the server gives
    // up after its busy time-out.
    orvtest::UnixService lock(
        "orvane-dblock-connect",
        {"python3", "-c",
         "import socket,sqlite3,sys,time\n"
         "c=sqlite3.connect(sys.argv[1],isolation_level=None,timeout=30)\n"
         "c.execute('BEGIN EXCLUSIVE')\n"
         "s=socket.socket()\n"
         "s.bind(('127.0.0.1',int(sys.argv[2])))\n"
         "s.listen(1)\n"
         "time.sleep(300)\n",
         s_dataDir + "/orvane.db", "@PORT@"});
    ASSERT_TRUE(lock.Start()) << lock.Log();
    EXPECT_EQ(Code([&] { m.DoUpdateUserCommand("Lea", "Stern", "Baker", s, "0", "0"); }), "8");
    lock.Stop();
    EXPECT_EQ(Code([&] { m.DoUpdateUserCommand("Lea", "Stern", "Baker", s, "0", "0"); }), "0");

    // Every answer was an answer: no command failed on the way.
    EXPECT_EQ(m.CountOf(1), 0);
    EXPECT_TRUE(m.errors.empty());
}

TEST(ServerGone, CommandsFailWithTheirIdsOnceTheServerStops) {
    const std::string dataDir = orvtest::Env("ORV_SERVICE_DIR") + "/" + UniqueName("connect-gone");
    orvtest::UnixService server("orvane-server-connect-gone",
                                {ServerBinary(), "--port", "@PORT@", "--data", dataDir});
    ASSERT_TRUE(server.Start()) << server.Log();
    Recorder m;
    m.SetUrl(("http://127.0.0.1:" + std::to_string(server.Port())).c_str());
    m.SetTimeouts(5000, 5000);
    // A first answer keeps a connection alive to the server.
    m.DoVerifyUserCommand("gone.user@example.com");
    ASSERT_TRUE(m.WaitAnswers(1));
    ASSERT_EQ(m.calls.at(0).slot, 21);
    ASSERT_TRUE(server.Stop());

    m.DoCheckUserCommand("gone.user@example.com", "pw", "1", "1.0.0");
    m.DoVerifyUserCommand("gone.user@example.com");
    m.DoAddUserCommand("Gone", "User", "gone.user@example.com", "", "0", "0", "");
    m.DoGetTreeCommand("1", "S");
    m.DoUpdateIrcTimeCommand("S", "O1", "0");
    m.DoKillSessionCommand("S");
    ASSERT_TRUE(m.WaitAnswers(7));
    ASSERT_TRUE(m.WaitIdle());
    ASSERT_EQ(m.AnswerCount(), 7);
    std::vector<std::string> ids;
    for (size_t i = 1; i < m.calls.size(); ++i) {
        EXPECT_EQ(m.calls[i].slot, 1);
        ids.push_back(m.calls[i].text.at(0));
    }
    std::sort(ids.begin(), ids.end());
    EXPECT_EQ(ids, (std::vector<std::string>{"11", "18", "23", "25", "27", "4"}));
    RemoveDataDir(dataDir);
}
