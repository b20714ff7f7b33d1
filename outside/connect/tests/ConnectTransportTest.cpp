// The transport: unreachable and silent servers, many requests in flight,
// requests from other threads, destruction mid-request, closing, keep-alive.
#include "ConnectTestSupport.h"

#include <winhttp.h>

#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <thread>
#include <map>
#include <set>

using connecttest::CraftedServer;
using connecttest::Gate;
using connecttest::HttpOk;
using connecttest::kGenerousMs;
using connecttest::PumpPending;
using connecttest::PumpUntil;
using connecttest::Recorder;

namespace {

// A loopback port where nothing listens.
int ClosedPort() {
    CWinsockStartup winsock;
    CSocketHandle s(socket(AF_INET, SOCK_STREAM, IPPROTO_TCP));
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    bind(s.Get(), reinterpret_cast<sockaddr*>(&address), sizeof address);
    int size = sizeof address;
    getsockname(s.Get(), reinterpret_cast<sockaddr*>(&address), &size);
    return ntohs(address.sin_port);
}

std::string Echo(const CraftedServer::Request& request) {
    // Answers with the request's body as the page of a start-info answer,
    // so every answer names its request.
    std::string escaped;
    for (char c : request.body) {
        if (c == '"' || c == '\\') escaped += '\\';
        escaped += c;
    }
    return HttpOk(R"({"code":"0","page":")" + escaped + R"(","records":[]})");
}

}  // namespace

TEST(ConnectTransport, UnreachableServerFailsEachCommandWithItsId) {
    Recorder m;
    m.SetUrl(("http://127.0.0.1:" + std::to_string(ClosedPort())).c_str());
    m.SetTimeouts(3000, 3000);
    m.DoCheckUserCommand("a@b.com", "pw", "1", "1.0");
    m.DoVerifyUserCommand("a@b.com");
    m.DoAddUserCommand("A", "B", "a@b.com", "", "0", "0", "");
    m.DoGetTreeCommand("1", "S");
    m.DoUpdateIrcTimeCommand("S", "O1", "0");
    ASSERT_TRUE(m.WaitAnswers(5));
    ASSERT_TRUE(m.WaitIdle());
    ASSERT_EQ(m.AnswerCount(), 5);
    std::multiset<std::string> ids;
    for (const auto& call : m.calls) {
        EXPECT_EQ(call.slot, 1);
        ids.insert(call.text.at(0));
    }
    EXPECT_EQ(ids, (std::multiset<std::string>{"25", "27", "11", "23", "18"}));
    ASSERT_EQ(m.errors.size(), 5u);
    for (long error : m.errors) EXPECT_NE(error, 0);
    EXPECT_EQ(m.PendingCount(), 0);
}

TEST(ConnectTransport, AddressesThatCannotBeUsedFailTheCommand) {
    for (const char* url : {"", "ftp://127.0.0.1:21", "http://", "not an address", "http://:80"}) {
        SCOPED_TRACE(url);
        Recorder m;
        m.SetUrl(url);
        m.SetTimeouts(2000, 2000);
        m.DoSearchByCommand("abc", "", "S");
        ASSERT_TRUE(m.WaitAnswers(1));
        ASSERT_TRUE(m.WaitIdle());
        ASSERT_EQ(m.calls.size(), 1u);
        EXPECT_EQ(m.calls[0].slot, 1);
        EXPECT_EQ(m.calls[0].text.at(0), "29");
    }
}

TEST(ConnectTransport, ServerThatClosesOrKeepsSilentFailsTheCommand) {
    CraftedServer closer([](const CraftedServer::Request&) { return CraftedServer::kClose; });
    Recorder m;
    m.SetUrl(closer.Url().c_str());
    m.DoSearchPathCommandA("a@b.com", "c@d.com", "S");
    ASSERT_TRUE(m.WaitAnswers(1));
    EXPECT_EQ(m.calls.at(0).slot, 1);
    EXPECT_EQ(m.calls.at(0).text.at(0), "28");

    // A silent server: the receive time-out set ends the wait. A manager on
    // the default time-out, asked first, is still waiting when it does.
    CraftedServer silent([](const CraftedServer::Request&) { return CraftedServer::kHang; });
    Recorder patient;
    patient.SetUrl(silent.Url().c_str());
    patient.DoSearchPathCommandB("a@b.com", "nurse", "S");
    ASSERT_TRUE(PumpUntil([&] { return silent.RequestCount() == 1; }, kGenerousMs));
    Recorder n;
    n.SetUrl(silent.Url().c_str());
    n.SetTimeouts(2000, 1500);
    n.DoSearchPathCommandB("a@b.com", "nurse", "S");
    ASSERT_TRUE(n.WaitAnswers(1, 2 * kGenerousMs));
    EXPECT_EQ(patient.PendingCount(), 1) << "the time-out set ended it, not the default one";
    EXPECT_EQ(n.calls.at(0).slot, 1);
    EXPECT_EQ(n.calls.at(0).text.at(0), "24");
    ASSERT_EQ(n.errors.size(), 1u);
    // Wine's WinHTTP passes the socket's own time-out on.
    EXPECT_TRUE(n.errors[0] == ERROR_WINHTTP_TIMEOUT || n.errors[0] == WSAETIMEDOUT) << n.errors[0];
    silent.Stop();
}

TEST(ConnectTransport, ServerStoppedMidRequestFailsTheCommandAtOnce) {
    CraftedServer server([](const CraftedServer::Request&) { return CraftedServer::kHang; });
    Recorder m;
    m.SetUrl(server.Url().c_str());
    // A receive time-out far beyond any wait of this test: only the closed
    // connection can end the requests in time.
    m.SetTimeouts(5000, 20 * kGenerousMs);
    m.DoCheckUserCommand("a@b.com", "pw", "1", "1.0");
    m.DoGetTreeCommand("1", "S");
    ASSERT_TRUE(PumpUntil([&] { return server.RequestCount() == 2; }, kGenerousMs));
    PumpPending();
    EXPECT_EQ(m.AnswerCount(), 0) << "the server has not answered";
    // The listener goes away without a word: the connections close.
    server.Stop();
    ASSERT_TRUE(m.WaitAnswers(2, kGenerousMs));
    ASSERT_TRUE(m.WaitIdle());
    ASSERT_EQ(m.AnswerCount(), 2);
    std::multiset<std::string> ids;
    for (const auto& call : m.calls) {
        EXPECT_EQ(call.slot, 1);
        ids.insert(call.text.at(0));
    }
    EXPECT_EQ(ids, (std::multiset<std::string>{"23", "25"}));
}

TEST(ConnectTransport, ManyRequestsInFlightAreEachAnsweredOnce) {
    std::atomic<int> served{0};
    CraftedServer server([&](const CraftedServer::Request& request) {
        Sleep(static_cast<DWORD>((served.fetch_add(1) * 7) % 40));
        return Echo(request);
    });
    Recorder m;
    m.SetUrl(server.Url().c_str());
    const int kCount = 80;
    // Half from this thread, half from two other threads, as the main
    // frame's workers send too.
    for (int i = 0; i < kCount / 2; ++i) m.DoGetStartInfoCommand(std::to_string(i).c_str());
    auto sendFrom = [&m](int first, int last) {
        for (int i = first; i < last; ++i) m.DoGetStartInfoCommand(std::to_string(i).c_str());
    };
    std::thread a(sendFrom, kCount / 2, kCount * 3 / 4);
    std::thread b(sendFrom, kCount * 3 / 4, kCount);
    a.join();
    b.join();
    ASSERT_TRUE(m.WaitAnswers(kCount)) << m.AnswerCount();
    ASSERT_TRUE(m.WaitIdle());
    ASSERT_EQ(m.AnswerCount(), kCount);
    EXPECT_EQ(m.PendingCount(), 0);
    std::map<std::string, int> seen;
    for (const auto& call : m.calls) {
        ASSERT_EQ(call.slot, 22);
        EXPECT_EQ(call.threadId, GetCurrentThreadId());
        ++seen[call.text.at(1)];
    }
    ASSERT_EQ(seen.size(), static_cast<size_t>(kCount));
    for (int i = 0; i < kCount; ++i)
        EXPECT_EQ(seen[R"({"session":")" + std::to_string(i) + R"("})"], 1) << i;
}

TEST(ConnectTransport, DestructionWithRequestsInFlightDoesNotWaitForTheServer) {
    CraftedServer silent([](const CraftedServer::Request&) { return CraftedServer::kHang; });
    // The manager lives on a thread of its own, so that this one can see its
    // destruction end while the server still keeps silent.
    CEvent destroyed(true);
    int pendingBefore = -1;
    std::thread owner([&] {
        auto m = std::make_unique<Recorder>();
        m->SetUrl(silent.Url().c_str());
        m->SetTimeouts(5000, 20 * kGenerousMs);  // a receive time-out no test waits for
        for (int i = 0; i < 10; ++i) m->DoGetTreeCommand("1", "S");
        PumpUntil([&] { return silent.RequestCount() >= 4; }, kGenerousMs);
        pendingBefore = m->PendingCount();
        m.reset();
        destroyed.Set();
    });
    const bool ended = destroyed.Wait(kGenerousMs);
    silent.Stop();  // frees workers that might still hang on the server
    owner.join();
    EXPECT_TRUE(ended) << "destruction waited for the silent server";
    EXPECT_EQ(pendingBefore, 10);
}

TEST(ConnectTransport, ClosingAnswersWhatIsInFlightAndAllowsMore) {
    Gate gate;
    const auto open = gate.Event();
    CraftedServer server([open](const CraftedServer::Request& request) {
        open->Wait(kGenerousMs);
        return Echo(request);
    });
    Recorder m;
    m.SetUrl(server.Url().c_str());
    m.DoGetStartInfoCommand("1");
    m.DoGetStartInfoCommand("2");
    ASSERT_TRUE(PumpUntil([&] { return server.RequestCount() == 2; }, kGenerousMs))
        << "both requests in flight";
    m.DoCloseConnectCommander();
    gate.Open();
    ASSERT_TRUE(m.WaitAnswers(2));
    ASSERT_TRUE(m.WaitIdle());
    EXPECT_EQ(m.CountOf(22), 2);
    m.DoGetStartInfoCommand("3");
    ASSERT_TRUE(m.WaitAnswers(3));
    EXPECT_EQ(m.CountOf(22), 3);
    EXPECT_EQ(m.Last(22)->text.at(1), R"({"session":"3"})");
}

TEST(ConnectTransport, KeepAlivePollsTheOpenSessionAndBringsNotices) {
    std::atomic<int> polls{0}, controlPolls{0}, strayPolls{0};
    CraftedServer server([&](const CraftedServer::Request& request) {
        if (request.path == "/api/v1/check-user") {
            if (request.body.find("control@") != std::string::npos)
                return HttpOk(R"({"code":"0","memberId":"6","sessionId":"control"})");
            return HttpOk(R"({"code":"0","memberId":"5","sessionId":"feed"})");
        }
        if (request.path == "/api/v1/poll") {
            if (request.body == R"({"session":"control"})") {
                ++controlPolls;
                return HttpOk(R"({"code":"0"})");
            }
            if (request.body != R"({"session":"feed"})") {
                ++strayPolls;
                return HttpOk(R"({"code":"0"})");
            }
            const int n = polls.fetch_add(1);
            if (n == 0) return HttpOk(R"({"code":"0","notices":["maintenance at noon"]})");
            if (n == 2) return HttpOk(R"({"code":"3"})");
            return HttpOk(R"({"code":"0"})");
        }
        return HttpOk(R"({"code":"0"})");
    });
    // A second manager keeps a session of its own alive on the same thread
    // and period: each of its polls shows that the keep-alive timers had
    // their turn, which is the event a "no poll" check waits for.
    Recorder control;
    control.SetUrl(server.Url().c_str());
    control.SetKeepAliveInterval(150);
    control.DoCheckUserCommand("control@b.com", "pw", "1", "1.0");
    ASSERT_TRUE(control.WaitAnswers(1));
    auto controlPolled = [&](int more) {
        const int target = controlPolls.load() + more;
        return PumpUntil([&] { return controlPolls.load() >= target; }, kGenerousMs);
    };

    Recorder m;
    m.SetUrl(server.Url().c_str());
    m.SetKeepAliveInterval(150);
    // No session yet: nothing to keep alive.
    ASSERT_TRUE(controlPolled(3));
    EXPECT_EQ(polls.load(), 0);
    EXPECT_EQ(strayPolls.load(), 0);

    m.DoCheckUserCommand("a@b.com", "pw", "1", "1.0");
    ASSERT_TRUE(m.WaitAnswers(1));
    // One poll at a time: the third one went out once the first two were in.
    ASSERT_TRUE(PumpUntil([&] { return polls.load() >= 3; }, kGenerousMs));
    const auto notices = m.Notices();
    ASSERT_EQ(notices.size(), 1u);
    EXPECT_EQ(notices[0], "maintenance at noon");
    // The poll is nobody's request: only the log-in was answered.
    EXPECT_EQ(m.AnswerCount(), 1);
    // "3": the session is gone, polling stops.
    ASSERT_TRUE(controlPolled(3));
    EXPECT_EQ(polls.load(), 3);

    // A new session is polled until it is killed.
    m.DoCheckUserCommand("a@b.com", "pw", "1", "1.0");
    ASSERT_TRUE(m.WaitAnswers(2));
    ASSERT_TRUE(PumpUntil([&] { return polls.load() >= 4; }, kGenerousMs));
    m.DoKillSessionCommand("feed");
    ASSERT_TRUE(m.WaitAnswers(3));
    ASSERT_TRUE(controlPolled(3));  // a poll already on its way lands meanwhile
    const int after = polls.load();
    ASSERT_TRUE(controlPolled(3));
    EXPECT_EQ(polls.load(), after);
    EXPECT_EQ(strayPolls.load(), 0);
    EXPECT_EQ(m.AnswerCount(), 3);
}

TEST(ConnectTransport, HttpsAddressesSpeakTls) {
    // A listener that takes the first bytes the client sends, then hangs up.
    CWinsockStartup winsock;
    CSocketHandle listener(socket(AF_INET, SOCK_STREAM, IPPROTO_TCP));
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ASSERT_EQ(bind(listener.Get(), reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    ASSERT_EQ(listen(listener.Get(), 4), 0);
    int size = sizeof address;
    getsockname(listener.Get(), reinterpret_cast<sockaddr*>(&address), &size);
    std::string first;
    std::thread peer([&] {
        CSocketHandle client(accept(listener.Get(), nullptr, nullptr));
        char buffer[512];
        const int got = recv(client.Get(), buffer, sizeof buffer, 0);
        if (got > 0) first.assign(buffer, static_cast<size_t>(got));
    });
    Recorder m;
    m.SetUrl(("https://127.0.0.1:" + std::to_string(ntohs(address.sin_port))).c_str());
    m.SetTimeouts(3000, 3000);
    m.DoGetStartInfoCommand("S");
    ASSERT_TRUE(m.WaitAnswers(1));
    peer.join();
    ASSERT_TRUE(m.WaitIdle());
    // A TLS handshake record, never plain text; and no certificate, no answer.
    ASSERT_FALSE(first.empty());
    EXPECT_EQ(static_cast<unsigned char>(first[0]), 0x16);
    EXPECT_EQ(first.find("POST"), std::string::npos);
    ASSERT_EQ(m.AnswerCount(), 1);
    EXPECT_EQ(m.calls[0].slot, 1);
    EXPECT_EQ(m.calls[0].text.at(0), "22");
}

namespace {

// Ends itself in its first answer, as an owner closing on an error might.
class SelfEnding : public OrvConnectManager {
public:
    explicit SelfEnding(int& calls) : m_calls(calls) {}

protected:
    void OnTreeAnswer(CString, int, ORVCONTACTINFO*) override {
        ++m_calls;
        delete this;
    }
    void OnServerNotice(CString) override { ++m_calls; }

private:
    int& m_calls;
};

}  // namespace

TEST(ConnectTransport, ManagerDestroyedInsideItsAnswerHearsNothingMore) {
    CraftedServer server([](const CraftedServer::Request&) {
        return HttpOk(R"({"code":"0","records":[],"notices":["one","two"]})");
    });
    int calls = 0;
    auto* m = new SelfEnding(calls);
    m->SetUrl(server.Url().c_str());
    m->DoGetTreeCommand("1", "S");
    m->DoGetTreeCommand("2", "S");
    ASSERT_TRUE(PumpUntil([&] { return calls > 0; }, kGenerousMs));
    // The manager died inside that call, and took its window and workers
    // along: whatever was queued then is dispatched now, to nobody.
    PumpPending();
    // One answer, then nothing: neither its notices nor the second answer.
    EXPECT_EQ(calls, 1);
}
