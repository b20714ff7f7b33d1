#include "ConnectTestSupport.h"

#include <ws2tcpip.h>

#include <cstdlib>
#include <stdexcept>

namespace connecttest {

namespace {

std::string S(const CString& text) { return std::string(text.GetString(), text.GetLength()); }

std::vector<ORVCONTACTINFO> Copy(int count, const ORVCONTACTINFO* records) {
    std::vector<ORVCONTACTINFO> copy;
    for (int i = 0; i < count; ++i) copy.push_back(records[i]);
    return copy;
}

}  // namespace

int Recorder::AnswerCount() const {
    int count = 0;
    for (const Call& call : calls)
        if (call.slot != 20) ++count;
    return count;
}

const Call* Recorder::Last(int slot) const {
    for (auto it = calls.rbegin(); it != calls.rend(); ++it)
        if (it->slot == slot) return &*it;
    return nullptr;
}

int Recorder::CountOf(int slot) const {
    int count = 0;
    for (const Call& call : calls)
        if (call.slot == slot) ++count;
    return count;
}

std::vector<std::string> Recorder::Notices() const {
    std::vector<std::string> notices;
    for (const Call& call : calls)
        if (call.slot == 20) notices.push_back(call.text.at(0));
    return notices;
}

bool Recorder::WaitAnswers(int count, DWORD timeoutMs) {
    return PumpUntil([&] { return AnswerCount() >= count; }, timeoutMs);
}

bool Recorder::WaitIdle(DWORD timeoutMs) {
    return PumpUntil([&] { return PendingCount() == 0; }, timeoutMs);
}

Call& Recorder::Add(int slot, std::vector<std::string> text) {
    Call call;
    call.slot = slot;
    call.text = std::move(text);
    call.threadId = GetCurrentThreadId();
    calls.push_back(std::move(call));
    if (slot == throwAtSlot) throw std::runtime_error("recorder told to fail");
    return calls.back();
}

void Recorder::OnDataReceive(unsigned commandId, long) { received.push_back(commandId); }
void Recorder::OnConnectError(long error) { errors.push_back(error); }
void Recorder::OnCommandFailed(CString id) { Add(1, {S(id)}); }
void Recorder::OnValueAnswer(CString code, CString value) { Add(2, {S(code), S(value)}); }
void Recorder::OnAddUserAnswer(CString code) { Add(3, {S(code)}); }
void Recorder::OnDropContactsAnswer(CString code) { Add(4, {S(code)}); }
void Recorder::OnAddContactsAnswer(CString code) { Add(5, {S(code)}); }
void Recorder::OnPlainAnswerA(CString code) { Add(6, {S(code)}); }
void Recorder::OnUpdateUserAnswer(CString code) { Add(7, {S(code)}); }
void Recorder::OnUpdateContactsAnswer(CString code) { Add(8, {S(code)}); }
void Recorder::OnPlainAnswerB(CString code) { Add(9, {S(code)}); }
void Recorder::OnSearchAnswer(CString code, int count, ORVCONTACTINFO* records) {
    Add(10, {S(code)}).records = Copy(count, records);
}
void Recorder::OnDropAddContactsAnswer(CString code) { Add(11, {S(code)}); }
void Recorder::OnGetContactsAnswer(CString code, CString email, int count,
                                   ORVCONTACTINFO* records) {
    Add(12, {S(code), S(email)}).records = Copy(count, records);
}
void Recorder::OnChangeEmailAnswer(CString code) { Add(13, {S(code)}); }
void Recorder::OnTreeAnswer(CString code, int count, ORVCONTACTINFO* records) {
    Add(14, {S(code)}).records = Copy(count, records);
}
void Recorder::OnOnlineContactsAnswer(CString code, int count, ORVCONTACTINFO* records) {
    Add(15, {S(code)}).records = Copy(count, records);
}
void Recorder::OnSearchPathAnswer(CString code, CString sourceEmail, CString destination,
                                  CString hops, int pathCount, ORVPATHINFO* paths) {
    Call& call = Add(16, {S(code), S(sourceEmail), S(destination), S(hops)});
    for (int i = 0; i < pathCount; ++i) call.paths.push_back(Copy(paths[i].count, paths[i].nodes));
}
void Recorder::OnSearchPathByKeywordAnswer(CString code, int pathCount, ORVPATHINFO* paths) {
    Call& call = Add(17, {S(code)});
    for (int i = 0; i < pathCount; ++i) call.paths.push_back(Copy(paths[i].count, paths[i].nodes));
}
void Recorder::OnLogInAnswer(CString code, CString memberId, CString key, CString firstName,
                             CString lastName, CString occupation, CString sessionId,
                             int bannerPeriod, CString panelUrl1, CString chatServer,
                             CString chatPort, CString chatDelay, CString panelUrl2,
                             CString chatPingRate, int idleLimit, int reserved,
                             CString serverInfo) {
    Call& call = Add(18, {S(code), S(memberId), S(key), S(firstName), S(lastName), S(occupation),
                          S(sessionId), S(panelUrl1), S(chatServer), S(chatPort), S(chatDelay),
                          S(panelUrl2), S(chatPingRate), S(serverInfo)});
    call.numbers = {bannerPeriod, idleLimit, reserved};
}
void Recorder::OnVersionAnswer(CString code, CString action, CString arg1, CString arg2) {
    Add(19, {S(code), S(action), S(arg1), S(arg2)});
}
void Recorder::OnServerNotice(CString text) { Add(20, {S(text)}); }
void Recorder::OnVerifyUserAnswer(CString code, CString password, CString key) {
    Add(21, {S(code), S(password), S(key)});
}
void Recorder::OnStartInfoAnswer(CString code, CString page) { Add(22, {S(code), S(page)}); }


std::string HttpStatus(int status, const std::string& body) {
    return "HTTP/1.1 " + std::to_string(status) + " Crafted\r\n" +
           "Content-Type: application/json; charset=utf-8\r\nContent-Length: " +
           std::to_string(body.size()) + "\r\n\r\n" + body;
}

std::string HttpOk(const std::string& body) { return HttpStatus(200, body); }

const char* const CraftedServer::kClose = "\x01close";
const char* const CraftedServer::kHang = "\x01hang";

CraftedServer::CraftedServer(Responder responder) : m_responder(std::move(responder)) {
    m_listener.Reset(socket(AF_INET, SOCK_STREAM, IPPROTO_TCP));
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (bind(m_listener.Get(), reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) return;
    if (listen(m_listener.Get(), SOMAXCONN) != 0) return;
    int size = sizeof address;
    getsockname(m_listener.Get(), reinterpret_cast<sockaddr*>(&address), &size);
    m_port = ntohs(address.sin_port);
    m_acceptThread = std::thread(&CraftedServer::AcceptLoop, this);
}

CraftedServer::~CraftedServer() { Stop(); }

std::string CraftedServer::Url() const { return "http://127.0.0.1:" + std::to_string(m_port); }

std::vector<CraftedServer::Request> CraftedServer::Requests() const {
    CSingleLock lock(m_lock);
    return m_requests;
}

size_t CraftedServer::RequestCount() const {
    CSingleLock lock(m_lock);
    return m_requests.size();
}

bool CraftedServer::Stopping() const {
    CSingleLock lock(m_lock);
    return m_stopping;
}

void CraftedServer::Stop() {
    {
        CSingleLock lock(m_lock);
        m_stopping = true;
    }
    m_stopped.WakeAll();
    if (m_acceptThread.joinable()) m_acceptThread.join();
    std::vector<std::thread> connections;
    {
        CSingleLock lock(m_lock);
        connections.swap(m_connections);
    }
    for (std::thread& t : connections) t.join();
    m_listener.Reset();
}

void CraftedServer::AcceptLoop() {
    while (!Stopping()) {
        fd_set readable;
        FD_ZERO(&readable);
        FD_SET(m_listener.Get(), &readable);
        timeval wait{0, 50000};
        if (select(0, &readable, nullptr, nullptr, &wait) <= 0) continue;
        SOCKET client = accept(m_listener.Get(), nullptr, nullptr);
        if (client == INVALID_SOCKET) continue;
        CSingleLock lock(m_lock);
        m_connections.emplace_back(&CraftedServer::Serve, this, client);
    }
}

void CraftedServer::Serve(SOCKET rawClient) {
    CSocketHandle client(rawClient);
    std::string buffer;
    // Requests on this connection, one after another (keep-alive).
    while (!Stopping()) {
        size_t headerEnd;
        while ((headerEnd = buffer.find("\r\n\r\n")) == std::string::npos) {
            fd_set readable;
            FD_ZERO(&readable);
            FD_SET(client.Get(), &readable);
            timeval wait{0, 50000};
            const int ready = select(0, &readable, nullptr, nullptr, &wait);
            if (Stopping()) return;
            if (ready <= 0) continue;
            char chunk[4096];
            const int got = recv(client.Get(), chunk, sizeof chunk, 0);
            if (got <= 0) return;
            buffer.append(chunk, static_cast<size_t>(got));
        }
        const std::string head = buffer.substr(0, headerEnd);
        size_t length = 0;
        for (size_t at = 0; at < head.size();) {
            size_t eol = head.find("\r\n", at);
            if (eol == std::string::npos) eol = head.size();
            std::string line = head.substr(at, eol - at);
            for (char& c : line) c = static_cast<char>(tolower(static_cast<unsigned char>(c)));
            if (line.rfind("content-length:", 0) == 0)
                length = static_cast<size_t>(std::strtoul(line.c_str() + 15, nullptr, 10));
            at = eol + 2;
        }
        while (buffer.size() < headerEnd + 4 + length) {
            char chunk[4096];
            const int got = recv(client.Get(), chunk, sizeof chunk, 0);
            if (got <= 0) return;
            buffer.append(chunk, static_cast<size_t>(got));
        }
        Request request;
        const size_t firstSpace = head.find(' ');
        const size_t secondSpace = head.find(' ', firstSpace + 1);
        request.method = head.substr(0, firstSpace);
        request.path = head.substr(firstSpace + 1, secondSpace - firstSpace - 1);
        request.body = buffer.substr(headerEnd + 4, length);
        buffer.erase(0, headerEnd + 4 + length);
        {
            CSingleLock lock(m_lock);
            m_requests.push_back(request);
        }
        const std::string answer = m_responder(request);
        if (answer == kClose) return;
        if (answer == kHang) {
            CSingleLock lock(m_lock);
            m_stopped.Wait(lock, [this] { return m_stopping; });
            return;
        }
        size_t sent = 0;
        while (sent < answer.size()) {
            const int n = send(client.Get(), answer.data() + sent,
                               static_cast<int>(answer.size() - sent), 0);
            if (n <= 0) return;
            sent += static_cast<size_t>(n);
        }
    }
}

}  // namespace connecttest
