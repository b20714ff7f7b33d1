#pragma once
// One worker's HTTP client: a WinHTTP session with at most one open
// connection (kept alive between requests to the same server) and the
// request in flight, which another thread may cancel.
#include "WinHttpHandle.h"

#include <mutex>
#include <string>

struct OrvHttpResult_t {
    bool ok = false;     // a complete answer with a status line arrived
    DWORD error = 0;     // !ok: the Win32/WinHTTP error
    DWORD status = 0;    // ok: the HTTP status
    std::string body;
    bool tooLarge = false;  // the body exceeded the limit and was not read to the end
};

class OrvHttpClient {
public:
    OrvHttpClient() = default;
    OrvHttpClient(const OrvHttpClient&) = delete;
    OrvHttpClient& operator=(const OrvHttpClient&) = delete;

    // POSTs body as JSON to baseUrl + "/api/v1/" + name.
    OrvHttpResult_t Post(const std::wstring& baseUrl, const char* name, const std::string& body,
                         int connectMs, int receiveMs, size_t maxBody);

    // From any thread: aborts the request in flight and refuses later ones.
    void Cancel();
    // Drops the kept-alive connection and the session.
    void Close();

private:
    bool Connect(const std::wstring& host, INTERNET_PORT port, DWORD& error);
    // The request in flight, registered so that Cancel can close it.
    bool Register(HINTERNET request);
    // Ends the registration; a request Cancel closed meanwhile is only released.
    void Unregister(WinHttpHandle& request);

    WinHttpHandle m_session;
    WinHttpHandle m_connection;
    std::wstring m_host;
    INTERNET_PORT m_port = 0;
    DWORD m_lastUse = 0;

    std::mutex m_mutex;
    HINTERNET m_active = nullptr;
    bool m_activeClosed = false;
    bool m_cancelled = false;
};
