#pragma once
// Helpers of the connect.dll tests: a manager that records every call it
// receives, a message pump, and a tiny HTTP server that answers crafted bytes.
#include "OrvConnectManager.h"
#include "TestSupport.h"

#include "CConditionVariable.h"
#include "CCriticalSection.h"
#include "CEvent.h"
#include "CSocketHandle.h"
#include "CWinsockStartup.h"

#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace connecttest {

// How long a test waits for an event before it counts as missing.
const DWORD kGenerousMs = 60000;

// One call of an answer operation, with copies of everything it received.
struct Call {
    int slot = 0;  // the answer operation's number, 1..22 (its vtable slot - 1)
    std::vector<std::string> text;
    std::vector<int> numbers;
    std::vector<ORVCONTACTINFO> records;
    std::vector<std::vector<ORVCONTACTINFO>> paths;
    DWORD threadId = 0;
};

class Recorder : public OrvConnectManager {
public:
    std::vector<Call> calls;      // every answer operation, in order
    std::vector<long> errors;     // OnConnectError
    std::vector<unsigned> received;  // OnDataReceive command ids
    // The answer operation with this number throws once it recorded its call.
    int throwAtSlot = 0;
    // Answer calls other than OnServerNotice.
    int AnswerCount() const;
    const Call* Last(int slot) const;
    int CountOf(int slot) const;
    std::vector<std::string> Notices() const;
    // Pumps messages until count answers arrived; false on time-out.
    bool WaitAnswers(int count, DWORD timeoutMs = kGenerousMs);
    // Pumps messages until every request sent has been answered (its answer
    // operation and the notices after it have returned); false on time-out.
    bool WaitIdle(DWORD timeoutMs = kGenerousMs);

protected:
    void OnDataReceive(unsigned commandId, long length) override;
    void OnConnectError(long error) override;
    void OnCommandFailed(CString commandId) override;
    void OnValueAnswer(CString code, CString value) override;
    void OnAddUserAnswer(CString code) override;
    void OnDropContactsAnswer(CString code) override;
    void OnAddContactsAnswer(CString code) override;
    void OnPlainAnswerA(CString code) override;
    void OnUpdateUserAnswer(CString code) override;
    void OnUpdateContactsAnswer(CString code) override;
    void OnPlainAnswerB(CString code) override;
    void OnSearchAnswer(CString code, int count, ORVCONTACTINFO* records) override;
    void OnDropAddContactsAnswer(CString code) override;
    void OnGetContactsAnswer(CString code, CString email, int count,
                             ORVCONTACTINFO* records) override;
    void OnChangeEmailAnswer(CString code) override;
    void OnTreeAnswer(CString code, int count, ORVCONTACTINFO* records) override;
    void OnOnlineContactsAnswer(CString code, int count, ORVCONTACTINFO* records) override;
    void OnSearchPathAnswer(CString code, CString sourceEmail, CString destination, CString hops,
                            int pathCount, ORVPATHINFO* paths) override;
    void OnSearchPathByKeywordAnswer(CString code, int pathCount, ORVPATHINFO* paths) override;
    void OnLogInAnswer(CString code, CString memberId, CString key, CString firstName,
                       CString lastName, CString occupation, CString sessionId, int bannerPeriod,
                       CString panelUrl1, CString chatServer, CString chatPort, CString chatDelay,
                       CString panelUrl2, CString chatPingRate, int idleLimit, int reserved,
                       CString serverInfo) override;
    void OnVersionAnswer(CString code, CString action, CString arg1, CString arg2) override;
    void OnServerNotice(CString text) override;
    void OnVerifyUserAnswer(CString code, CString password, CString key) override;
    void OnStartInfoAnswer(CString code, CString page) override;

private:
    Call& Add(int slot, std::vector<std::string> text);
};

using orvtest::PumpPending;
using orvtest::PumpUntil;

// Opens when released or destroyed: crafted responders wait on it to hold a
// request in flight for exactly as long as a test needs.
class Gate {
public:
    Gate() : m_open(std::make_shared<CEvent>(true)) {}
    ~Gate() { Open(); }
    Gate(const Gate&) = delete;
    Gate& operator=(const Gate&) = delete;
    void Open() { m_open->Set(); }
    // For the responder: shares the event, so it outlives the gate.
    std::shared_ptr<CEvent> Event() const { return m_open; }

private:
    std::shared_ptr<CEvent> m_open;
};

// "HTTP/1.1 200 OK" with a JSON body and its length.
std::string HttpOk(const std::string& body);
std::string HttpStatus(int status, const std::string& body);

// A loopback HTTP/1.1 server on a free port, one thread per connection. The
// responder returns the raw bytes to send; kClose closes the connection
// without answering, kHang keeps it open and silent until Stop.
class CraftedServer {
public:
    struct Request {
        std::string method;
        std::string path;
        std::string body;
    };
    using Responder = std::function<std::string(const Request&)>;
    static const char* const kClose;
    static const char* const kHang;

    explicit CraftedServer(Responder responder);
    ~CraftedServer();
    CraftedServer(const CraftedServer&) = delete;
    CraftedServer& operator=(const CraftedServer&) = delete;

    int Port() const { return m_port; }
    std::string Url() const;
    std::vector<Request> Requests() const;
    size_t RequestCount() const;
    void Stop();

private:
    void AcceptLoop();
    void Serve(SOCKET client);
    bool Stopping() const;

    Responder m_responder;
    CWinsockStartup m_winsock;
    CSocketHandle m_listener;
    int m_port = 0;
    mutable CCriticalSection m_lock;
    CConditionVariable m_stopped;
    bool m_stopping = false;
    std::vector<Request> m_requests;
    std::thread m_acceptThread;
    std::vector<std::thread> m_connections;
};

}  // namespace connecttest
